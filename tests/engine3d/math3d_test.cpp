// The math core: the Euler convention and its round trip, every branch of the
// axes-to-quaternion conversion, decomposition and inverses.
#include <gtest/gtest.h>

#include <cmath>

#include "engine3d_fixture.h"
#include "runtime/engine3d/math3d.h"

namespace tarsk::test {
namespace {

using namespace math3d;

Matrix3 eulerAxes(float pitch, float yaw, float roll) {
    return rotationAxes(eulerToQuat(radians(pitch), radians(yaw), radians(roll)));
}

TEST(Math3D, EulerTurnsFollowTheLeftHandedConvention) {
    struct Case {
        float pitch, yaw, roll;
        Vec3 in, out;
    } cases[] = {
        {0, 90, 0, {0, 0, 1}, {-1, 0, 0}},  // yaw +90: forward turns left
        {90, 0, 0, {0, 0, 1}, {0, -1, 0}},  // positive pitch looks down
        {0, 0, 90, {1, 0, 0}, {0, 1, 0}},   // roll +90: x turns up
        {0, -90, 0, {1, 0, 0}, {0, 0, -1}},
        // Roll first, then pitch, then yaw: x rolls up to y, pitch 90 takes y to +z,
        // yaw 90 takes +z to -x.
        {90, 90, 90, {1, 0, 0}, {-1, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pitch << ", " << c.yaw << ", " << c.roll);
        expectNear(eulerAxes(c.pitch, c.yaw, c.roll) * c.in, c.out);
    }
}

TEST(Math3D, EulerAnglesRoundTripBelowNinetyDegreesOfPitch) {
    const Vec3 cases[] = {{30, 45, 60}, {-89, 179, -179}, {0, -135, 10}, {45, 0, -90}, {10, 20, 170}};
    for (Vec3 e : cases) {
        Euler back = quatToEuler(eulerToQuat(radians(e.x), radians(e.y), radians(e.z)));
        expectNear({degrees(back.pitch), degrees(back.yaw), degrees(back.roll)}, e, 2e-3f);
    }
}

TEST(Math3D, AxesToQuaternionTakesEachBranch) {
    // Each case's axes drive one branch: trace, then the largest of i.x, j.y, k.z.
    const float s = std::sqrt(0.5f);
    const Quat cases[] = {
        {1, 0, 0, 0},           // trace 3
        {0.8f, 0.6f, 0, 0},     // trace > 0
        {0, 1, 0, 0},           // 180 about x: i.x largest
        {0.1f, 0.9f, 0.3f, 0.3f},
        {0, 0, 1, 0},           // 180 about y: j.y largest
        {0.05f, 0.2f, 0.9f, 0.3f},
        {0, 0, 0, 1},           // 180 about z: k.z largest
        {0.1f, 0.3f, 0.2f, 0.9f},
        {0, s, s, 0},           // i.x == j.y: falls to the j.y branch
        {0, 0, s, s},           // j.y == k.z: falls to the k.z branch
    };
    for (Quat q : cases) {
        q = normalized(q);
        SCOPED_TRACE(testing::Message() << q.w << " " << q.x << " " << q.y << " " << q.z);
        Matrix3 axes = rotationAxes(q);
        Quat back = quatFromAxes(axes);
        Matrix3 again = rotationAxes(back);
        expectNear(again.i, axes.i);
        expectNear(again.j, axes.j);
        expectNear(again.k, axes.k);
        float sign = (back.w * q.w + back.x * q.x + back.y * q.y + back.z * q.z) < 0 ? -1.f : 1.f;
        EXPECT_NEAR(back.w * sign, q.w, kTolerance);
        EXPECT_NEAR(back.x * sign, q.x, kTolerance);
        EXPECT_NEAR(back.y * sign, q.y, kTolerance);
        EXPECT_NEAR(back.z * sign, q.z, kTolerance);
    }
}

TEST(Math3D, ProductAppliesTheLeftRotationFirst) {
    Quat a = eulerToQuat(0, radians(90), 0), b = eulerToQuat(radians(90), 0, 0);
    Matrix3 ab = rotationAxes(a * b), expected = rotationAxes(b) * rotationAxes(a);
    expectNear(ab.i, expected.i);
    expectNear(ab.j, expected.j);
    expectNear(ab.k, expected.k);
    Matrix3 inverse = rotationAxes(a) * rotationAxes(conjugate(a));
    expectNear(inverse.i, {1, 0, 0});
    expectNear(inverse.k, {0, 0, 1});
}

TEST(Math3D, DecomposeRecoversPositionScaleAndRotation) {
    Quat q = normalized(Quat{0.7f, 0.1f, -0.5f, 0.3f});
    Matrix3 r = rotationAxes(q);
    Transform t{{r.i * 2, r.j * 3, r.k * 0.5f}, {1, -2, 3}};
    Decomposition d = decompose(t);
    expectNear(d.position, {1, -2, 3});
    expectNear(d.scale, {2, 3, 0.5f});
    Matrix3 back = rotationAxes(d.rotation);
    expectNear(back.i, r.i);
    expectNear(back.j, r.j);
    expectNear(back.k, r.k);
    // Dependent axes give the identity rotation instead of NaN.
    Decomposition flat = decompose({{{1, 0, 0}, {0, 0, 2}, {0, 0, 1}}, {}});
    EXPECT_EQ(flat.rotation.w, 1);
}

TEST(Math3D, InverseAndCofactorUndoScaledRotations) {
    Matrix3 r = rotationAxes(eulerToQuat(0.3f, -1.1f, 2.0f));
    Transform t{{r.i * 2, r.j * 4, r.k * 0.25f}, {5, 6, 7}};
    Vec3 p{1, 2, 3};
    expectNear(applyPoint(inverse(t), applyPoint(t, p)), p);
    expectNear(applyPoint(compose(inverse(t), t), p), p);
    // Normals stay perpendicular to transformed tangents.
    Vec3 tangent{1, -1, 0}, normal{1, 1, 0};
    EXPECT_NEAR(dot(t.m * tangent, cofactor(t.m) * normal), 0, kTolerance);
    Matrix3 singular{{1, 0, 0}, {2, 0, 0}, {0, 0, 1}};
    expectNear(inverse(singular) * p, {0, 0, 0});
}

}  // namespace
}  // namespace tarsk::test
