#include "runtime/engine3d/pick_geometry.h"

#include "runtime/engine3d/object_entity.h"
#include "runtime/engine3d/swept_sphere.h"

namespace tarsk {

bool sweepObjectGeometry(ObjectEntity& object, int32_t geometry, const math3d::Transform& placement,
                         const SweptSphere& line, CollisionRecord& record) {
    switch (geometry) {
        case 1: return sweepSphere(line, placement.t, object.collisionRadii.x, record);
        case 2: return object.collide(line, placement, record);
        case 3: return sweepBox(line, unscaledFrame(placement), object.collisionBoxMin, object.collisionBoxMax, record);
        default: return false;
    }
}

}  // namespace tarsk
