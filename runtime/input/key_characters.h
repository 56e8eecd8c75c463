// The character a keyboard code gives with the shift, control and alt keys held.
#pragma once

#include <cstdint>

namespace tarsk {

class gxDevice;

// Cursor and editing keys give the fixed codes 1..6 and 28..31; other keys the
// character of the keyboard layout, 0 when there is none.
int32_t toCharacter(int32_t code, const gxDevice& keyboard);

}  // namespace tarsk
