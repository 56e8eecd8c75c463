// Compressor: a peak envelope with attack and release, gain reduction above the
// threshold by the ratio, a look-ahead delay and make-up gain.
#include <cmath>

#include "sound/engine/effects/effects.h"

namespace tarsk::audio {

bool CompressorEffect::set(const CompressorParams& p) {
  if (p.gain < -60 || p.gain > 60 || p.attack < 0.01f || p.attack > 500 || p.release < 50 ||
      p.release > 3000 || p.threshold < -60 || p.threshold > 0 || p.ratio < 1 || p.ratio > 100 ||
      p.predelay < 0 || p.predelay > 4)
    return false;
  p_ = p;
  return true;
}

void CompressorEffect::reset() {
  for (auto& l : lines_) l.clear();
  envelope_ = 0;
}

void CompressorEffect::process(float* io, size_t frames, int channels, int rate) {
  if (static_cast<int>(lines_.size()) != channels || rate_ != rate) {
    lines_.assign(channels, DelayLine{});
    for (auto& l : lines_) l.resize(static_cast<size_t>(rate * 0.005) + 2);
    rate_ = rate;
  }
  double attack = std::exp(-1.0 / (p_.attack * 0.001 * rate));
  double release = std::exp(-1.0 / (p_.release * 0.001 * rate));
  double makeup = std::pow(10.0, p_.gain / 20);
  double delay = p_.predelay * rate / 1000.0;
  for (size_t i = 0; i < frames; ++i) {
    float* f = io + i * channels;
    double peak = 0;
    for (int c = 0; c < channels; ++c) peak = std::fmax(peak, std::fabs(f[c]));
    double k = peak > envelope_ ? attack : release;
    envelope_ = k * envelope_ + (1 - k) * peak;
    double level = 20 * std::log10(std::fmax(envelope_, 1e-9));
    double over = level - p_.threshold;
    double reduction = over > 0 ? over * (1 - 1 / p_.ratio) : 0;
    double gain = makeup * std::pow(10.0, -reduction / 20);
    for (int c = 0; c < channels; ++c) {
      lines_[c].push(f[c]);
      float delayed = delay < 1 ? f[c] : lines_[c].read(delay + 1);
      f[c] = static_cast<float>(delayed * gain);
    }
  }
}

}  // namespace tarsk::audio
