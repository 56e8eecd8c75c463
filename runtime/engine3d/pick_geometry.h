// The swept-sphere test of one object by the number of its geometry, shared by picks
// (pick geometry) and collisions (collision method).
#pragma once

#include <cstdint>

#include "runtime/engine3d/math3d.h"

namespace tarsk {

class ObjectEntity;
struct SweptSphere;
struct CollisionRecord;

// 1 the sphere of the collision x radius around placement's position, 2 the object's
// own geometry, 3 its collision box in placement's frame with the scale dropped; any
// other value never hits. True when a contact was accepted into record.
bool sweepObjectGeometry(ObjectEntity& object, int32_t geometry, const math3d::Transform& placement,
                         const SweptSphere& line, CollisionRecord& record);

}  // namespace tarsk
