// The collision tree: its split rule, its leaves, and that descending it finds exactly
// what testing every triangle finds.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "runtime/engine3d/collision_tree.h"
#include "runtime/engine3d/scene_context.h"
#include "runtime/engine3d/swept_sphere.h"

namespace tarsk::test {
namespace {

using math3d::Vec3;

// A soup of unconnected triangles, one per triple of vertices.
CollisionTree soup(const std::vector<Vec3>& vertices) {
    std::vector<TreeTriangle> triangles;
    for (uint32_t i = 0; i + 2 < vertices.size(); i += 3)
        triangles.push_back({nullptr, {i, i + 1, i + 2}, int32_t(i / 3)});
    return CollisionTree(vertices, std::move(triangles));
}

// count triangles, each 1 wide on every axis, whose centres lie at i·step for
// i = 0 .. count − 1, shuffled.
std::vector<Vec3> spreadTriangles(int count, Vec3 step, uint32_t seed) {
    std::vector<int> order(size_t(count), 0);
    for (int i = 0; i < count; ++i) order[size_t(i)] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(seed));
    std::vector<Vec3> vertices;
    for (int i : order) {
        Vec3 c = step * float(i);
        vertices.insert(vertices.end(), {c + Vec3{-0.5f, -0.5f, -0.5f}, c + Vec3{0.5f, 0.5f, 0.5f}, c + Vec3{0.5f, -0.5f, 0.5f}});
    }
    return vertices;
}

TEST(CollisionTree, SplitsAtTheCentroidMedianOfTheLongestAxisPreferringYThenZ) {
    // Along each spread axis the 37 centres take the places 0, 10 .. 360 in an order of
    // their own, so equal extents compete and only the chosen axis gives the halves.
    struct Case {
        Vec3 spread;
        int axis;
    } cases[] = {{{1, 0, 0}, 0}, {{0, 0, 1}, 2}, {{1, 1, 0}, 1}, {{1, 0, 1}, 2}, {{0, 1, 1}, 1}, {{1, 1, 1}, 1}};
    constexpr int kCount = 37;
    std::vector<int> places[3];
    for (int axis = 0; axis < 3; ++axis) {
        for (int i = 0; i < kCount; ++i) places[axis].push_back(i);
        std::shuffle(places[axis].begin(), places[axis].end(), std::mt19937(11 + axis));
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.axis);
        std::vector<Vec3> vertices;
        for (int i = 0; i < kCount; ++i) {
            Vec3 centre{c.spread.x * 10 * places[0][size_t(i)], c.spread.y * 10 * places[1][size_t(i)],
                        c.spread.z * 10 * places[2][size_t(i)]};
            vertices.insert(vertices.end(), {centre + Vec3{-0.5f, -0.5f, -0.5f}, centre + Vec3{0.5f, 0.5f, 0.5f},
                                             centre + Vec3{0.5f, -0.5f, 0.5f}});
        }
        CollisionTree tree = soup(vertices);
        // 37 ÷ 2 = 18 go left, and leaves keep the tree's order: the first 18 triangles
        // are the 18 smallest along the chosen axis.
        for (size_t i = 0; i < 18; ++i) EXPECT_LT(places[c.axis][size_t(tree.triangles()[i].index)], 18);
        // Leaves: 37 → 18 + 19 → 9 + 9 + 9 + 10.
        std::vector<uint32_t> counts;
        for (int32_t leaf : tree.leaves()) counts.push_back(tree.nodes()[size_t(leaf)].count);
        EXPECT_EQ(counts, (std::vector<uint32_t>{9, 9, 9, 10}));
    }
}

TEST(CollisionTree, LeavesCoverEveryTriangleOnceAndBoxesEncloseThem) {
    std::mt19937 random(3);
    std::uniform_real_distribution<float> coordinate(-50, 50);
    std::vector<Vec3> vertices(3 * 1000);
    for (Vec3& v : vertices) v = {coordinate(random), coordinate(random), coordinate(random)};
    CollisionTree tree = soup(vertices);
    std::set<int32_t> seen;
    uint32_t next = 0;
    for (int32_t leaf : tree.leaves()) {
        const CollisionTree::Node& node = tree.nodes()[size_t(leaf)];
        EXPECT_LE(node.count, CollisionTree::kLeafSize);
        EXPECT_EQ(node.first, next);  // left to right, contiguous
        next += node.count;
        for (uint32_t i = node.first; i < node.first + node.count; ++i) {
            seen.insert(tree.triangles()[i].index);
            TreeBox box = tree.boxOf(tree.triangles()[i]);
            EXPECT_TRUE(box.min.x >= node.box.min.x && box.max.x <= node.box.max.x && box.min.y >= node.box.min.y &&
                        box.max.y <= node.box.max.y && box.min.z >= node.box.min.z && box.max.z <= node.box.max.z);
        }
    }
    EXPECT_EQ(seen.size(), 1000u);
    for (const CollisionTree::Node& node : tree.nodes()) {
        if (node.left < 0) continue;
        for (int32_t child : {node.left, node.right}) {
            const TreeBox& b = tree.nodes()[size_t(child)].box;
            EXPECT_TRUE(b.min.x >= node.box.min.x && b.max.x <= node.box.max.x && b.min.y >= node.box.min.y &&
                        b.max.y <= node.box.max.y && b.min.z >= node.box.min.z && b.max.z <= node.box.max.z);
        }
    }
}

