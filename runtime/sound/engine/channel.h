#pragma once
// A channel: anything that produces sound for the mixer or for a caller that
// pulls decoded data (a decode-only channel), with its playback settings.
#include <cstdint>
#include <memory>
#include <vector>

#include "sound/engine/effect.h"

namespace tarsk::audio {

enum class ChannelState { Stopped, Playing, Stalled, Paused };

class Channel {
public:
  Channel(int rate, int channels);
  virtual ~Channel() = default;
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  int rate() const { return rate_; }
  int channels() const { return channels_; }

  // Up to `frames` frames with the effects applied. Fewer only at the end
  // (ended() then tells) or, for fed channels, when no data is waiting yet.
  size_t pull(float* out, size_t frames);
  bool ended() const { return ended_; }

  virtual int64_t lengthFrames() const = 0;  // -1: unknown
  virtual int64_t positionFrames() const { return position_; }
  // How far the position moves for each frame this channel gives out.
  virtual double positionStep() const { return 1.0; }
  bool seek(int64_t frame);

  // Effects run in the order of their priority, highest first.
  void addEffect(std::shared_ptr<Effect> effect, int priority);
  bool removeEffect(const Effect* effect);
  void resetEffects();

  // The most recent output (after effects), for analysers: fills `out` with the
  // last `frames` frames, older data first; 0 until the channel has played.
  size_t recentOutput(float* out, size_t frames);
  void recordOutput(const float* data, size_t frames);
  // Frames of recent output held for analysers.
  size_t recentAvailable() const { return recent_.empty() ? 0 : recentFilled_; }

  // Settings the mixer applies to a playing channel.
  float frequency;   // Hz, the rate the data is played at
  float volume = 1;  // linear gain
  float pan = 0;     // -1 left .. 1 right
  bool loop = false;
  ChannelState state = ChannelState::Stopped;

  // The mixer's resampling state.
  struct MixState {
    std::vector<float> buffer;
    size_t have = 0;
    double pos = 0;
    void clear() { have = 0; pos = 0; }
  } mix;

protected:
  virtual size_t produce(float* out, size_t frames) = 0;
  virtual bool seekTo(int64_t frame) = 0;
  void setEnded(bool ended) { ended_ = ended; }
  int64_t position_ = 0;

private:
  int rate_;
  int channels_;
  bool ended_ = false;
  struct Slot { std::shared_ptr<Effect> effect; int priority; };
  std::vector<Slot> effects_;
  std::vector<float> recent_;  // ring of frames, allocated on first query
  size_t recentWrite_ = 0;
  size_t recentFilled_ = 0;
};

}  // namespace tarsk::audio
