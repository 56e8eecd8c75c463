#include "runtime/engine3d/collision_tree_intersect.h"

#include <algorithm>
#include <cmath>

#include "runtime/engine3d/collision_tree.h"

namespace tarsk {

using math3d::Vec3;

namespace {

struct Point2 {
    float x, y;
};

float orientation(Point2 a, Point2 b, Point2 c) { return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x); }

// p lies within the bounding rectangle of a and b (for points known to be collinear).
bool withinSpan(Point2 a, Point2 b, Point2 p) {
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

bool segmentsMeet(Point2 a, Point2 b, Point2 c, Point2 d) {
    float o1 = orientation(a, b, c), o2 = orientation(a, b, d), o3 = orientation(c, d, a), o4 = orientation(c, d, b);
    if (((o1 > 0 && o2 < 0) || (o1 < 0 && o2 > 0)) && ((o3 > 0 && o4 < 0) || (o3 < 0 && o4 > 0))) return true;
    return (o1 == 0 && withinSpan(a, b, c)) || (o2 == 0 && withinSpan(a, b, d)) || (o3 == 0 && withinSpan(c, d, a)) ||
           (o4 == 0 && withinSpan(c, d, b));
}

bool insideTriangle(const Point2 t[3], Point2 p) {
    float a = orientation(t[0], t[1], p), b = orientation(t[1], t[2], p), c = orientation(t[2], t[0], p);
    return (a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0);
}

// Drops the coordinate along which the normal n is largest.
Point2 flatten(Vec3 p, Vec3 n) {
    float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    if (ax >= ay && ax >= az) return {p.y, p.z};
    if (ay >= az) return {p.x, p.z};
    return {p.x, p.y};
}

// The segment a to b lying in the plane of triangle t (normal n).
bool coplanarSegmentMeetsTriangle(Vec3 a, Vec3 b, const Vec3 t[3], Vec3 n) {
    Point2 flat[3] = {flatten(t[0], n), flatten(t[1], n), flatten(t[2], n)};
    Point2 fa = flatten(a, n), fb = flatten(b, n);
    if (insideTriangle(flat, fa) || insideTriangle(flat, fb)) return true;
    for (int e = 0; e < 3; ++e)
        if (segmentsMeet(fa, fb, flat[e], flat[(e + 1) % 3])) return true;
    return false;
}

bool segmentMeetsTriangle(Vec3 a, Vec3 b, const Vec3 t[3], Vec3 n) {
    float da = dot(n, a - t[0]), db = dot(n, b - t[0]);
    if ((da > 0 && db > 0) || (da < 0 && db < 0)) return false;
    if (da == 0 && db == 0) return coplanarSegmentMeetsTriangle(a, b, t, n);
    Vec3 x = a + (b - a) * (da / (da - db));
    return dot(cross(t[1] - t[0], x - t[0]), n) >= 0 && dot(cross(t[2] - t[1], x - t[1]), n) >= 0 &&
           dot(cross(t[0] - t[2], x - t[2]), n) >= 0;
}

bool degenerate(Vec3 n) { return n.x == 0 && n.y == 0 && n.z == 0; }

}  // namespace

// Two triangles meet exactly when an edge of one meets the other: the ends of their
// common segment lie on edges.
bool trianglesIntersect(const Vec3 p[3], const Vec3 q[3]) {
    Vec3 np = cross(p[1] - p[0], p[2] - p[0]), nq = cross(q[1] - q[0], q[2] - q[0]);
    if (degenerate(np) || degenerate(nq)) return false;
    for (int e = 0; e < 3; ++e) {
        if (segmentMeetsTriangle(p[e], p[(e + 1) % 3], q, nq)) return true;
        if (segmentMeetsTriangle(q[e], q[(e + 1) % 3], p, np)) return true;
    }
    return false;
}

bool treesIntersect(const CollisionTree& a, const math3d::Transform& aToB, const CollisionTree& b) {
    for (int32_t leafIndex : a.leaves()) {
        const CollisionTree::Node& leaf = a.nodes()[size_t(leafIndex)];
        Vec3 moved[CollisionTree::kLeafSize][3];
        TreeBox boxes[CollisionTree::kLeafSize];
        for (uint32_t i = 0; i < leaf.count; ++i) {
            const TreeTriangle& t = a.triangles()[leaf.first + i];
            for (int k = 0; k < 3; ++k) moved[i][k] = math3d::applyPoint(aToB, a.corner(t, k));
            boxes[i] = boxAround(moved[i], 3);
        }
        TreeBox leafBox = boxes[0];
        for (uint32_t i = 1; i < leaf.count; ++i) {
            Vec3 both[4] = {leafBox.min, leafBox.max, boxes[i].min, boxes[i].max};
            leafBox = boxAround(both, 4);
        }
        bool met = false;
        b.forEachCandidate(leafBox, nullptr, [&](const TreeTriangle& t) {
            if (met) return;
            Vec3 q[3] = {b.corner(t, 0), b.corner(t, 1), b.corner(t, 2)};
            TreeBox box = b.boxOf(t);
            for (uint32_t i = 0; i < leaf.count && !met; ++i)
                met = boxes[i].overlaps(box) && trianglesIntersect(moved[i], q);
        });
        if (met) return true;
    }
    return false;
}

}  // namespace tarsk
