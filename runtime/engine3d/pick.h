// Picking: the first enabled object whose pick geometry a line (or swept sphere) meets,
// kept in the world's single pick result, and the line of sight between two entities.
#pragma once

#include <cstdint>

#include "runtime/engine3d/math3d.h"

namespace tarsk {

class Entity;
class MeshSurface;
struct World;
struct SweptSphere;

// What the Picked* commands read; a new world starts with this value. Point and normal keep their values through picks
// that hit nothing; surface and triangle describe the last pick's polygon hit (none
// for a sphere or box hit or a miss).
struct PickResult {
    Entity* entity = nullptr;
    math3d::Vec3 point;
    float time = 1;
    math3d::Vec3 normal;
    MeshSurface* surface = nullptr;
    int32_t triangle = -1;
};

// Tests every enabled object with pick geometry 1, 2 or 3 in gathering order; the
// nearest contact wins, a later object at the same time replacing an earlier one.
// Fills the world's pick result and returns the picked entity, or nullptr.
Entity* pick(World& world, const SweptSphere& line);

// True when no enabled obscurer with a pick geometry, other than the two entities
// themselves, meets the line between their world positions.
bool entityVisible(World& world, Entity& source, Entity& destination);

}  // namespace tarsk
