// Moving, turning, scaling and pointing entities, and reading their position and angles.
#include <cmath>

#include "runtime/engine3d/commands.h"
#include "runtime/engine3d/entity.h"
#include "runtime/engine3d/world.h"

using tarsk::Entity;
using tarsk::liveEntity;
using namespace tarsk::math3d;

namespace {

Quat eulerDegrees(float pitch, float yaw, float roll) {
    return eulerToQuat(radians(pitch), radians(yaw), radians(roll));
}

Euler entityAngles(int32_t entity, int32_t global) {
    Entity* e = liveEntity(entity);
    return quatToEuler(global ? e->worldRotation() : e->localRotation());
}

Vec3 entityPosition(int32_t entity, int32_t global) {
    Entity* e = liveEntity(entity);
    return global ? e->worldTransform().t : e->localPosition();
}

// Turns the entity's axis (1 = x, 2 = y, otherwise z) towards v by the fraction rate.
void alignAxis(Entity* e, Vec3 v, int32_t axis, float rate) {
    v = normalized(v);
    if (!(length(v) > 1e-6f)) return;
    Quat w = e->worldRotation();
    Matrix3 axes = rotationAxes(w);
    Vec3 a = axis == 1 ? axes.i : axis == 2 ? axes.j : axes.k;
    float d = dot(v, a);
    if (d >= 1 - 1e-6f) return;
    float h;
    Vec3 n;
    if (d <= -(1 - 1e-6f)) {
        h = rate * kPi * 0.5f;
        n = axis == 1 ? axes.j : axis == 2 ? axes.k : axes.i;
    } else {
        h = std::acos(d) * rate * 0.5f;
        n = normalized(cross(v, a));
    }
    float s = std::sin(h);
    e->setWorldRotation(w * Quat{std::cos(h), n.x * s, n.y * s, n.z * s});
}

}  // namespace

extern "C" {

float _fentityx(int32_t entity, int32_t global) { return entityPosition(entity, global).x; }
float _fentityy(int32_t entity, int32_t global) { return entityPosition(entity, global).y; }
float _fentityz(int32_t entity, int32_t global) { return entityPosition(entity, global).z; }
float _fentitypitch(int32_t entity, int32_t global) { return degrees(entityAngles(entity, global).pitch); }
float _fentityyaw(int32_t entity, int32_t global) { return degrees(entityAngles(entity, global).yaw); }
float _fentityroll(int32_t entity, int32_t global) { return degrees(entityAngles(entity, global).roll); }

void _fmoveentity(int32_t entity, float x, float y, float z) {
    Entity* e = liveEntity(entity);
    e->setLocalPosition(e->localPosition() + rotationAxes(e->localRotation()) * Vec3{x, y, z});
}

void _fturnentity(int32_t entity, float pitch, float yaw, float roll, int32_t global) {
    Entity* e = liveEntity(entity);
    Quat turn = eulerDegrees(pitch, yaw, roll);
    if (global)
        e->setWorldRotation(e->worldRotation() * turn);
    else
        e->setLocalRotation(turn * e->localRotation());
}

void _ftranslateentity(int32_t entity, float x, float y, float z, int32_t global) {
    Entity* e = liveEntity(entity);
    if (global)
        e->setWorldPosition(e->worldTransform().t + Vec3{x, y, z});
    else
        e->setLocalPosition(e->localPosition() + Vec3{x, y, z});
}

void _fpositionentity(int32_t entity, float x, float y, float z, int32_t global) {
    Entity* e = liveEntity(entity);
    if (global)
        e->setWorldPosition({x, y, z});
    else
        e->setLocalPosition({x, y, z});
}

void _fscaleentity(int32_t entity, float x, float y, float z, int32_t global) {
    Entity* e = liveEntity(entity);
    if (global)
        e->setWorldScale({x, y, z});
    else
        e->setLocalScale({x, y, z});
}

void _frotateentity(int32_t entity, float pitch, float yaw, float roll, int32_t global) {
    Entity* e = liveEntity(entity);
    Quat rotation = eulerDegrees(pitch, yaw, roll);
    if (global)
        e->setWorldRotation(rotation);
    else
        e->setLocalRotation(rotation);
}

void _fpointentity(int32_t entity, int32_t target, float roll) {
    Entity* e = liveEntity(entity);
    Entity* t = liveEntity(target);
    Vec3 d = t->worldTransform().t - e->worldTransform().t;
    e->setWorldRotation(eulerToQuat(vectorPitch(d), vectorYaw(d), radians(roll)));
}

void _faligntovector(int32_t entity, float x, float y, float z, int32_t axis, float rate) {
    alignAxis(liveEntity(entity), {x, y, z}, axis, rate);
}

}  // extern "C"

namespace tarsk {

void registerTransformCommands(Registrar add) {
    add("#EntityX%entity%global=0", reinterpret_cast<const void*>(_fentityx));
    add("#EntityY%entity%global=0", reinterpret_cast<const void*>(_fentityy));
    add("#EntityZ%entity%global=0", reinterpret_cast<const void*>(_fentityz));
    add("#EntityPitch%entity%global=0", reinterpret_cast<const void*>(_fentitypitch));
    add("#EntityYaw%entity%global=0", reinterpret_cast<const void*>(_fentityyaw));
    add("#EntityRoll%entity%global=0", reinterpret_cast<const void*>(_fentityroll));
    add("MoveEntity%entity#x#y#z", reinterpret_cast<const void*>(_fmoveentity));
    add("TurnEntity%entity#pitch#yaw#roll%global=0", reinterpret_cast<const void*>(_fturnentity));
    add("TranslateEntity%entity#x#y#z%global=0", reinterpret_cast<const void*>(_ftranslateentity));
    add("PositionEntity%entity#x#y#z%global=0", reinterpret_cast<const void*>(_fpositionentity));
    add("ScaleEntity%entity#x_scale#y_scale#z_scale%global=0", reinterpret_cast<const void*>(_fscaleentity));
    add("RotateEntity%entity#pitch#yaw#roll%global=0", reinterpret_cast<const void*>(_frotateentity));
    add("PointEntity%entity%target#roll=0", reinterpret_cast<const void*>(_fpointentity));
    add("AlignToVector%entity#vector_x#vector_y#vector_z%axis#rate=1", reinterpret_cast<const void*>(_faligntovector));
}

}  // namespace tarsk
