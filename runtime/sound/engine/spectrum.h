#pragma once
// Magnitude spectra of sample blocks, for level meters and analysers.
#include <cstddef>
#include <vector>

namespace tarsk::audio {

// `size` (a power of two, 256 .. 32768) samples in, size / 2 magnitudes out.
// A Hann window is applied unless `window` is false; a full-scale sine at a bin
// centre gives about 1.0 at that bin. `removeDc` subtracts the mean first.
std::vector<float> magnitudeSpectrum(const float* samples, size_t size, bool window = true,
                                     bool removeDc = false);

}  // namespace tarsk::audio
