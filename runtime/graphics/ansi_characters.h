// The characters of the bytes programs draw: ASCII, then the Windows-1252 characters.
#pragma once

#include <cstdint>

namespace tarsk {

// The Unicode character of a byte 32 ... 255; 0 for control codes and the five bytes
// 1252 leaves undefined.
uint32_t unicodeOfAnsi(uint32_t code);

}  // namespace tarsk
