// Math commands, the random generator and the arithmetic entry points.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/host/runtime_error.h"
#include "runtime/language/random_generator.h"
#include "tarsk_commands.h"

namespace tarsk {
namespace {

TEST(RandomGenerator, FirstStepsFromTheStartState) {
    seedRandom(kInitialRandomState);
    EXPECT_EQ(_frndseed(), 4660);
    float first = _frnd(1.0f, 0.0f);  // from 1 to the default 0: 1 - u
    EXPECT_EQ(_frndseed(), 224942860);
    EXPECT_FLOAT_EQ(first, 1.0f - 23308.5f / 65536.0f);
    // The state sequence of s <- 48271 s mod (2^31 - 1).
    int64_t expected = 224942860;
    for (int i = 0; i < 1000; ++i) {
        expected = expected * 48271 % 2147483647;
        float u = _frnd(0.0f, 1.0f);
        ASSERT_EQ(_frndseed(), expected);
        ASSERT_EQ(u, (float(expected & 0xFFFF) + 0.5f) / 65536.0f);
    }
}

TEST(RandomGenerator, SeedsStayInRange) {
    const std::pair<int32_t, int32_t> cases[] = {
        {0, 1}, {INT32_MIN, 1}, {-1, 1}, {INT32_MAX, 1}, {12345, 12345}, {INT32_MIN + 7, 7},
    };
    for (auto [seed, state] : cases) {
        _fseedrnd(seed);
        EXPECT_EQ(_frndseed(), state) << seed;
    }
    _fseedrnd(INT32_MAX);
    _frnd(0.0f, 1.0f);
    EXPECT_NE(_frndseed(), 0);  // the generator never sticks at 0
}

TEST(RandomGenerator, RandCoversItsClosedRange) {
    _fseedrnd(99);
    int seen[6] = {};
    for (int i = 0; i < 600; ++i) {
        int32_t value = _frand(5, 1);
        ASSERT_GE(value, 1);
        ASSERT_LE(value, 5);
        ++seen[value];
    }
    for (int value = 1; value <= 5; ++value) EXPECT_GT(seen[value], 60) << value;
    EXPECT_EQ(_frand(3, 3), 3);
    for (int i = 0; i < 100; ++i) {
        int32_t wide = _frand(INT32_MIN, INT32_MAX);
        (void)wide;  // the full range must not overflow
        int32_t one = _frand(0, 1);
        ASSERT_TRUE(one == 0 || one == 1);
    }
}

TEST(MathCommands, DegreesAndIeeeResults) {
    EXPECT_NEAR(_fsin(90), 1.0f, 1e-6f);
    EXPECT_NEAR(_fcos(180), -1.0f, 1e-6f);
    EXPECT_NEAR(_ftan(45), 1.0f, 1e-6f);
    EXPECT_NEAR(_fasin(1), 90.0f, 1e-4f);
    EXPECT_NEAR(_facos(0), 90.0f, 1e-4f);
    EXPECT_NEAR(_fatan(1), 45.0f, 1e-4f);
    EXPECT_NEAR(_fatan2(1, 0), 90.0f, 1e-4f);
    EXPECT_NEAR(_fatan2(0, -1), 180.0f, 1e-4f);
    EXPECT_NEAR(_fatan2(-1, -1), -135.0f, 1e-4f);
    EXPECT_EQ(_fsqr(16), 4.0f);
    EXPECT_EQ(_ffloor(-1.5f), -2.0f);
    EXPECT_EQ(_fceil(-1.5f), -1.0f);
    EXPECT_NEAR(_fexp(1), 2.7182817f, 1e-6f);
    EXPECT_NEAR(_flog(_fexp(2)), 2.0f, 1e-6f);
    EXPECT_EQ(_flog10(1000), 3.0f);
    EXPECT_TRUE(std::isnan(_fsqr(-1)));
    EXPECT_TRUE(std::isnan(_fasin(2)));
    EXPECT_EQ(_flog(0), -std::numeric_limits<float>::infinity());
}

TEST(Arithmetic, IntegerEntryPoints) {
    EXPECT_EQ(__tbAbs(-5), 5);
    EXPECT_EQ(__tbAbs(INT32_MIN), INT32_MIN);
    EXPECT_EQ(__tbSgn(-9), -1);
    EXPECT_EQ(__tbSgn(0), 0);
    EXPECT_EQ(__tbSgn(3), 1);
    EXPECT_EQ(__tbMod(7, 3), 1);
    EXPECT_EQ(__tbMod(-7, 3), -1);
    EXPECT_EQ(__tbMod(7, -3), 1);
    EXPECT_EQ(__tbMod(INT32_MIN, -1), 0);
    try {
        __tbMod(1, 0);
        ADD_FAILURE() << "no error";
    } catch (const tbEx& error) {
        EXPECT_STREQ(error.message, "Integer divide by zero");
    }
}

TEST(Arithmetic, FloatEntryPoints) {
    EXPECT_EQ(__tbFAbs(-2.5f), 2.5f);
    EXPECT_EQ(__tbFSgn(0.1f), 1.0f);
    EXPECT_EQ(__tbFSgn(0.0f), 0.0f);
    EXPECT_EQ(__tbFSgn(-3.0f), -1.0f);
    EXPECT_EQ(__tbFMod(-7.5f, 2.0f), -1.5f);
    EXPECT_EQ(__tbFMod(7.5f, -2.0f), 1.5f);
    EXPECT_EQ(__tbFPow(2.0f, 10.0f), 1024.0f);
    EXPECT_EQ(__tbFPow(9.0f, 0.5f), 3.0f);
}

}  // namespace
}  // namespace tarsk
