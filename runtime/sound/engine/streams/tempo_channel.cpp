#include "sound/engine/streams/tempo_channel.h"

#include <SoundTouch.h>

#include <algorithm>
#include <cmath>

namespace tarsk::audio {
namespace {
constexpr size_t kInputBlock = 2048;
}

TempoChannel::TempoChannel(std::shared_ptr<Channel> source)
    : Channel(source->rate(), source->channels()), source_(std::move(source)),
      touch_(std::make_unique<soundtouch::SoundTouch>()), rateHz_(static_cast<float>(rate())) {
  touch_->setSampleRate(static_cast<unsigned>(rate()));
  touch_->setChannels(static_cast<unsigned>(channels()));
  input_.resize(kInputBlock * channels());
  apply();
}

TempoChannel::~TempoChannel() = default;

void TempoChannel::setTempoPercent(float percent) {
  tempo_ = std::clamp(percent, -95.0f, 5000.0f);
  apply();
}
void TempoChannel::setPitchSemitones(float semitones) {
  pitch_ = std::clamp(semitones, -60.0f, 60.0f);
  apply();
}
void TempoChannel::setRateFrequency(float hz) {
  rateHz_ = std::clamp(hz, rate() * 0.05f, rate() * 50.0f);
  apply();
}

float TempoChannel::rateRatio() const { return rateHz_ / static_cast<float>(rate()); }

bool TempoChannel::neutral() const {
  return tempo_ == 0 && pitch_ == 0 && rateHz_ == static_cast<float>(rate());
}

void TempoChannel::apply() {
  touch_->setTempoChange(tempo_);
  touch_->setPitchSemiTones(pitch_);
  touch_->setRate(rateRatio());
}

int64_t TempoChannel::positionFrames() const {
  int64_t at = source_->positionFrames();
  if (!inUse_) return at;
  double buffered = touch_->numUnprocessedSamples() +
                    touch_->numSamples() * touch_->getInputOutputSampleRatio();
  return std::max<int64_t>(0, at - static_cast<int64_t>(std::llround(buffered)));
}

double TempoChannel::positionStep() const {
  return inUse_ ? touch_->getInputOutputSampleRatio() : 1.0;
}

size_t TempoChannel::produce(float* out, size_t frames) {
  if (!inUse_ && neutral()) {
    size_t n = source_->pull(out, frames);
    if (n < frames && source_->ended()) setEnded(true);
    return n;
  }
  inUse_ = true;
  while (touch_->numSamples() < frames && !flushed_) {
    size_t n = source_->pull(input_.data(), kInputBlock);
    if (n > 0) touch_->putSamples(input_.data(), static_cast<unsigned>(n));
    if (n < kInputBlock) {
      if (!source_->ended()) break;  // a fed source without data yet
      touch_->flush();
      flushed_ = true;
    }
  }
  size_t n = touch_->receiveSamples(out, static_cast<unsigned>(frames));
  if (flushed_ && touch_->numSamples() == 0) {
    if (n < frames) setEnded(true);
  }
  // Back to the exact pass-through once the settings are neutral and nothing is held.
  if (neutral() && touch_->numSamples() == 0 && touch_->numUnprocessedSamples() == 0) {
    touch_->clear();
    inUse_ = false;
  }
  return n;
}

bool TempoChannel::seekTo(int64_t frame) {
  if (!source_->seek(frame)) return false;
  touch_->clear();
  flushed_ = false;
  inUse_ = false;
  return true;
}

}  // namespace tarsk::audio
