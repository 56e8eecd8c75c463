// TForm between entity spaces, direction angles, DeltaYaw/DeltaPitch ranges,
// distances and matrix elements.
#include <cmath>

#include "engine3d_fixture.h"

namespace tarsk::test {
namespace {

using Spaces = World3D;
using math3d::Vec3;

TEST_F(Spaces, WorldToWorldLeavesPointsAndVectorsAndNormalizesNormals) {
    _ftformpoint(1, -2, 3, 0, 0);
    expectNear(tformed(), {1, -2, 3});
    _ftformvector(4, 5, 6, 0, 0);
    expectNear(tformed(), {4, 5, 6});
    _ftformnormal(0, 3, 4, 0, 0);
    expectNear(tformed(), {0, 0.6f, 0.8f});
    _ftformnormal(0, 0, 0, 0, 0);  // no NaN from a zero normal
    expectNear(tformed(), {0, 0, 0});
}

TEST_F(Spaces, EulerTurnsSeenThroughTFormVector) {
    struct Case {
        Vec3 angles, out;
    } cases[] = {{{0, 90, 0}, {-1, 0, 0}}, {{90, 0, 0}, {0, -1, 0}}, {{0, 0, 90}, {0, 0, 1}}};
    for (const Case& c : cases) {
        int32_t e = _fcreatepivot(0);
        _frotateentity(e, c.angles.x, c.angles.y, c.angles.z, 0);
        _ftformvector(0, 0, 1, e, 0);
        expectNear(tformed(), c.out);
    }
}

TEST_F(Spaces, PointsVectorsAndNormalsBetweenScaledEntities) {
    int32_t a = _fcreatepivot(0), b = _fcreatepivot(0);
    _fpositionentity(a, 10, 0, 0, 0);
    _fscaleentity(a, 2, 1, 1, 0);
    _fpositionentity(b, 0, 5, 0, 0);
    _frotateentity(b, 0, 90, 0, 0);
    _fscaleentity(b, 1, 1, 4, 0);
    _ftformpoint(1, 1, 1, a, b);  // world (12, 1, 1); in b: x' = z, z' = -x / 4
    expectNear(tformed(), {1, -4, -3});
    _ftformvector(1, 1, 1, a, b);  // no translation
    expectNear(tformed(), {1, 1, -0.5f});
    _ftformpoint(1, -4, -3, b, a);  // and back
    expectNear(tformed(), {1, 1, 1});
    // A normal of the plane x = y in a stays perpendicular to it in world space.
    _ftformnormal(1, -1, 0, a, 0);
    Vec3 n = tformed();
    EXPECT_NEAR(math3d::length(n), 1, kTolerance);
    _ftformvector(1, 1, 0, a, 0);
    EXPECT_NEAR(math3d::dot(n, tformed()), 0, kTolerance);
    EXPECT_EQ(errorOf([&] { _ftformpoint(0, 0, 0, a + 16, 0); }), "Entity does not exist");
}

TEST_F(Spaces, VectorAnglesAndDeltaRanges) {
    EXPECT_NEAR(_fvectoryaw(1, 0, 0), -90, 1e-4f);
    EXPECT_NEAR(_fvectorpitch(0, 1, 0), -90, 1e-4f);
    EXPECT_NEAR(_fvectoryaw(0, 0, -1), -180, 1e-4f);
    int32_t src = _fcreatepivot(0), dest = _fcreatepivot(0);
    for (float yaw : {-179.f, -90.f, 0.f, 45.f, 179.f, 180.f}) {
        _frotateentity(src, 0, yaw, 0, 0);
        for (Vec3 d : {Vec3{0, 0, -1}, Vec3{1, 0, 0}, Vec3{-1, 0, 0.01f}, Vec3{0.3f, 2, 1}}) {
            _fpositionentity(dest, d.x, d.y, d.z, 0);
            float delta = _fdeltayaw(src, dest), pitch = _fdeltapitch(src, dest);
            EXPECT_GE(delta, -180);
            EXPECT_LT(delta, 180);
            EXPECT_GE(pitch, -180);
            EXPECT_LT(pitch, 180);
            // Turning by the delta faces the target's bearing.
            int32_t turned = _fcopyentity(src, 0);
            _fturnentity(turned, 0, delta, 0, 0);
            EXPECT_NEAR(_fdeltayaw(turned, dest), 0, 1e-2f);
            _ffreeentity(turned);
        }
    }
    _fpositionentity(dest, 3, 4, 0, 0);
    _fpositionentity(src, 0, 0, 0, 0);
    EXPECT_NEAR(_fentitydistance(src, dest), 5, kTolerance);
}

TEST_F(Spaces, MatrixElementsAreAxesThenTranslation) {
    int32_t e = _fcreatepivot(0);
    _fpositionentity(e, 7, 8, 9, 0);
    _frotateentity(e, 0, 90, 0, 0);
    _fscaleentity(e, 2, 2, 2, 0);
    EXPECT_NEAR(_fgetmatelement(e, 0, 2), 2, kTolerance);   // i = (0, 0, 2)
    EXPECT_NEAR(_fgetmatelement(e, 2, 0), -2, kTolerance);  // k = (-2, 0, 0)
    EXPECT_NEAR(_fgetmatelement(e, 1, 1), 2, kTolerance);
    for (int32_t row : {3, 7}) EXPECT_EQ(_fgetmatelement(e, row, 1), 8);
    EXPECT_EQ(errorOf([&] { _fgetmatelement(e, -1, 0); }), "Matrix element out of range");
    EXPECT_EQ(errorOf([&] { _fgetmatelement(e, 0, 3); }), "Matrix element out of range");
}

}  // namespace
}  // namespace tarsk::test
