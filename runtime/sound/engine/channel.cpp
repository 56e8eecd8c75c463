#include "sound/engine/channel.h"

#include <algorithm>
#include <cstring>

namespace tarsk::audio {
namespace {
constexpr size_t kRecentFrames = 16384;
}

Channel::Channel(int rate, int channels)
    : frequency(static_cast<float>(rate)), rate_(rate), channels_(channels) {}

size_t Channel::pull(float* out, size_t frames) {
  size_t done = 0;
  bool restarted = false;
  while (done < frames) {
    size_t n = produce(out + done * channels_, frames - done);
    done += n;
    position_ += static_cast<int64_t>(n);
    if (done == frames || !ended_ || !loop) break;
    // Looping: back to the start, unless the start gives nothing either.
    if (n == 0 && restarted) break;
    if (!seek(0)) break;
    restarted = n == 0;
  }
  for (auto& slot : effects_) slot.effect->process(out, done, channels_, rate_);
  return done;
}

bool Channel::seek(int64_t frame) {
  int64_t length = lengthFrames();
  if (frame < 0 || (length >= 0 && frame > length)) return false;
  int64_t before = position_;
  position_ = frame;  // seekTo may move it further
  if (!seekTo(frame)) { position_ = before; return false; }
  ended_ = false;
  mix.clear();
  return true;
}

void Channel::addEffect(std::shared_ptr<Effect> effect, int priority) {
  auto at = std::find_if(effects_.begin(), effects_.end(),
                         [priority](const Slot& s) { return s.priority < priority; });
  effects_.insert(at, Slot{std::move(effect), priority});
}

bool Channel::removeEffect(const Effect* effect) {
  auto it = std::find_if(effects_.begin(), effects_.end(),
                         [effect](const Slot& s) { return s.effect.get() == effect; });
  if (it == effects_.end()) return false;
  effects_.erase(it);
  return true;
}

void Channel::resetEffects() {
  for (auto& slot : effects_) slot.effect->reset();
}

size_t Channel::recentOutput(float* out, size_t frames) {
  if (recent_.empty()) recent_.assign(kRecentFrames * channels_, 0.0f);
  frames = std::min(frames, kRecentFrames);
  size_t available = std::min(frames, recentFilled_);
  size_t start = (recentWrite_ + kRecentFrames - available) % kRecentFrames;
  for (size_t i = 0; i < available; ++i) {
    size_t at = (start + i) % kRecentFrames;
    std::memcpy(out + i * channels_, recent_.data() + at * channels_, channels_ * sizeof(float));
  }
  return available;
}

void Channel::recordOutput(const float* data, size_t frames) {
  if (recent_.empty()) return;
  for (size_t i = 0; i < frames; ++i) {
    std::memcpy(recent_.data() + recentWrite_ * channels_, data + i * channels_,
                channels_ * sizeof(float));
    recentWrite_ = (recentWrite_ + 1) % kRecentFrames;
  }
  recentFilled_ = std::min(kRecentFrames, recentFilled_ + frames);
}

}  // namespace tarsk::audio
