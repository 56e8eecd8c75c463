// Chorus and flanger: a short delay swept by a low-frequency oscillator.
#include <cmath>

#include "sound/engine/effects/effects.h"

namespace tarsk::audio {

ModulationEffect::ModulationEffect(bool flanger) : flanger_(flanger) {
  if (flanger_) p_ = ModulationParams{50, 100, -50, 0.25f, 1, 2, 2};
}

bool ModulationEffect::set(const ModulationParams& p) {
  float maxDelay = flanger_ ? 4 : 20;
  if (p.wetDry < 0 || p.wetDry > 100 || p.depth < 0 || p.depth > 100 || p.feedback < -99 ||
      p.feedback > 99 || p.frequency < 0 || p.frequency > 10 || p.waveform < 0 || p.waveform > 1 ||
      p.delay < 0 || p.delay > maxDelay || p.phase < 0 || p.phase > 4)
    return false;
  p_ = p;
  return true;
}

void ModulationEffect::reset() {
  for (auto& l : lines_) l.clear();
  phase_ = 0;
}

void ModulationEffect::process(float* io, size_t frames, int channels, int rate) {
  if (static_cast<int>(lines_.size()) != channels || rate_ != rate) {
    lines_.assign(channels, DelayLine{});
    for (auto& l : lines_) l.resize(static_cast<size_t>(rate * 0.05) + 4);
    rate_ = rate;
  }
  float wet = p_.wetDry / 100, dry = 1 - wet, fb = p_.feedback / 100;
  double centre = p_.delay * rate / 1000.0;
  double sweep = centre * p_.depth / 100;
  double offset = (p_.phase - 2) * 0.25;  // -180 .. 180 degrees between the sides, in cycles
  double step = p_.frequency / rate;
  auto lfo = [this](double cycles) {
    double t = cycles - std::floor(cycles);
    return p_.waveform == 1 ? std::sin(2 * M_PI * t) : (t < 0.5 ? 4 * t - 1 : 3 - 4 * t);
  };
  for (size_t i = 0; i < frames; ++i) {
    float* f = io + i * channels;
    for (int c = 0; c < channels; ++c) {
      double d = 1 + centre + sweep * lfo(phase_ + (c & 1) * offset);
      float delayed = lines_[c].read(d);
      lines_[c].push(f[c] + fb * delayed);
      f[c] = dry * f[c] + wet * delayed;
    }
    phase_ += step;
    if (phase_ >= 1) phase_ -= 1;
  }
}

}  // namespace tarsk::audio
