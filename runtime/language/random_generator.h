// The language's pseudo-random generator: s <- 48271 * s mod (2^31 - 1).
#pragma once

#include <cstdint>

namespace tarsk {

constexpr int32_t kInitialRandomState = 4660;

int32_t randomState();
// Seeds with seed AND 0x7FFFFFFF, taken modulo 2^31 - 1; a zero result gives 1.
void seedRandom(int32_t seed);
// Advances the state one step and returns ((state AND 0xFFFF) + 0.5) / 65536.
float nextRandomUnit();

}  // namespace tarsk
