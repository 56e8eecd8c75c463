#include "sample_format.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tarsk::bass {

void fromFloat(const float* in, void* out, size_t samples, int bytesPerSample) {
  if (bytesPerSample == 4) {
    std::memcpy(out, in, samples * sizeof(float));
  } else if (bytesPerSample == 2) {
    auto* o = static_cast<int16_t*>(out);
    for (size_t i = 0; i < samples; ++i)
      o[i] = static_cast<int16_t>(std::lrint(std::clamp(in[i], -1.0f, 32767.0f / 32768) * 32768));
  } else {
    auto* o = static_cast<uint8_t*>(out);
    for (size_t i = 0; i < samples; ++i)
      o[i] = static_cast<uint8_t>(std::lrint(std::clamp(in[i], -1.0f, 127.0f / 128) * 128) + 128);
  }
}

void toFloat(const void* in, float* out, size_t samples, int bytesPerSample) {
  if (bytesPerSample == 4) {
    std::memcpy(out, in, samples * sizeof(float));
  } else if (bytesPerSample == 2) {
    const auto* p = static_cast<const int16_t*>(in);
    for (size_t i = 0; i < samples; ++i) out[i] = p[i] / 32768.0f;
  } else {
    const auto* p = static_cast<const uint8_t*>(in);
    for (size_t i = 0; i < samples; ++i) out[i] = (p[i] - 128) / 128.0f;
  }
}

}  // namespace tarsk::bass
