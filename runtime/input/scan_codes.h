// PC keyboard scan codes (set 1, +128 for extended keys) of the platform's key positions.
#pragma once

#include <SDL2/SDL_scancode.h>

#include <cstdint>

namespace tarsk {

// 0 for keys that have no scan code.
int32_t scanCodeOf(SDL_Scancode key);

}  // namespace tarsk
