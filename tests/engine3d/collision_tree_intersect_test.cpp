// Triangle against triangle: crossing, touching, coplanar and degenerate cases.
#include <gtest/gtest.h>

#include "runtime/engine3d/collision_tree_intersect.h"

namespace tarsk::test {
namespace {

using math3d::Vec3;

TEST(TrianglesIntersect, DecidesCrossingTouchingCoplanarAndDegenerateCases) {
    const Vec3 floor[3] = {{-1, 0, -1}, {-1, 0, 1}, {1, 0, -1}};
    struct Case {
        const char* what;
        Vec3 q[3];
        bool meet;
    } cases[] = {
        {"standing through it", {{-0.5f, -1, -0.5f}, {-0.5f, 1, -0.5f}, {0, 1, -0.5f}}, true},
        {"standing beside it", {{2, -1, 0}, {2, 1, 0}, {3, 1, 0}}, false},
        {"above it, parallel", {{-1, 0.5f, -1}, {-1, 0.5f, 1}, {1, 0.5f, -1}}, false},
        {"touching with a corner", {{-0.5f, 0, -0.5f}, {-0.5f, 1, -0.5f}, {0, 1, -0.5f}}, true},
        {"an edge lying inside it", {{-0.8f, 0, -0.5f}, {-0.2f, 0, -0.5f}, {-0.5f, 1, -0.5f}}, true},
        {"coplanar and overlapping", {{0, 0, -0.5f}, {-2, 0, 0}, {0, 0, 3}}, true},
        {"coplanar and inside", {{-0.8f, 0, -0.8f}, {-0.8f, 0, -0.5f}, {-0.5f, 0, -0.8f}}, true},
        {"coplanar and apart", {{1, 0, 1}, {2, 0, 1}, {2, 0, 2}}, false},
        {"degenerate", {{-0.5f, -1, -0.5f}, {-0.5f, 1, -0.5f}, {-0.5f, 1, -0.5f}}, false},
        {"spanning it without touching", {{-5, 1, 0}, {5, 1, 0}, {0, 0.1f, 5}}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(trianglesIntersect(floor, c.q), c.meet) << c.what;
        EXPECT_EQ(trianglesIntersect(c.q, floor), c.meet) << c.what << " (swapped)";
    }
}

}  // namespace
}  // namespace tarsk::test
