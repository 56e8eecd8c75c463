#include "sound/engine/streams/push_channel.h"

#include <algorithm>

namespace tarsk::audio {

void PushChannel::push(const float* data, size_t frames, bool last) {
  queue_.insert(queue_.end(), data, data + frames * channels());
  if (last) last_ = true;
  if (frames > 0 || last) setEnded(false);
}

size_t PushChannel::produce(float* out, size_t frames) {
  size_t n = std::min(frames, queuedFrames());
  std::copy_n(queue_.begin(), n * channels(), out);
  queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(n * channels()));
  if (n < frames && last_) setEnded(true);
  return n;
}

bool PushChannel::seekTo(int64_t frame) {
  if (frame != 0) return false;
  queue_.clear();
  return true;
}

size_t CallbackChannel::produce(float* out, size_t frames) {
  if (last_) { setEnded(true); return 0; }
  size_t n = std::min(frames, producer_(out, frames, last_));
  if (last_ && n < frames) setEnded(true);
  return n;
}

}  // namespace tarsk::audio
