// The primitive shapes: cube, sphere, cylinder and cone, built into empty geometry.
#pragma once

#include <cstdint>

#include "runtime/engine3d/mesh.h"

namespace tarsk {

// One surface spanning -1 to +1 on each axis, four vertices a face.
void buildCube(MeshGeometry& geometry);
// Radius 1, 2 to 100 segments.
void buildSphere(MeshGeometry& geometry, int32_t segments);
// Radius 1, y from -1 to 1, 3 to 100 segments; a second surface of caps when solid.
void buildCylinder(MeshGeometry& geometry, int32_t segments, bool solid);
// Apex at y = 1, base of radius 1 at y = -1, 3 to 100 segments; a base cap when solid.
void buildCone(MeshGeometry& geometry, int32_t segments, bool solid);

}  // namespace tarsk
