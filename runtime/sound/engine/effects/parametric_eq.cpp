// Parametric equaliser: one peaking band; bandwidth in semitones.
#include <cmath>

#include "sound/engine/effects/effects.h"

namespace tarsk::audio {

bool ParamEqEffect::set(const ParamEqParams& p) {
  if (p.center < 80 || p.center > 16000 || p.bandwidth < 1 || p.bandwidth > 36 || p.gain < -15 ||
      p.gain > 15)
    return false;
  p_ = p;
  dirty_ = true;
  return true;
}

void ParamEqEffect::reset() {
  for (auto& f : filters_) f.clear();
}

void ParamEqEffect::process(float* io, size_t frames, int channels, int rate) {
  if (static_cast<int>(filters_.size()) != channels) {
    filters_.assign(channels, Biquad{});
    dirty_ = true;
  }
  if (dirty_ || rate_ != rate) {
    for (auto& f : filters_) f.peaking(std::fmin(p_.center, rate * 0.45), p_.bandwidth / 12, p_.gain, rate);
    rate_ = rate;
    dirty_ = false;
  }
  for (size_t i = 0; i < frames * channels; ++i) io[i] = filters_[i % channels].run(io[i]);
}

}  // namespace tarsk::audio
