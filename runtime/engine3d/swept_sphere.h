// Swept-sphere intersection tests shared by picking and collisions: a sphere of radius
// r moving along a segment against spheres, boxes and front faces of triangles. Every
// candidate contact goes through one acceptance rule into a collision record, so the
// nearest contact wins and a later one at the same time replaces an earlier one.
#pragma once

#include <cstdint>

#include "runtime/engine3d/math3d.h"

namespace tarsk {

class MeshSurface;

// The segment o to o + d, swept by a sphere of radius r (0 for a plain line). Hit
// times are fractions of d.
struct SweptSphere {
    math3d::Vec3 origin, direction;
    float radius = 0;
};

// The best contact so far.
struct CollisionRecord {
    float time = 1;
    math3d::Vec3 normal;
    MeshSurface* surface = nullptr;
    int32_t triangle = -1;
};

// Takes the contact (t, n) when t ≤ the record's time, n·d < 0 and −t·(n·d) ≥ −0.001
// (a start very slightly behind the surface still counts); sets time and normal.
bool acceptContact(const SweptSphere& line, float t, math3d::Vec3 n, CollisionRecord& record);

// Against the sphere of radius sphereRadius around centre.
bool sweepSphere(const SweptSphere& line, math3d::Vec3 centre, float sphereRadius, CollisionRecord& record);

// Against the front face of the triangle v0, v1, v2 (clockwise seen from the front);
// with r > 0 its edges count as cylinders and its vertices as spheres.
bool sweepTriangle(const SweptSphere& line, math3d::Vec3 v0, math3d::Vec3 v1, math3d::Vec3 v2,
                   CollisionRecord& record);

// Against the box min to max in the frame of boxToWorld (a rotation and translation);
// the record's normal is given in world space.
bool sweepBox(const SweptSphere& line, const math3d::Transform& boxToWorld, math3d::Vec3 min, math3d::Vec3 max,
              CollisionRecord& record);

// The box frame of a world transform: its axes normalized, so scale is ignored.
math3d::Transform unscaledFrame(const math3d::Transform& world);

}  // namespace tarsk
