#include "runtime/engine3d/collision_tree.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "runtime/engine3d/scene_context.h"
#include "runtime/engine3d/swept_sphere.h"

namespace tarsk {

using math3d::Vec3;

namespace {

// 0 x, 1 y, 2 z: y when its extent is the largest, else z when its is, else x.
int splitAxis(const TreeBox& box) {
    Vec3 extent = box.max - box.min;
    float largest = std::max({extent.x, extent.y, extent.z});
    if (extent.y == largest) return 1;
    if (extent.z == largest) return 2;
    return 0;
}

float component(Vec3 v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

}  // namespace

TreeBox boxAround(const Vec3* points, int count) {
    TreeBox box{points[0], points[0]};
    for (int i = 1; i < count; ++i) {
        box.min = {std::min(box.min.x, points[i].x), std::min(box.min.y, points[i].y), std::min(box.min.z, points[i].z)};
        box.max = {std::max(box.max.x, points[i].x), std::max(box.max.y, points[i].y), std::max(box.max.z, points[i].z)};
    }
    return box;
}

TreeBox CollisionTree::boxOf(const TreeTriangle& triangle) const {
    Vec3 corners[3] = {corner(triangle, 0), corner(triangle, 1), corner(triangle, 2)};
    return boxAround(corners, 3);
}

CollisionTree::CollisionTree(std::vector<Vec3> vertices, std::vector<TreeTriangle> triangles)
    : vertices_(std::move(vertices)), triangles_(std::move(triangles)) {
    if (triangles_.empty()) return;
    struct Pending {
        int32_t node;
        uint32_t first, count;
    };
    std::vector<Pending> pending{{0, 0, uint32_t(triangles_.size())}};
    nodes_.emplace_back();
    std::vector<std::pair<float, TreeTriangle>> keyed;
    // Nodes are taken from the back, the left child pushed last, so leaves come out
    // left to right.
    while (!pending.empty()) {
        Pending work = pending.back();
        pending.pop_back();
        TreeBox box = boxOf(triangles_[work.first]);
        for (uint32_t i = work.first + 1; i < work.first + work.count; ++i) {
            TreeBox t = boxOf(triangles_[i]);
            Vec3 both[4] = {box.min, box.max, t.min, t.max};
            box = boxAround(both, 4);
        }
        nodes_[size_t(work.node)].box = box;
        if (work.count <= kLeafSize) {
            nodes_[size_t(work.node)].first = work.first;
            nodes_[size_t(work.node)].count = work.count;
            leaves_.push_back(work.node);
            continue;
        }
        int axis = splitAxis(box);
        keyed.clear();
        for (uint32_t i = work.first; i < work.first + work.count; ++i) {
            const TreeTriangle& t = triangles_[i];
            Vec3 centroid = (corner(t, 0) + corner(t, 1) + corner(t, 2)) * 0.33333334f;
            float key = component(centroid, axis);
            keyed.emplace_back(key == key ? key : HUGE_VALF, t);  // NaN would break the ordering
        }
        std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (uint32_t i = 0; i < work.count; ++i) triangles_[work.first + i] = keyed[i].second;
        uint32_t half = work.count / 2;
        int32_t left = int32_t(nodes_.size()), right = left + 1;
        nodes_[size_t(work.node)].left = left;
        nodes_[size_t(work.node)].right = right;
        nodes_.emplace_back();
        nodes_.emplace_back();
        pending.push_back({right, work.first + half, work.count - half});
        pending.push_back({left, work.first, half});
    }
}

bool sweepCollisionTree(const CollisionTree& tree, const math3d::Transform& meshToWorld, const SweptSphere& line,
                        CollisionRecord& record) {
    Vec3 end = line.origin + line.direction;
    Vec3 grow{line.radius, line.radius, line.radius};
    Vec3 ends[2] = {line.origin, end};
    TreeBox swept = boxAround(ends, 2);
    swept.min = swept.min - grow;
    swept.max = swept.max + grow;
    math3d::Transform toMesh = math3d::inverse(meshToWorld);
    Vec3 corners[8];
    for (int c = 0; c < 8; ++c)
        corners[c] = math3d::applyPoint(toMesh, {c & 1 ? swept.max.x : swept.min.x, c & 2 ? swept.max.y : swept.min.y,
                                                 c & 4 ? swept.max.z : swept.min.z});
    // The segment in mesh space keeps its times; a world distance r reaches at most
    // r·|row a of the inverse| along mesh axis a.
    const math3d::Matrix3& m = toMesh.m;
    TreeSegment segment{math3d::applyPoint(toMesh, line.origin), m * line.direction,
                        {line.radius * math3d::length({m.i.x, m.j.x, m.k.x}), line.radius * math3d::length({m.i.y, m.j.y, m.k.y}),
                         line.radius * math3d::length({m.i.z, m.j.z, m.k.z})}};
    bool hit = false;
    tree.forEachCandidate(boxAround(corners, 8), &segment, [&](const TreeTriangle& triangle) {
        if (sweepTriangle(line, math3d::applyPoint(meshToWorld, tree.corner(triangle, 0)),
                          math3d::applyPoint(meshToWorld, tree.corner(triangle, 1)),
                          math3d::applyPoint(meshToWorld, tree.corner(triangle, 2)), record)) {
            record.surface = triangle.surface;
            record.triangle = triangle.index;
            hit = true;
        }
    });
    return hit;
}

bool TreeSegment::reaches(const TreeBox& box) const {
    const float o[3] = {origin.x, origin.y, origin.z}, d[3] = {direction.x, direction.y, direction.z};
    const float g[3] = {grow.x, grow.y, grow.z};
    const float lo[3] = {box.min.x, box.min.y, box.min.z}, hi[3] = {box.max.x, box.max.y, box.max.z};
    // Times are widened a little so that rounding never drops a node that holds a contact.
    constexpr float kSlack = 1e-4f;
    float enter = -kSlack, leave = 1 + kSlack;
    for (int a = 0; a < 3; ++a) {
        float margin = g[a] + kSlack * (std::fabs(lo[a]) + std::fabs(hi[a]) + (hi[a] - lo[a]));
        float low = lo[a] - margin, high = hi[a] + margin;
        if (d[a] == 0) {
            if (o[a] < low || o[a] > high) return false;
            continue;
        }
        float t0 = (low - o[a]) / d[a], t1 = (high - o[a]) / d[a];
        if (t0 > t1) std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
        if (enter > leave) return false;
    }
    return true;
}

void countTrianglesExamined(uint32_t count) { stats3D()[0] += float(count); }

}  // namespace tarsk
