#include "sound/engine/spectrum.h"

#include <cmath>
#include <complex>

namespace tarsk::audio {

std::vector<float> magnitudeSpectrum(const float* samples, size_t size, bool window, bool removeDc) {
  std::vector<std::complex<double>> x(size);
  double mean = 0;
  if (removeDc) {
    for (size_t i = 0; i < size; ++i) mean += samples[i];
    mean /= static_cast<double>(size);
  }
  double gainSum = 0;
  for (size_t i = 0; i < size; ++i) {
    double w = window ? 0.5 - 0.5 * std::cos(2 * M_PI * static_cast<double>(i) / size) : 1.0;
    gainSum += w;
    x[i] = (samples[i] - mean) * w;
  }
  // Iterative radix-2 transform.
  for (size_t i = 1, j = 0; i < size; ++i) {
    size_t bit = size >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(x[i], x[j]);
  }
  for (size_t len = 2; len <= size; len <<= 1) {
    std::complex<double> w1 = std::polar(1.0, -2 * M_PI / static_cast<double>(len));
    for (size_t i = 0; i < size; i += len) {
      std::complex<double> w = 1;
      for (size_t k = 0; k < len / 2; ++k) {
        auto u = x[i + k], v = x[i + k + len / 2] * w;
        x[i + k] = u + v;
        x[i + k + len / 2] = u - v;
        w *= w1;
      }
    }
  }
  std::vector<float> out(size / 2);
  double scale = 2.0 / gainSum;
  for (size_t i = 0; i < size / 2; ++i) out[i] = static_cast<float>(std::abs(x[i]) * scale);
  return out;
}

}  // namespace tarsk::audio
