#include "runtime/engine3d/pick.h"

#include "runtime/engine3d/object_entity.h"
#include "runtime/engine3d/pick_geometry.h"
#include "runtime/engine3d/swept_sphere.h"
#include "runtime/engine3d/world.h"
#include "runtime/engine3d/world_walk.h"

namespace tarsk {

namespace {

// Calls visit(object) for every object of the enabled part of the world, pre-order
// from each root, skipping every subtree whose root is disabled.
template <class Visit>
void forEachEnabledObject(World& world, Visit visit) {
    forEachKept(
        world, [](Entity* e) { return e->enabled(); },
        [&](Entity* e) {
            if (ObjectEntity* object = e->asObject()) visit(*object);
        });
}

}  // namespace

Entity* pick(World& world, const SweptSphere& line) {
    PickResult& result = world.pick;
    CollisionRecord record;
    record.normal = result.normal;
    Entity* picked = nullptr;
    forEachEnabledObject(world, [&](ObjectEntity& object) {
        // Surface and triangle belong to the contact that is kept, so a nearer sphere
        // or box drops those of a polygon behind it.
        CollisionRecord trial = record;
        trial.surface = nullptr;
        trial.triangle = -1;
        if (sweepObjectGeometry(object, object.pickGeometry, object.worldTransform(), line, trial)) {
            record = trial;
            picked = &object;
        }
    });
    result.entity = picked;
    result.time = record.time;
    result.normal = record.normal;
    result.surface = record.surface;
    result.triangle = record.triangle;
    if (picked) result.point = line.origin + line.direction * record.time - record.normal * line.radius;
    return picked;
}

bool entityVisible(World& world, Entity& source, Entity& destination) {
    math3d::Vec3 from = source.worldTransform().t;
    SweptSphere line{from, destination.worldTransform().t - from, 0};
    CollisionRecord record;
    bool blocked = false;
    forEachEnabledObject(world, [&](ObjectEntity& object) {
        if (blocked || &object == &source || &object == &destination || !object.obscurer) return;
        blocked = sweepObjectGeometry(object, object.pickGeometry, object.worldTransform(), line, record);
    });
    return !blocked;
}

}  // namespace tarsk
