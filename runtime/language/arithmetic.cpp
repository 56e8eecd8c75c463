// Arithmetic entry points of compiled code: absolute value, sign, remainder, power.
#include <cmath>
#include <cstdint>

#include "runtime/host/runtime_error.h"
#include "tarsk_abi.h"

extern "C" {

int32_t __tbAbs(int32_t value) { return value < 0 ? int32_t(0u - uint32_t(value)) : value; }

int32_t __tbSgn(int32_t value) { return (value > 0) - (value < 0); }

int32_t __tbMod(int32_t a, int32_t b) {
    if (b == 0) tarsk::runtimeError("Integer divide by zero");
    if (b == -1) return 0;  // also for the most negative a, whose quotient does not fit
    return a % b;
}

float __tbFAbs(float value) { return std::fabs(value); }

float __tbFSgn(float value) { return value > 0 ? 1.0f : value == 0 ? 0.0f : -1.0f; }

float __tbFMod(float a, float b) { return std::fmod(a, b); }

float __tbFPow(float a, float b) { return float(std::pow(double(a), double(b))); }
}
