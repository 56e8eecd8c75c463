#pragma once
// A channel playing a decoder: files, memory files, modules, CD tracks.
#include <memory>

#include "sound/engine/channel.h"
#include "sound/engine/source.h"

namespace tarsk::audio {

class SourceChannel final : public Channel {
public:
  explicit SourceChannel(std::unique_ptr<Source> source);
  int64_t lengthFrames() const override { return source_->lengthFrames(); }
  const Source& source() const { return *source_; }

protected:
  size_t produce(float* out, size_t frames) override;
  bool seekTo(int64_t frame) override { return source_->seek(frame); }

private:
  std::unique_ptr<Source> source_;
};

}  // namespace tarsk::audio
