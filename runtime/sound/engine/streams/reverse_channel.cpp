#include "sound/engine/streams/reverse_channel.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tarsk::audio {

ReverseChannel::ReverseChannel(std::shared_ptr<Channel> source, float blockSeconds)
    : Channel(source->rate(), source->channels()), source_(std::move(source)) {
  blockFrames_ = static_cast<size_t>(std::clamp(blockSeconds, 0.01f, 60.0f) * rate());
  position_ = std::max<int64_t>(0, source_->lengthFrames());
}

void ReverseChannel::setDirection(int direction) {
  direction = direction < 0 ? -1 : 1;
  if (direction == direction_) return;
  direction_ = direction;
  block_.clear();
  blockPos_ = 0;
  sourceAligned_ = false;
  setEnded(false);
}

bool ReverseChannel::loadBlock() {
  int64_t start = std::max<int64_t>(0, position_ - static_cast<int64_t>(blockFrames_));
  size_t count = static_cast<size_t>(position_ - start);
  if (count == 0 || !source_->seek(start)) return false;
  int nc = channels();
  block_.resize(count * nc);
  size_t got = source_->pull(block_.data(), count);
  block_.resize(got * nc);
  for (size_t i = 0, j = got; i + 1 < j; ++i, --j)
    std::swap_ranges(block_.begin() + static_cast<std::ptrdiff_t>(i * nc),
                     block_.begin() + static_cast<std::ptrdiff_t>((i + 1) * nc),
                     block_.begin() + static_cast<std::ptrdiff_t>((j - 1) * nc));
  // A source shorter than its stated length: skip the missing tail.
  blockPos_ = 0;
  position_ = start + static_cast<int64_t>(got);
  return got > 0;
}

size_t ReverseChannel::produce(float* out, size_t frames) {
  int nc = channels();
  if (direction_ > 0) {
    if (!sourceAligned_) {
      if (!source_->seek(position_)) { setEnded(true); return 0; }
      sourceAligned_ = true;
    }
    size_t n = source_->pull(out, frames);
    if (n < frames && source_->ended()) setEnded(true);
    return n;
  }
  size_t done = 0;
  while (done < frames) {
    if (blockPos_ * nc >= block_.size()) {
      if (!loadBlock()) { setEnded(true); break; }
    }
    size_t n = std::min(frames - done, block_.size() / nc - blockPos_);
    std::memcpy(out + done * nc, block_.data() + blockPos_ * nc, n * nc * sizeof(float));
    blockPos_ += n;
    done += n;
    position_ -= static_cast<int64_t>(n);
  }
  // Channel::pull adds the frames given out; going backwards they count down.
  position_ -= static_cast<int64_t>(done);
  return done;
}

bool ReverseChannel::seekTo(int64_t frame) {
  block_.clear();
  blockPos_ = 0;
  sourceAligned_ = false;
  // Looping backwards restarts at the end.
  if (direction_ < 0 && frame == 0 && ended()) frame = std::max<int64_t>(0, lengthFrames());
  position_ = frame;
  return true;
}

}  // namespace tarsk::audio
