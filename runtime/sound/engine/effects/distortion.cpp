// Distortion: low-pass, a soft clipper driven by the edge, a band-pass post
// equaliser mixed in, and the output gain.
#include <cmath>

#include "sound/engine/effects/effects.h"

namespace tarsk::audio {

bool DistortionEffect::set(const DistortionParams& p) {
  if (p.gain < -60 || p.gain > 0 || p.edge < 0 || p.edge > 100 || p.postEqCenter < 100 ||
      p.postEqCenter > 8000 || p.postEqBandwidth < 100 || p.postEqBandwidth > 8000 ||
      p.preLowpassCutoff < 100 || p.preLowpassCutoff > 8000)
    return false;
  p_ = p;
  rate_ = 0;  // redesign the filters
  return true;
}

void DistortionEffect::reset() {
  for (auto& b : lowpass_) b.clear();
  for (auto& b : band_) b.clear();
}

void DistortionEffect::process(float* io, size_t frames, int channels, int rate) {
  if (static_cast<int>(lowpass_.size()) != channels || rate_ != rate) {
    lowpass_.assign(channels, Biquad{});
    band_.assign(channels, Biquad{});
    double nyquist = rate * 0.45;
    for (int c = 0; c < channels; ++c) {
      lowpass_[c].lowpass(std::fmin(p_.preLowpassCutoff, nyquist), M_SQRT1_2, rate);
      band_[c].bandpass(std::fmin(p_.postEqCenter, nyquist), p_.postEqBandwidth, rate);
    }
    rate_ = rate;
  }
  double drive = 1 + p_.edge * 0.5;
  double norm = std::tanh(drive);
  double gain = std::pow(10.0, p_.gain / 20);
  for (size_t i = 0; i < frames * channels; ++i) {
    int c = static_cast<int>(i % channels);
    double x = lowpass_[c].run(io[i]);
    double shaped = std::tanh(drive * x) / norm;
    double post = 0.5 * shaped + 0.5 * band_[c].run(static_cast<float>(shaped));
    io[i] = static_cast<float>(post * gain);
  }
}

}  // namespace tarsk::audio
