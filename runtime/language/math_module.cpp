// The math command module: trigonometry in degrees, logarithms, random numbers.
#include <cmath>
#include <cstdint>
#include <utility>

#include "runtime/host/registry.h"
#include "runtime/language/random_generator.h"

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;
constexpr float kDegreesPerRadian = 57.29578f;

}  // namespace

using namespace tarsk;

extern "C" {

float _fsin(float degrees) { return std::sin(degrees * kRadiansPerDegree); }
float _fcos(float degrees) { return std::cos(degrees * kRadiansPerDegree); }
float _ftan(float degrees) { return std::tan(degrees * kRadiansPerDegree); }
float _fasin(float value) { return std::asin(value) * kDegreesPerRadian; }
float _facos(float value) { return std::acos(value) * kDegreesPerRadian; }
float _fatan(float value) { return std::atan(value) * kDegreesPerRadian; }
float _fatan2(float floata, float floatb) { return std::atan2(floata, floatb) * kDegreesPerRadian; }
float _fsqr(float value) { return std::sqrt(value); }
float _ffloor(float value) { return std::floor(value); }
float _fceil(float value) { return std::ceil(value); }
float _fexp(float value) { return std::exp(value); }
float _flog(float value) { return std::log(value); }
float _flog10(float value) { return std::log10(value); }

float _frnd(float from, float to) { return from + (to - from) * nextRandomUnit(); }

int32_t _frand(int32_t from, int32_t to) {
    if (from > to) std::swap(from, to);
    float span = float(int64_t(to) - int64_t(from) + 1);
    return int32_t(int64_t(from) + int64_t(nextRandomUnit() * span));
}

void _fseedrnd(int32_t seed) { seedRandom(seed); }
int32_t _frndseed() { return randomState(); }
}

namespace tarsk {

void math_link(Registrar add) {
    add("#Sin#degrees", reinterpret_cast<const void*>(_fsin));
    add("#Cos#degrees", reinterpret_cast<const void*>(_fcos));
    add("#Tan#degrees", reinterpret_cast<const void*>(_ftan));
    add("#ASin#float", reinterpret_cast<const void*>(_fasin));
    add("#ACos#float", reinterpret_cast<const void*>(_facos));
    add("#ATan#float", reinterpret_cast<const void*>(_fatan));
    add("#ATan2#floata#floatb", reinterpret_cast<const void*>(_fatan2));
    add("#Sqr#float", reinterpret_cast<const void*>(_fsqr));
    add("#Floor#float", reinterpret_cast<const void*>(_ffloor));
    add("#Ceil#float", reinterpret_cast<const void*>(_fceil));
    add("#Exp#float", reinterpret_cast<const void*>(_fexp));
    add("#Log#float", reinterpret_cast<const void*>(_flog));
    add("#Log10#float", reinterpret_cast<const void*>(_flog10));
    add("#Rnd#from#to=0", reinterpret_cast<const void*>(_frnd));
    add("%Rand%from%to=1", reinterpret_cast<const void*>(_frand));
    add("SeedRnd%seed", reinterpret_cast<const void*>(_fseedrnd));
    add("%RndSeed", reinterpret_cast<const void*>(_frndseed));
}

bool math_create() {
    seedRandom(kInitialRandomState);
    return true;
}

void math_destroy() {}

}  // namespace tarsk
