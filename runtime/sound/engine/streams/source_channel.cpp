#include "sound/engine/streams/source_channel.h"

namespace tarsk::audio {

SourceChannel::SourceChannel(std::unique_ptr<Source> source)
    : Channel(source->rate(), source->channels()), source_(std::move(source)) {}

size_t SourceChannel::produce(float* out, size_t frames) {
  size_t n = source_->read(out, frames);
  if (n < frames) setEnded(true);
  return n;
}

}  // namespace tarsk::audio
