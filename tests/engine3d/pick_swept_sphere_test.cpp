// The swept-sphere tests: acceptance of a contact, spheres, triangles with their edges
// and corners, and boxes in a rotated frame.
#include <gtest/gtest.h>

#include <cmath>

#include "engine3d_fixture.h"
#include "runtime/engine3d/swept_sphere.h"

namespace tarsk::test {
namespace {

using math3d::Vec3;

const SweptSphere kDown{{0, 10, 0}, {0, -20, 0}, 0};

SweptSphere down(Vec3 from, float radius) { return {from, {0, -20, 0}, radius}; }

TEST(SweptSphere, AcceptsNearerOrEqualContactsFacingTheLineAndBarelyBehindTheStart) {
    struct Case {
        float recordTime, t;
        Vec3 n;
        bool taken;
    } cases[] = {
        {1, 0.5f, {0, 1, 0}, true},
        {0.5f, 0.5f, {0, 1, 0}, true},  // equal time: the later contact replaces it
        {0.4f, 0.5f, {0, 1, 0}, false},
        {1, 0.5f, {0, -1, 0}, false},  // facing away
        {1, 0.5f, {1, 0, 0}, false},   // along the line
        {1, -0.00004f, {0, 1, 0}, true},  // −t·(n·d) = −0.0008
        {1, -0.0001f, {0, 1, 0}, false},
    };
    for (const Case& c : cases) {
        CollisionRecord record;
        record.time = c.recordTime;
        EXPECT_EQ(acceptContact(kDown, c.t, c.n, record), c.taken) << c.t;
        EXPECT_EQ(record.time, c.taken ? c.t : c.recordTime);
    }
}

TEST(SweptSphere, SpheresAreHitAtTheSumOfTheRadii) {
    struct Case {
        SweptSphere line;
        bool hit;
        float time;
        Vec3 normal;
    } cases[] = {
        {kDown, true, 0.45f, {0, 1, 0}},
        {down({0, 10, 0}, 1), true, 0.4f, {0, 1, 0}},
        {down({1.9f, 10, 0}, 1), true, (10 - std::sqrt(4 - 1.9f * 1.9f)) / 20, {0.95f, std::sqrt(1 - 0.95f * 0.95f), 0}},
        {down({2.1f, 10, 0}, 1), false, 1, {}},
        {down({0, 0.5f, 0}, 0), false, 1, {}},     // starts inside
        {down({0, -3, 0}, 0), false, 1, {}},       // moving away below it
        {{{0, 10, 0}, {0, 0, 0}, 1}, false, 1, {}},  // no motion
    };
    for (const Case& c : cases) {
        CollisionRecord record;
        EXPECT_EQ(sweepSphere(c.line, {0, 0, 0}, 1, record), c.hit) << c.line.origin.x << " " << c.line.origin.y;
        EXPECT_NEAR(record.time, c.time, 1e-5f);
        expectNear(record.normal, c.normal);
    }
}

TEST(SweptSphere, TrianglesAreHitOnTheFrontFaceTheirEdgesAndCorners) {
    // A floor triangle facing up, its corner v0 at (−10, 0, −10).
    Vec3 v0{-10, 0, -10}, v1{-10, 0, 30}, v2{30, 0, -10};
    float edgeRise = std::sqrt(1 - 0.25f), cornerRise = std::sqrt(0.5f);
    struct Case {
        SweptSphere line;
        bool hit;
        float time;
        Vec3 normal;
    } cases[] = {
        {kDown, true, 0.5f, {0, 1, 0}},
        {down({0, 10, 0}, 1), true, 0.45f, {0, 1, 0}},
        {{{0, -10, 0}, {0, 20, 0}, 0}, false, 1, {}},            // from behind
        {{{0, -10, 0}, {0, 20, 0}, 1}, false, 1, {}},
        {down({-10.5f, 10, 0}, 0), false, 1, {}},                // beside an edge: a line misses
        {down({-10.5f, 10, 0}, 1), true, (10 - edgeRise) / 20, {-0.5f, edgeRise, 0}},  // the edge as a cylinder
        {down({-10.5f, 10, -10.5f}, 1), true, (10 - cornerRise) / 20, {-0.5f, cornerRise, -0.5f}},  // a corner
        {down({-11.5f, 10, 0}, 1), false, 1, {}},
    };
    for (const Case& c : cases) {
        CollisionRecord record;
        EXPECT_EQ(sweepTriangle(c.line, v0, v1, v2, record), c.hit) << c.line.origin.x << " " << c.line.radius;
        EXPECT_NEAR(record.time, c.time, 1e-5f);
        expectNear(record.normal, c.normal);
    }
    CollisionRecord record;
    EXPECT_FALSE(sweepTriangle(kDown, v0, v0, v2, record));  // degenerate
    record.time = 0.4f;
    EXPECT_FALSE(sweepTriangle(kDown, v0, v1, v2, record));  // later than the best contact
    EXPECT_EQ(record.time, 0.4f);
}

TEST(SweptSphere, BoxesAreHitInTheirOwnFrameAndGiveWorldNormals) {
    math3d::Transform frame;
    frame.t = {0, 0, 0};
    Vec3 lo{-1, -1, -1}, hi{1, 1, 1};
    float edgeRise = std::sqrt(1 - 0.25f);
    struct Case {
        SweptSphere line;
        bool hit;
        float time;
        Vec3 normal;
    } cases[] = {
        {kDown, true, 0.45f, {0, 1, 0}},
        {down({0, 10, 0}, 1), true, 0.4f, {0, 1, 0}},
        {down({1.5f, 10, 0}, 0), false, 1, {}},
        {down({1.5f, 10, 0}, 1), true, (9 - edgeRise) / 20, {0.5f, edgeRise, 0}},
        {{{-10, 0, 0}, {20, 0, 0}, 0}, true, 0.45f, {-1, 0, 0}},
        {down({0, 0, 0}, 0), false, 1, {}},  // from inside
    };
    for (const Case& c : cases) {
        CollisionRecord record;
        EXPECT_EQ(sweepBox(c.line, frame, lo, hi, record), c.hit) << c.line.origin.x << " " << c.line.radius;
        EXPECT_NEAR(record.time, c.time, 1e-5f);
        expectNear(record.normal, c.normal);
    }
    // Pitched 90° and scaled: the top face is the box's −z face, scale is dropped, and
    // the normal comes back in world space.
    math3d::Transform turned;
    turned.m = math3d::rotationAxes(math3d::eulerToQuat(math3d::radians(90), 0, 0));
    turned.m.i = turned.m.i * 5;
    turned.m.j = turned.m.j * 5;
    turned.m.k = turned.m.k * 5;
    turned.t = {0, 2, 0};
    CollisionRecord record;
    EXPECT_TRUE(sweepBox(kDown, unscaledFrame(turned), {-1, -1, -3}, {1, 1, 1}, record));
    EXPECT_NEAR(record.time, (10 - 2 - 3) / 20.0f, 1e-5f);
    expectNear(record.normal, {0, 1, 0});
    // A box entered later than the best contact is not hit and keeps the record.
    record.time = 0.2f;
    record.normal = {1, 0, 0};
    EXPECT_FALSE(sweepBox(kDown, frame, lo, hi, record));
    EXPECT_EQ(record.time, 0.2f);
    expectNear(record.normal, {1, 0, 0});
}

}  // namespace
}  // namespace tarsk::test
