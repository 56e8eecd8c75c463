#pragma once
// Conversion between the engine's float frames and a channel's sample format.
#include <cstddef>
#include <cstdint>

namespace tarsk::bass {

// Writes `samples` samples as float (4), signed 16-bit (2) or unsigned 8-bit (1) bytes.
void fromFloat(const float* in, void* out, size_t samples, int bytesPerSample);
void toFloat(const void* in, float* out, size_t samples, int bytesPerSample);

}  // namespace tarsk::bass
