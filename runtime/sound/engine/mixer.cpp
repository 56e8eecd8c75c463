#include "sound/engine/mixer.h"

#include <algorithm>
#include <cstring>

namespace tarsk::audio {
namespace {
constexpr size_t kPullFrames = 1024;
}

void Mixer::add(const std::shared_ptr<Channel>& channel) {
  if (!contains(channel.get())) playing_.push_back(channel);
}

void Mixer::remove(const Channel* channel) {
  playing_.erase(std::remove_if(playing_.begin(), playing_.end(),
                                [channel](const auto& c) { return c.get() == channel; }),
                 playing_.end());
}

bool Mixer::contains(const Channel* channel) const {
  return std::any_of(playing_.begin(), playing_.end(),
                     [channel](const auto& c) { return c.get() == channel; });
}

void Mixer::render(float* out, size_t frames) {
  std::memset(out, 0, frames * 2 * sizeof(float));
  for (size_t i = 0; i < playing_.size();) {
    Channel& ch = *playing_[i];
    if (ch.state == ChannelState::Paused || ch.state == ChannelState::Stopped) { ++i; continue; }
    if (mixChannel(ch, out, frames)) {
      ++i;
    } else {
      ch.state = ChannelState::Stopped;
      playing_.erase(playing_.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
}

// Keeps the frame under the read position and appends newly pulled frames.
bool Mixer::refill(Channel& ch) {
  auto& m = ch.mix;
  int nc = ch.channels();
  if (m.buffer.size() < (kPullFrames + 2) * nc) m.buffer.assign((kPullFrames + 2) * nc, 0.0f);
  size_t keep = static_cast<size_t>(m.pos);
  if (keep > 0) {
    keep = std::min(keep, m.have);
    std::memmove(m.buffer.data(), m.buffer.data() + keep * nc, (m.have - keep) * nc * sizeof(float));
    m.have -= keep;
    m.pos -= static_cast<double>(keep);
  }
  size_t room = kPullFrames + 2 - m.have;
  size_t got = ch.pull(m.buffer.data() + m.have * nc, room);
  ch.recordOutput(m.buffer.data() + m.have * nc, got);
  m.have += got;
  return got > 0;
}

bool Mixer::mixChannel(Channel& ch, float* out, size_t frames) {
  auto& m = ch.mix;
  int nc = ch.channels();
  double step = std::max(1.0f, ch.frequency) / rate_;
  float left = ch.volume * (ch.pan > 0 ? 1 - ch.pan : 1);
  float right = ch.volume * (ch.pan < 0 ? 1 + ch.pan : 1);
  for (size_t i = 0; i < frames; ++i) {
    size_t idx = static_cast<size_t>(m.pos);
    while (idx + 1 >= m.have) {
      if (refill(ch)) {
        ch.state = ChannelState::Playing;
        idx = static_cast<size_t>(m.pos);
        continue;
      }
      if (!ch.ended()) {  // a fed channel waiting for data
        ch.state = ChannelState::Stalled;
        return true;
      }
      if (idx < m.have) break;  // the last frame: held, not interpolated
      return false;
    }
    double frac = m.pos - static_cast<double>(idx);
    const float* a = m.buffer.data() + idx * nc;
    const float* b = idx + 1 < m.have ? a + nc : a;
    float l, r;
    if (frac == 0) {
      l = a[0];
      r = nc > 1 ? a[1] : a[0];
    } else {
      float f = static_cast<float>(frac);
      l = a[0] + (b[0] - a[0]) * f;
      r = nc > 1 ? a[1] + (b[1] - a[1]) * f : l;
    }
    out[i * 2] += l * left;
    out[i * 2 + 1] += r * right;
    m.pos += step;
  }
  return true;
}

}  // namespace tarsk::audio
