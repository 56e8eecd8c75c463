#include "runtime/language/random_generator.h"

namespace tarsk {
namespace {

constexpr int32_t kModulus = 2147483647;
constexpr int32_t kMultiplier = 48271;
constexpr int32_t kQuotient = kModulus / kMultiplier;   // 44488
constexpr int32_t kRemainder = kModulus % kMultiplier;  // 3399

int32_t state = kInitialRandomState;

}  // namespace

int32_t randomState() { return state; }

void seedRandom(int32_t seed) {
    // 2^31 - 1 itself would fix the generator at 0.
    state = (seed & kModulus) % kModulus;
    if (state == 0) state = 1;
}

float nextRandomUnit() {
    state = kMultiplier * (state % kQuotient) - kRemainder * (state / kQuotient);
    if (state < 0) state += kModulus;
    return (float(state & 0xFFFF) + 0.5f) / 65536.0f;
}

}  // namespace tarsk
