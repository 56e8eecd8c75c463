// Whether two triangle sets meet: triangle against triangle, and one collision tree
// against another placed relative to it.
#pragma once

#include "runtime/engine3d/math3d.h"

namespace tarsk {

class CollisionTree;

// True when the triangles p and q share a point (touching counts); degenerate
// triangles meet nothing.
bool trianglesIntersect(const math3d::Vec3 p[3], const math3d::Vec3 q[3]);

// True when a triangle of a, moved into b's space by aToB, meets a triangle of b.
bool treesIntersect(const CollisionTree& a, const math3d::Transform& aToB, const CollisionTree& b);

}  // namespace tarsk
