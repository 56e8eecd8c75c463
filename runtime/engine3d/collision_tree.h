// The collision tree of a mesh: all vertex positions, the triangles, and a binary tree
// of axis-aligned boxes whose leaves hold at most 16 triangles. A node with more is
// split across its longest extent (y first on ties, then z, then x) at the median of
// the triangles' centroids, in order, so the tree of a given soup is always the same.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/engine3d/math3d.h"

namespace tarsk {

class MeshSurface;

struct TreeBox {
    math3d::Vec3 min, max;

    bool overlaps(const TreeBox& other) const {
        return min.x <= other.max.x && other.min.x <= max.x && min.y <= other.max.y && other.min.y <= max.y &&
               min.z <= other.max.z && other.min.z <= max.z;
    }
};

// The box around points.
TreeBox boxAround(const math3d::Vec3* points, int count);

// A segment origin to origin + direction in the tree's space, grown on each axis by
// grow (the swept radius seen in that space). A node whose box it cannot reach holds
// no contact, so the search skips it.
struct TreeSegment {
    math3d::Vec3 origin, direction, grow;

    bool reaches(const TreeBox& box) const;
};

struct TreeTriangle {
    MeshSurface* surface;
    uint32_t v[3];   // into the tree's vertex array
    int32_t index;   // within its surface
};

class CollisionTree {
public:
    static constexpr uint32_t kLeafSize = 16;

    // Every index of triangles must name one of vertices.
    CollisionTree(std::vector<math3d::Vec3> vertices, std::vector<TreeTriangle> triangles);

    struct Node {
        TreeBox box;
        int32_t left = -1, right = -1;  // children, -1 for a leaf
        uint32_t first = 0, count = 0;  // a leaf's range of triangles()
    };

    const std::vector<math3d::Vec3>& vertices() const { return vertices_; }
    // Ordered so that each leaf's triangles are one range.
    const std::vector<TreeTriangle>& triangles() const { return triangles_; }
    // The root first; empty when there are no triangles.
    const std::vector<Node>& nodes() const { return nodes_; }
    // Leaves, left to right.
    const std::vector<int32_t>& leaves() const { return leaves_; }

    math3d::Vec3 corner(const TreeTriangle& triangle, int i) const { return vertices_[triangle.v[i]]; }
    TreeBox boxOf(const TreeTriangle& triangle) const;

    // Descends through every node whose box overlaps box (left child first) and, with a
    // segment, that the segment reaches; counts each reached leaf's triangles with
    // countTrianglesExamined, and calls visit(triangle) for each of its triangles whose
    // own box overlaps box.
    template <class Visit>
    void forEachCandidate(const TreeBox& box, const TreeSegment* segment, Visit visit) const;

private:
    std::vector<math3d::Vec3> vertices_;
    std::vector<TreeTriangle> triangles_;
    std::vector<Node> nodes_;
    std::vector<int32_t> leaves_;
};

struct SweptSphere;
struct CollisionRecord;

// The polygon test of a mesh: the swept sphere's box is moved into mesh space, the
// tree gives the candidates, and each is tested in world space (meshToWorld) with the
// triangle test; an accepted contact also records the triangle's surface and index.
bool sweepCollisionTree(const CollisionTree& tree, const math3d::Transform& meshToWorld, const SweptSphere& line,
                        CollisionRecord& record);

// Adds leaf triangles examined by pick and collision tests to statistic 0 of Stats3D
// (which the world update sets back to 0).
void countTrianglesExamined(uint32_t count);

template <class Visit>
void CollisionTree::forEachCandidate(const TreeBox& box, const TreeSegment* segment, Visit visit) const {
    if (nodes_.empty()) return;
    int32_t stack[64];  // each split halves the count, so depth stays below 32
    int depth = 0;
    stack[depth++] = 0;
    while (depth) {
        const Node& node = nodes_[std::size_t(stack[--depth])];
        if (!node.box.overlaps(box) || (segment && !segment->reaches(node.box))) continue;
        if (node.left >= 0) {
            stack[depth++] = node.right;
            stack[depth++] = node.left;
            continue;
        }
        countTrianglesExamined(node.count);
        for (uint32_t i = node.first; i < node.first + node.count; ++i)
            if (boxOf(triangles_[i]).overlaps(box)) visit(triangles_[i]);
    }
}

}  // namespace tarsk
