#pragma once
// Measurements on decoded sound.
#include <cstddef>
#include <vector>

namespace tarsk::audio::testing {

// Peak absolute sample of one channel (every channel when channel < 0).
float peak(const std::vector<float>& interleaved, int channels, int channel = -1);
// Frequency of the strongest spectral component of a mono signal.
double dominantFrequency(const std::vector<float>& mono, int rate);
double decibels(double ratio);

}  // namespace tarsk::audio::testing
