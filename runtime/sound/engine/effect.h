#pragma once
// A sound effect applied in place to a channel's interleaved float output.
#include <cstddef>

namespace tarsk::audio {

class Effect {
public:
  virtual ~Effect() = default;
  virtual void process(float* io, size_t frames, int channels, int rate) = 0;
  // Forgets the signal history (delay lines, envelopes), keeping the parameters.
  virtual void reset() = 0;
};

}  // namespace tarsk::audio
