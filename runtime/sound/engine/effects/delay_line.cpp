#include <cmath>

#include "sound/engine/effects/effects.h"

namespace tarsk::audio {

float DelayLine::read(double delay) const {
  size_t n = data_.size();
  double clamped = std::fmin(std::fmax(delay, 1.0), static_cast<double>(n - 1));
  size_t whole = static_cast<size_t>(clamped);
  double frac = clamped - static_cast<double>(whole);
  size_t a = (write_ + n - whole) % n;
  size_t b = (a + n - 1) % n;
  return static_cast<float>(data_[a] * (1 - frac) + data_[b] * frac);
}

}  // namespace tarsk::audio
