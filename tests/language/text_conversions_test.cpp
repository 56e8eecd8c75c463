#include "runtime/language/text_conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tarsk {
namespace {

TEST(FloatToText, FollowsTheSixDigitRules) {
    const std::pair<float, const char*> cases[] = {
        {1e9f, "1.e+009"},           {123456789.0f, "1.23457e+008"}, {0.0005f, "5.e-004"},
        {0.00001f, "1.e-005"},       {-0.00001f, "-1.e-005"},        {0.0001f, "1.e-004"},
        {12345678.0f, "12345700.0"}, {1000000.0f, "1000000.0"},      {100000.0f, "100000.0"},
        {99999999.0f, "1.e+008"},    {87654321.0f, "87654300.0"},     {0.0f, "0.0"},
        {-0.0f, "0.0"},              {1.0f, "1.0"},                  {0.5f, "0.5"},
        {3.14159274f, "3.14159"},    {0.001f, "0.001"},              {0.0123456f, "0.0123456"},
        {-2.5f, "-2.5"},             {123456.7f, "123457.0"},        {9.999996f, "10.0"},
        {1e-30f, "1.e-030"},         {3.4e38f, "3.4e+038"},          {-1.5e20f, "-1.5e+020"},
    };
    for (auto [value, text] : cases) EXPECT_EQ(floatToText(value), text) << value;
    EXPECT_EQ(floatToText(std::numeric_limits<float>::quiet_NaN()), "NaN");
    EXPECT_EQ(floatToText(std::numeric_limits<float>::infinity()), "Infinity");
    EXPECT_EQ(floatToText(-std::numeric_limits<float>::infinity()), "-Infinity");
}

TEST(TextToNumber, ReadsLeadingNumberAndIgnoresTheRest) {
    const std::pair<const char*, int32_t> ints[] = {
        {"  -12abc", -12}, {"abc", 0}, {"", 0}, {"+7", 7}, {"\t42 ", 42}, {"-", 0},
        {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {"4294967297", 1},
    };
    for (auto [text, value] : ints) EXPECT_EQ(textToInt(text), value) << text;
    const std::pair<const char*, float> floats[] = {
        {"1e3", 1000.0f}, {" -2.5x", -2.5f}, {".5", 0.5f}, {"3.", 3.0f}, {"1e", 1.0f},
        {"abc", 0.0f},    {"1.5E-2", 0.015f}, {"1e400", std::numeric_limits<float>::infinity()},
    };
    for (auto [text, value] : floats) EXPECT_EQ(textToFloat(text), value) << text;
}

TEST(IntToText, IsPlainDecimal) {
    EXPECT_EQ(intToText(0), "0");
    EXPECT_EQ(intToText(-45), "-45");
    EXPECT_EQ(intToText(INT32_MIN), "-2147483648");
}

}  // namespace
}  // namespace tarsk
