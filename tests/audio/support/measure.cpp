#include "measure.h"

#include <cmath>

#include "sound/engine/spectrum.h"

namespace tarsk::audio::testing {

float peak(const std::vector<float>& x, int channels, int channel) {
  float p = 0;
  for (size_t i = 0; i < x.size(); ++i)
    if (channel < 0 || static_cast<int>(i % channels) == channel) p = std::fmax(p, std::fabs(x[i]));
  return p;
}

double dominantFrequency(const std::vector<float>& mono, int rate) {
  size_t n = 1;
  while (n * 2 <= std::min<size_t>(mono.size(), 32768)) n *= 2;
  auto bins = magnitudeSpectrum(mono.data(), n);
  size_t best = 1;
  for (size_t k = 1; k < bins.size(); ++k)
    if (bins[k] > bins[best]) best = k;
  return static_cast<double>(best) * rate / static_cast<double>(n);
}

double decibels(double ratio) { return 20 * std::log10(std::fmax(ratio, 1e-12)); }

}  // namespace tarsk::audio::testing
