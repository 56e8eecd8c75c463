// Writing values as C and assembler source text.
#pragma once

#include <cstdint>
#include <string>

namespace tarsk::compiler {

// A C string literal with every byte that is not plainly printable escaped.
std::string cStringLiteral(const std::string& text);
// An int32_t C expression, e.g. "5", "(-2147483647-1)".
std::string cInt(int32_t value);
// An exact float C literal (hexadecimal), e.g. "0x1.8p+0f".
std::string cFloat(float value);
// Assembler ".byte" lines for the text and its terminating NUL.
std::string asmBytes(const std::string& text);
// The bit pattern of a float as an int32_t.
int32_t floatBits(float value);

}  // namespace tarsk::compiler
