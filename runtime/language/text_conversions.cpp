#include "runtime/language/text_conversions.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tarsk {
namespace {

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string intToText(int32_t value) {
    char buffer[16];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

int32_t textToInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    uint32_t value = 0;
    while (i < text.size() && isDigit(text[i])) value = value * 10 + uint32_t(text[i++] - '0');
    return int32_t(negative ? 0u - value : value);
}

float textToFloat(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    size_t start = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0.0f;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t mark = i++;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
        if (i < text.size() && isDigit(text[i])) {
            while (i < text.size() && isDigit(text[i])) ++i;
        } else {
            i = mark;  // an "e" without digits is not part of the number
        }
    }
    std::string number(text.substr(start, i - start));
    return float(std::strtod(number.c_str(), nullptr));
}

std::string floatToText(float value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";

    // "d.ddddde+XX": six significant digits rounded to nearest, and the exponent.
    char scientific[32];
    std::snprintf(scientific, sizeof scientific, "%.5e", std::fabs(double(value)));
    std::string digits{scientific[0]};
    digits.append(scientific + 2, 5);
    int p = std::atoi(scientific + 8) + 1;  // value = 0.d1...d6 x 10^p
    std::string sign = value < 0 ? "-" : "";

    auto trimZeros = [](std::string s, size_t keep) {
        while (s.size() > keep && s.back() == '0') s.pop_back();
        return s;
    };

    if (p <= -3 || p > 8) {
        char exponent[16];
        std::snprintf(exponent, sizeof exponent, "%c%03d", p - 1 < 0 ? '-' : '+', std::abs(p - 1));
        return sign + digits[0] + "." + trimZeros(digits.substr(1), 0) + "e" + exponent;
    }
    if (p <= 0) return sign + "0." + trimZeros(std::string(size_t(-p), '0') + digits, 1);
    if (p <= 5) return sign + digits.substr(0, size_t(p)) + "." + trimZeros(digits.substr(size_t(p)), 1);
    return sign + digits + std::string(size_t(p - 6), '0') + ".0";
}

}  // namespace tarsk
