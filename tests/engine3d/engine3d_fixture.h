// Shared helpers of the 3D tests: an open world per test, string arguments, the
// runtime error a call raises and vector comparisons with a tolerance.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "runtime/engine3d/math3d.h"
#include "runtime/host/registry.h"
#include "tarsk_commands.h"
#include "tests/support/command_calls.h"

namespace tarsk {
bool tarsk3d_create();
void tarsk3d_destroy();
}  // namespace tarsk

namespace tarsk::test {

inline constexpr float kTolerance = 1e-4f;

inline void expectNear(math3d::Vec3 actual, math3d::Vec3 expected, float tolerance = kTolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline math3d::Vec3 tformed() { return {_ftformedx(), _ftformedy(), _ftformedz()}; }
inline math3d::Vec3 position(int32_t e, int32_t global) {
    return {_fentityx(e, global), _fentityy(e, global), _fentityz(e, global)};
}
inline math3d::Vec3 angles(int32_t e, int32_t global) {
    return {_fentitypitch(e, global), _fentityyaw(e, global), _fentityroll(e, global)};
}

// Every test runs in a freshly opened world, closed (freeing all entities) afterwards.
class World3D : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(tarsk3d_create()); }
    void TearDown() override { tarsk3d_destroy(); }
};

}  // namespace tarsk::test
