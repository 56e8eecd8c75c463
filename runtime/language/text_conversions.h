// The language's conversions between numbers and text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarsk {

std::string intToText(int32_t value);
// Leading white space, optional sign, decimal digits; wraps on overflow; no digits gives 0.
int32_t textToInt(std::string_view text);
// Decimal text (optional fraction and exponent) computed in double, rounded to float.
float textToFloat(std::string_view text);
// Six significant digits: "1.0", "0.001", "12345700.0", "1.23457e+008", "NaN", "-Infinity".
std::string floatToText(float value);

}  // namespace tarsk
