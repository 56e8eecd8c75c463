#include "sound/engine/mixer.h"

#include <algorithm>
#include <cmath>
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
      std::shared_ptr<Channel> ended = playing_[i];
      playing_.erase(playing_.begin() + static_cast<std::ptrdiff_t>(i));
      if (onEnded) onEnded(*ended);
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
  size_t i = 0;
  while (i < frames) {
    size_t idx = static_cast<size_t>(m.pos);
    if (idx + 1 >= m.have) {
      if (refill(ch)) {
        ch.state = ChannelState::Playing;
        continue;
      }
      if (!ch.ended()) {  // a fed channel waiting for data
        ch.state = ChannelState::Stalled;
        return true;
      }
      if (idx >= m.have) return false;
      // The last frame: held, not interpolated.
      const float* a = m.buffer.data() + idx * nc;
      out[i * 2] += a[0] * left;
      out[i * 2 + 1] += (nc > 1 ? a[1] : a[0]) * right;
      m.pos += step;
      ++i;
      continue;
    }
    // Frames that can be made from the buffer as it is, in one pass.
    double span = (static_cast<double>(m.have - 1) - m.pos) / step;
    size_t run = std::min(frames - i, static_cast<size_t>(std::ceil(span)));
    if (run == 0) run = 1;
    const float* buf = m.buffer.data();
    float* o = out + i * 2;
    double pos = m.pos;
    if (step == 1.0 && pos == std::floor(pos)) {
      const float* a = buf + static_cast<size_t>(pos) * nc;
      if (nc == 1) {
        for (size_t k = 0; k < run; ++k) { o[k * 2] += a[k] * left; o[k * 2 + 1] += a[k] * right; }
      } else {
        for (size_t k = 0; k < run; ++k) { o[k * 2] += a[k * nc] * left; o[k * 2 + 1] += a[k * nc + 1] * right; }
      }
      pos += static_cast<double>(run);
    } else {
      for (size_t k = 0; k < run; ++k, pos += step) {
        size_t at = static_cast<size_t>(pos);
        float f = static_cast<float>(pos - static_cast<double>(at));
        const float* a = buf + at * nc;
        const float* b = a + nc;
        float l = a[0] + (b[0] - a[0]) * f;
        float r = nc > 1 ? a[1] + (b[1] - a[1]) * f : l;
        o[k * 2] += l * left;
        o[k * 2 + 1] += r * right;
      }
    }
    m.pos = pos;
    i += run;
  }
  return true;
}

}  // namespace tarsk::audio
