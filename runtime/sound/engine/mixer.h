#pragma once
// Mixes the playing channels into interleaved stereo float at the output rate,
// resampling each by its frequency and applying its volume and pan.
#include <functional>
#include <memory>
#include <vector>

#include "sound/engine/channel.h"

namespace tarsk::audio {

class Mixer {
public:
  explicit Mixer(int rate) : rate_(rate) {}
  int rate() const { return rate_; }
  void setRate(int rate) { rate_ = rate; }

  void add(const std::shared_ptr<Channel>& channel);
  void remove(const Channel* channel);
  bool contains(const Channel* channel) const;
  void clear() { playing_.clear(); }
  size_t playingCount() const { return playing_.size(); }

  // Overwrites `out` with `frames` stereo frames. Channels that end are
  // stopped and dropped, then reported to the end callback.
  void render(float* out, size_t frames);
  std::function<void(Channel&)> onEnded;

private:
  // Mixes one channel into `out`; false when the channel has ended.
  bool mixChannel(Channel& channel, float* out, size_t frames);
  bool refill(Channel& channel);

  int rate_;
  std::vector<std::shared_ptr<Channel>> playing_;
};

}  // namespace tarsk::audio
