#pragma once
// Plays another channel backwards (or forwards), decoding it in blocks.
#include <memory>
#include <vector>

#include "sound/engine/channel.h"

namespace tarsk::audio {

class ReverseChannel final : public Channel {
public:
  // The source must have a known length; playing starts at its end, backwards.
  ReverseChannel(std::shared_ptr<Channel> source, float blockSeconds);
  // -1 backwards, 1 forwards; the position is kept.
  void setDirection(int direction);
  int direction() const { return direction_; }
  const std::shared_ptr<Channel>& source() const { return source_; }
  int64_t lengthFrames() const override { return source_->lengthFrames(); }
  double positionStep() const override { return direction_; }

protected:
  size_t produce(float* out, size_t frames) override;
  bool seekTo(int64_t frame) override;

private:
  bool loadBlock();

  std::shared_ptr<Channel> source_;
  size_t blockFrames_;
  int direction_ = -1;
  std::vector<float> block_;  // reversed frames
  size_t blockPos_ = 0;       // frames of block_ already given out
  bool sourceAligned_ = false;
};

}  // namespace tarsk::audio
