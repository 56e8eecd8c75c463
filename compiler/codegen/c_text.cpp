#include "compiler/codegen/c_text.h"

#include <cstdio>
#include <cstring>

namespace tarsk::compiler {

std::string cStringLiteral(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\' || c == '?') {
            out += '\\';
            out += char(c);
        } else if (c >= 32 && c < 127) {
            out += char(c);
        } else {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\%03o", c);
            out += buffer;
        }
    }
    return out + "\"";
}

std::string cInt(int32_t value) {
    if (value == INT32_MIN) return "(-2147483647-1)";
    if (value < 0) return "(" + std::to_string(value) + ")";
    return std::to_string(value);
}

std::string cFloat(float value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%af", double(value));
    return value < 0 ? "(" + std::string(buffer) + ")" : buffer;
}

std::string asmBytes(const std::string& text) {
    std::string out;
    for (size_t i = 0; i <= text.size(); i += 16) {
        out += "\t.byte ";
        for (size_t k = i; k < i + 16 && k <= text.size(); ++k) {
            if (k > i) out += ",";
            out += std::to_string(k < text.size() ? static_cast<unsigned char>(text[k]) : 0);
        }
        out += "\n";
    }
    return out;
}

int32_t floatBits(float value) {
    int32_t bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

}  // namespace tarsk::compiler
