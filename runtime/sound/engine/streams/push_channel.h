#pragma once
// A channel fed with data by its owner (push streams, recordings, callbacks).
#include <deque>
#include <functional>

#include "sound/engine/channel.h"

namespace tarsk::audio {

class PushChannel final : public Channel {
public:
  PushChannel(int rate, int channels) : Channel(rate, channels) {}
  // Appends interleaved frames; `last` marks the end of the data.
  void push(const float* data, size_t frames, bool last);
  size_t queuedFrames() const { return queue_.size() / channels(); }
  void clear() { queue_.clear(); }
  int64_t lengthFrames() const override { return -1; }

protected:
  size_t produce(float* out, size_t frames) override;
  bool seekTo(int64_t frame) override;

private:
  std::deque<float> queue_;
  bool last_ = false;
};

// A channel that asks a callback for its data, which returns the frames it wrote
// and sets `last` when there is no more.
class CallbackChannel final : public Channel {
public:
  using Producer = std::function<size_t(float* out, size_t frames, bool& last)>;
  CallbackChannel(int rate, int channels, Producer producer)
      : Channel(rate, channels), producer_(std::move(producer)) {}
  int64_t lengthFrames() const override { return -1; }

protected:
  size_t produce(float* out, size_t frames) override;
  bool seekTo(int64_t frame) override { return frame == 0; }

private:
  Producer producer_;
  bool last_ = false;
};

}  // namespace tarsk::audio
