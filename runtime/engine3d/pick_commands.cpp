// Pick modes, picks through camera pixels, along lines and entity axes, the pick result and lines of sight.
#include "runtime/engine3d/camera.h"
#include "runtime/engine3d/commands.h"
#include "runtime/engine3d/object_entity.h"
#include "runtime/engine3d/pick.h"
#include "runtime/engine3d/projection.h"
#include "runtime/engine3d/swept_sphere.h"
#include "runtime/engine3d/world.h"
#include "runtime/host/arena.h"
#include "runtime/host/runtime_error.h"

using tarsk::handleOf;
using tarsk::liveEntity;
using namespace tarsk::math3d;

namespace {

tarsk::ObjectEntity* liveObject(int32_t handle) {
    tarsk::ObjectEntity* object = liveEntity(handle)->asObject();
    if (!object) tarsk::runtimeError("Entity is not an object");
    return object;
}

// The open world's pick result; without a world, that of a new one.
const tarsk::PickResult& pickResult() {
    static const tarsk::PickResult none;
    tarsk::World* world = tarsk::currentWorld();
    return world ? world->pick : none;
}

int32_t pickAlong(Vec3 origin, Vec3 direction, float radius) {
    return handleOf(tarsk::pick(tarsk::requireWorld(), {origin, direction, radius}));
}

}  // namespace

extern "C" {

void _fentitypickmode(int32_t entity, int32_t geometry, int32_t obscurer) {
    tarsk::ObjectEntity* object = liveObject(entity);
    object->pickGeometry = geometry;
    object->obscurer = obscurer != 0;
}

int32_t _fcamerapick(int32_t camera, float viewportX, float viewportY) {
    tarsk::Camera* c = tarsk::liveCamera(camera);
    return handleOf(tarsk::pick(tarsk::requireWorld(), tarsk::cameraLineThrough(*c, viewportX, viewportY)));
}

int32_t _flinepick(float x, float y, float z, float dx, float dy, float dz, float radius) {
    return pickAlong({x, y, z}, {dx, dy, dz}, radius);
}

int32_t _fentitypick(int32_t entity, float range) {
    const Transform& world = liveEntity(entity)->worldTransform();
    return pickAlong(world.t, world.m.k * range, 0);
}

float _fpickedx() { return pickResult().point.x; }
float _fpickedy() { return pickResult().point.y; }
float _fpickedz() { return pickResult().point.z; }
float _fpickednx() { return pickResult().normal.x; }
float _fpickedny() { return pickResult().normal.y; }
float _fpickednz() { return pickResult().normal.z; }
float _fpickedtime() { return pickResult().time; }
int32_t _fpickedentity() { return handleOf(pickResult().entity); }
int32_t _fpickedsurface() { return handleOf(pickResult().surface); }
int32_t _fpickedtriangle() { return pickResult().triangle & 0xFFFF; }

int32_t _fentityvisible(int32_t src, int32_t dest) {
    tarsk::ObjectEntity* source = liveObject(src);
    tarsk::ObjectEntity* destination = liveObject(dest);
    return tarsk::entityVisible(tarsk::requireWorld(), *source, *destination) ? 1 : 0;
}

}  // extern "C"

namespace tarsk {

void registerPickCommands(Registrar add) {
    add("EntityPickMode%entity%pick_geometry%obscurer=1", reinterpret_cast<const void*>(_fentitypickmode));
    add("%CameraPick%camera#viewport_x#viewport_y", reinterpret_cast<const void*>(_fcamerapick));
    add("%LinePick#x#y#z#dx#dy#dz#radius=0", reinterpret_cast<const void*>(_flinepick));
    add("%EntityPick%entity#range", reinterpret_cast<const void*>(_fentitypick));
    add("#PickedX", reinterpret_cast<const void*>(_fpickedx));
    add("#PickedY", reinterpret_cast<const void*>(_fpickedy));
    add("#PickedZ", reinterpret_cast<const void*>(_fpickedz));
    add("#PickedNX", reinterpret_cast<const void*>(_fpickednx));
    add("#PickedNY", reinterpret_cast<const void*>(_fpickedny));
    add("#PickedNZ", reinterpret_cast<const void*>(_fpickednz));
    add("#PickedTime", reinterpret_cast<const void*>(_fpickedtime));
    add("%PickedEntity", reinterpret_cast<const void*>(_fpickedentity));
    add("%PickedSurface", reinterpret_cast<const void*>(_fpickedsurface));
    add("%PickedTriangle", reinterpret_cast<const void*>(_fpickedtriangle));
    add("%EntityVisible%src_entity%dest_entity", reinterpret_cast<const void*>(_fentityvisible));
}

}  // namespace tarsk
