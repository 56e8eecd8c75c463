// Echo: a feedback delay per channel, optionally swapping sides on each repeat.
#include "sound/engine/effects/effects.h"

namespace tarsk::audio {

bool EchoEffect::set(const EchoParams& p) {
  if (p.wetDry < 0 || p.wetDry > 100 || p.feedback < 0 || p.feedback > 100 || p.leftDelay < 1 ||
      p.leftDelay > 2000 || p.rightDelay < 1 || p.rightDelay > 2000)
    return false;
  p_ = p;
  return true;
}

void EchoEffect::reset() {
  for (auto& l : lines_) l.clear();
}

void EchoEffect::process(float* io, size_t frames, int channels, int rate) {
  if (static_cast<int>(lines_.size()) != channels || rate_ != rate) {
    lines_.assign(channels, DelayLine{});
    for (auto& l : lines_) l.resize(static_cast<size_t>(rate * 2.0) + 1);
    rate_ = rate;
  }
  float wet = p_.wetDry / 100, dry = 1 - wet, fb = p_.feedback / 100;
  double delays[2] = {p_.leftDelay * rate / 1000.0, p_.rightDelay * rate / 1000.0};
  bool swap = p_.panDelay && channels == 2;
  std::vector<float> delayed(channels);
  for (size_t i = 0; i < frames; ++i) {
    float* f = io + i * channels;
    for (int c = 0; c < channels; ++c) delayed[c] = lines_[c].read(delays[c & 1]);
    for (int c = 0; c < channels; ++c) {
      float back = swap ? delayed[1 - c] : delayed[c];
      lines_[c].push(f[c] + fb * back);
      f[c] = dry * f[c] + wet * delayed[c];
    }
  }
}

}  // namespace tarsk::audio
