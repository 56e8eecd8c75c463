// Gargle: amplitude modulation by a triangle or square wave.
#include <cmath>

#include "sound/engine/effects/effects.h"

namespace tarsk::audio {

bool GargleEffect::set(const GargleParams& p) {
  if (p.rateHz < 1 || p.rateHz > 1000 || p.waveShape < 0 || p.waveShape > 1) return false;
  p_ = p;
  return true;
}

void GargleEffect::process(float* io, size_t frames, int channels, int rate) {
  double step = static_cast<double>(p_.rateHz) / rate;
  for (size_t i = 0; i < frames; ++i) {
    double gain = p_.waveShape == 1 ? (phase_ < 0.5 ? 1.0 : 0.0)
                                    : (phase_ < 0.5 ? 2 * phase_ : 2 - 2 * phase_);
    for (int c = 0; c < channels; ++c) io[i * channels + c] *= static_cast<float>(gain);
    phase_ += step;
    if (phase_ >= 1) phase_ -= 1;
  }
}

}  // namespace tarsk::audio
