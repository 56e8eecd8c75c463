#pragma once
// Tempo, pitch and rate changes of another channel's output (SoundTouch).
#include <memory>

#include "sound/engine/channel.h"

namespace soundtouch { class SoundTouch; }

namespace tarsk::audio {

class TempoChannel final : public Channel {
public:
  explicit TempoChannel(std::shared_ptr<Channel> source);
  ~TempoChannel() override;

  void setTempoPercent(float percent);  // -95 .. 5000: change of speed
  void setPitchSemitones(float semitones);
  void setRateFrequency(float hz);      // resampling rate of the source, in Hz
  float tempoPercent() const { return tempo_; }
  float pitchSemitones() const { return pitch_; }
  float rateFrequency() const { return rateHz_; }
  // The ratio of the source's time to this channel's time.
  float rateRatio() const;
  const std::shared_ptr<Channel>& source() const { return source_; }

  int64_t lengthFrames() const override { return source_->lengthFrames(); }
  int64_t positionFrames() const override;
  double positionStep() const override;

protected:
  size_t produce(float* out, size_t frames) override;
  bool seekTo(int64_t frame) override;

private:
  bool neutral() const;
  void apply();

  std::shared_ptr<Channel> source_;
  std::unique_ptr<soundtouch::SoundTouch> touch_;
  float tempo_ = 0, pitch_ = 0, rateHz_;
  bool flushed_ = false;
  bool inUse_ = false;  // SoundTouch holds data of the source
  std::vector<float> input_;
};

}  // namespace tarsk::audio
