// Conversions between entity spaces, directions and distances between entities.
#include <cmath>

#include "runtime/engine3d/commands.h"
#include "runtime/engine3d/entity.h"
#include "runtime/engine3d/world.h"
#include "runtime/host/runtime_error.h"

using tarsk::Entity;
using tarsk::liveEntity;
using namespace tarsk::math3d;

namespace {

Vec3 tformed;

Entity* optionalEntity(int32_t handle) { return handle ? liveEntity(handle) : nullptr; }

// Wraps a turn in radians into [-pi, pi) and gives it in degrees within [-180, 180).
float wrappedDegrees(float a) {
    if (a < -kPi)
        a += kTwoPi;
    else if (a >= kPi)
        a -= kTwoPi;
    float d = degrees(a);
    return d >= 180 ? d - 360 : d;
}

struct Bearing {
    Vec3 facing, toTarget;
};

Bearing bearing(int32_t src, int32_t dest) {
    Entity* s = liveEntity(src);
    Entity* d = liveEntity(dest);
    const Transform& sw = s->worldTransform();
    return {sw.m.k, d->worldTransform().t - sw.t};
}

}  // namespace

extern "C" {

void _ftformpoint(float x, float y, float z, int32_t source, int32_t dest) {
    Entity* s = optionalEntity(source);
    Entity* d = optionalEntity(dest);
    Vec3 p{x, y, z};
    if (s) p = applyPoint(s->worldTransform(), p);
    if (d) p = applyPoint(inverse(d->worldTransform()), p);
    tformed = p;
}

void _ftformvector(float x, float y, float z, int32_t source, int32_t dest) {
    Entity* s = optionalEntity(source);
    Entity* d = optionalEntity(dest);
    Vec3 v{x, y, z};
    if (s) v = s->worldTransform().m * v;
    if (d) v = inverse(d->worldTransform().m) * v;
    tformed = v;
}

void _ftformnormal(float x, float y, float z, int32_t source, int32_t dest) {
    Entity* s = optionalEntity(source);
    Entity* d = optionalEntity(dest);
    Vec3 n{x, y, z};
    if (s) n = cofactor(s->worldTransform().m) * n;
    if (d) n = cofactor(inverse(d->worldTransform().m)) * n;
    tformed = normalized(n);
}

float _ftformedx() { return tformed.x; }
float _ftformedy() { return tformed.y; }
float _ftformedz() { return tformed.z; }

float _fvectoryaw(float x, float y, float z) { return degrees(vectorYaw({x, y, z})); }
float _fvectorpitch(float x, float y, float z) { return degrees(vectorPitch({x, y, z})); }

float _fdeltayaw(int32_t src, int32_t dest) {
    Bearing b = bearing(src, dest);
    return wrappedDegrees(std::atan2(b.facing.x, b.facing.z) - std::atan2(b.toTarget.x, b.toTarget.z));
}

float _fdeltapitch(int32_t src, int32_t dest) {
    Bearing b = bearing(src, dest);
    return wrappedDegrees(vectorPitch(b.toTarget) - vectorPitch(b.facing));
}

float _fentitydistance(int32_t source, int32_t destination) {
    Entity* s = liveEntity(source);
    Entity* d = liveEntity(destination);
    return length(d->worldTransform().t - s->worldTransform().t);
}

float _fgetmatelement(int32_t entity, int32_t row, int32_t column) {
    const Transform& t = liveEntity(entity)->worldTransform();
    // Always checked: the indices address the transform's memory.
    if (row < 0 || column < 0 || column > 2) tarsk::runtimeError("Matrix element out of range");
    const Vec3& v = row == 0 ? t.m.i : row == 1 ? t.m.j : row == 2 ? t.m.k : t.t;
    return column == 0 ? v.x : column == 1 ? v.y : v.z;
}

}  // extern "C"

namespace tarsk {

void registerSpaceCommands(Registrar add) {
    add("TFormPoint#x#y#z%source_entity%dest_entity", reinterpret_cast<const void*>(_ftformpoint));
    add("TFormVector#x#y#z%source_entity%dest_entity", reinterpret_cast<const void*>(_ftformvector));
    add("TFormNormal#x#y#z%source_entity%dest_entity", reinterpret_cast<const void*>(_ftformnormal));
    add("#TFormedX", reinterpret_cast<const void*>(_ftformedx));
    add("#TFormedY", reinterpret_cast<const void*>(_ftformedy));
    add("#TFormedZ", reinterpret_cast<const void*>(_ftformedz));
    add("#VectorYaw#x#y#z", reinterpret_cast<const void*>(_fvectoryaw));
    add("#VectorPitch#x#y#z", reinterpret_cast<const void*>(_fvectorpitch));
    add("#DeltaYaw%src_entity%dest_entity", reinterpret_cast<const void*>(_fdeltayaw));
    add("#DeltaPitch%src_entity%dest_entity", reinterpret_cast<const void*>(_fdeltapitch));
    add("#EntityDistance%source_entity%destination_entity", reinterpret_cast<const void*>(_fentitydistance));
    add("#GetMatElement%entity%row%column", reinterpret_cast<const void*>(_fgetmatelement));
}

}  // namespace tarsk
