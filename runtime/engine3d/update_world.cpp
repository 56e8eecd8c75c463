#include "runtime/engine3d/update_world.h"

#include "runtime/engine3d/object_entity.h"
#include "runtime/engine3d/scene_context.h"
#include "runtime/engine3d/world_walk.h"

namespace tarsk {

void updateWorld(World& world, float elapsed) {
    stats3D()[0] = 0;
    forEachKept(
        world, [](Entity* e) { return e->enabled(); },
        [&](Entity* e) {
            ObjectEntity* object = e->asObject();
            if (!object) return;
            const math3d::Transform& now = object->worldTransform();
            // No time passed: no velocity rather than a division by zero.
            object->velocity = elapsed != 0 ? (now.t - object->previousWorldTransform.t) * (1 / elapsed) : math3d::Vec3{};
            object->previousWorldTransform = now;
        });
}

}  // namespace tarsk