TEST(CollisionTree, SixteenTrianglesMakeOneLeafAndNoneMakeNoNodes) {
    EXPECT_TRUE(soup({}).nodes().empty());
    CollisionTree sixteen = soup(spreadTriangles(16, {1, 0, 0}, 1));
    EXPECT_EQ(sixteen.nodes().size(), 1u);
    EXPECT_EQ(sixteen.leaves(), std::vector<int32_t>{0});
    // Identical triangles cannot be ordered apart, yet the halving still ends.
    std::vector<Vec3> same;
    for (int i = 0; i < 100; ++i) same.insert(same.end(), {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}});
    CollisionTree stacked = soup(same);
    EXPECT_EQ(stacked.leaves().size(), 8u);
}

// Random soups and random lines and swept spheres: the tree's answer (time, normal,
// hit or miss) is the brute-force one, and its triangle is one of those reaching that
// time first.
TEST(CollisionTree, AnswersEqualBruteForceOverRandomSoups) {
    for (uint32_t seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        std::uniform_real_distribution<float> unit(-1, 1);
        std::uniform_real_distribution<float> size(0.2f, 3);
        std::vector<Vec3> vertices;
        for (int t = 0; t < 400; ++t) {
            Vec3 c{unit(random) * 20, unit(random) * 20, unit(random) * 20};
            float s = size(random);
            for (int k = 0; k < 3; ++k) vertices.push_back(c + Vec3{unit(random), unit(random), unit(random)} * s);
        }
        CollisionTree tree = soup(vertices);
        math3d::Transform placement;
        placement.m.i = {2, 0, 0};  // scaled and moved, so the box goes through mesh space
        placement.t = {1, -3, 5};
        int hits = 0;
        for (int q = 0; q < 200; ++q) {
            // From outside towards a point of the soup, some ending before it.
            Vec3 from{unit(random) * 50, unit(random) * 50, unit(random) * 50};
            Vec3 towards{unit(random) * 20, unit(random) * 20, unit(random) * 20};
            SweptSphere line{from, (towards - from) * (1 + unit(random)), q % 3 == 0 ? 0.0f : size(random)};
            CollisionRecord viaTree;
            bool treeHit = sweepCollisionTree(tree, placement, line, viaTree);
            CollisionRecord brute;
            std::set<int32_t> first;
            for (const TreeTriangle& t : tree.triangles()) {
                Vec3 a = applyPoint(placement, tree.corner(t, 0)), b = applyPoint(placement, tree.corner(t, 1)),
                     c = applyPoint(placement, tree.corner(t, 2));
                sweepTriangle(line, a, b, c, brute);
            }
            for (const TreeTriangle& t : tree.triangles()) {
                CollisionRecord alone;
                Vec3 a = applyPoint(placement, tree.corner(t, 0)), b = applyPoint(placement, tree.corner(t, 1)),
                     c = applyPoint(placement, tree.corner(t, 2));
                if (sweepTriangle(line, a, b, c, alone) && alone.time == brute.time) first.insert(t.index);
            }
            ASSERT_EQ(treeHit, !first.empty()) << seed << " " << q;
            EXPECT_EQ(viaTree.time, brute.time);
            if (!treeHit) continue;
            ++hits;
            EXPECT_TRUE(first.count(viaTree.triangle)) << viaTree.triangle;
            EXPECT_FLOAT_EQ(math3d::length(viaTree.normal - brute.normal), 0);
        }
        EXPECT_GT(hits, 50);  // the soups are dense enough for the comparison to mean something
    }
}

TEST(CollisionTree, CountsTheLeafTrianglesASweepExamines) {
    CollisionTree tree = soup(spreadTriangles(160, {1, 0, 0}, 5));  // 16 leaves of 10 along x
    ASSERT_EQ(tree.leaves().size(), 16u);
    stats3D()[0] = 0;
    CollisionRecord record;
    // A short line across the first triangle reaches its leaf only; one along the row
    // reaches all of them.
    sweepCollisionTree(tree, {}, {{0, 0.05f, -1}, {0, 0, 2}, 0}, record);
    EXPECT_EQ(stats3D()[0], 10);
    sweepCollisionTree(tree, {}, {{-1, 0.05f, 0}, {200, 0, 0}, 0}, record);
    EXPECT_EQ(stats3D()[0], 10 + 160);
    // A steep line's box spans the row, but the line itself crosses it near x = 100
    // only: just the leaves there are reached.
    stats3D()[0] = 0;
    sweepCollisionTree(tree, {}, {{-1, 5, 0}, {201, -10, 0}, 0}, record);
    EXPECT_GE(stats3D()[0], 20);
    EXPECT_LE(stats3D()[0], 40);
}

}  // namespace
}  // namespace tarsk::test
