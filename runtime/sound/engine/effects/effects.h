#pragma once
// The nine studio effects a channel can carry, with their parameter records.
// Each `set` checks the ranges and refuses a record with a value outside them.
#include <memory>
#include <vector>

#include "sound/engine/effect.h"
#include "sound/engine/effects/biquad.h"

namespace tarsk::audio {

struct EchoParams { float wetDry = 50, feedback = 50, leftDelay = 500, rightDelay = 500; bool panDelay = false; };
struct ModulationParams { float wetDry = 50, depth = 10, feedback = 25, frequency = 1.1f; int waveform = 1;
                          float delay = 16; int phase = 3; };
struct CompressorParams { float gain = 0, attack = 10, release = 200, threshold = -20, ratio = 3, predelay = 4; };
struct DistortionParams { float gain = -18, edge = 15, postEqCenter = 2400, postEqBandwidth = 2400,
                          preLowpassCutoff = 8000; };
struct GargleParams { int rateHz = 20; int waveShape = 0; };
struct RoomReverbParams { int room = -1000, roomHf = -100; float rolloff = 0, decayTime = 1.49f,
                          decayHfRatio = 0.83f; int reflections = -2602; float reflectionsDelay = 0.007f;
                          int reverb = 200; float reverbDelay = 0.011f, diffusion = 100, density = 100,
                          hfReference = 5000; };
struct ParamEqParams { float center = 8000, bandwidth = 12, gain = 0; };
struct ReverbParams { float inGain = 0, reverbMix = 0, reverbTime = 1000, hfRatio = 0.001f; };

// Per-channel delay line with fractional reads.
class DelayLine {
public:
  void resize(size_t frames) { data_.assign(frames + 2, 0.0f); write_ = 0; }
  void clear() { std::fill(data_.begin(), data_.end(), 0.0f); }
  void push(float v) { data_[write_] = v; write_ = (write_ + 1) % data_.size(); }
  // The value pushed `delay` samples ago (1 = the last one).
  float read(double delay) const;

private:
  std::vector<float> data_{0.0f, 0.0f};
  size_t write_ = 0;
};

class EchoEffect final : public Effect {
public:
  bool set(const EchoParams& p);
  EchoParams params() const { return p_; }
  void process(float* io, size_t frames, int channels, int rate) override;
  void reset() override;

private:
  EchoParams p_;
  std::vector<DelayLine> lines_;
  int rate_ = 0;
};

// Chorus and flanger: a delay modulated by a low-frequency oscillator.
class ModulationEffect final : public Effect {
public:
  explicit ModulationEffect(bool flanger);
  bool set(const ModulationParams& p);
  ModulationParams params() const { return p_; }
  void process(float* io, size_t frames, int channels, int rate) override;
  void reset() override;

private:
  bool flanger_;
  ModulationParams p_;
  std::vector<DelayLine> lines_;
  double phase_ = 0;
  int rate_ = 0;
};

class CompressorEffect final : public Effect {
public:
  bool set(const CompressorParams& p);
  CompressorParams params() const { return p_; }
  void process(float* io, size_t frames, int channels, int rate) override;
  void reset() override;

private:
  CompressorParams p_;
  std::vector<DelayLine> lines_;
  double envelope_ = 0;
  int rate_ = 0;
};

class DistortionEffect final : public Effect {
public:
  bool set(const DistortionParams& p);
  DistortionParams params() const { return p_; }
  void process(float* io, size_t frames, int channels, int rate) override;
  void reset() override;

private:
  DistortionParams p_;
  std::vector<Biquad> lowpass_, band_;
  int rate_ = 0;
};

class GargleEffect final : public Effect {
public:
  bool set(const GargleParams& p);
  GargleParams params() const { return p_; }
  void process(float* io, size_t frames, int channels, int rate) override;
  void reset() override { phase_ = 0; }

private:
  GargleParams p_;
  double phase_ = 0;
};

class ParamEqEffect final : public Effect {
public:
  bool set(const ParamEqParams& p);
  ParamEqParams params() const { return p_; }
  void process(float* io, size_t frames, int channels, int rate) override;
  void reset() override;

private:
  ParamEqParams p_;
  std::vector<Biquad> filters_;
  int rate_ = 0;
  bool dirty_ = true;
};

// The reverberator behind both reverb effects: pre-delay, parallel damped combs
// and series all-passes per channel.
class ReverbCore {
public:
  struct Settings { double decaySeconds, hfDamping, preDelaySeconds, dry, wet, early, earlyDelaySeconds, diffusion; };
  void configure(const Settings& s, int channels, int rate);
  void process(float* io, size_t frames, int channels);
  void reset();

private:
  struct Comb { DelayLine line; size_t delay; float feedback; float store = 0; };
  struct AllPass { DelayLine line; size_t delay; };
  struct Lane { std::vector<Comb> combs; std::vector<AllPass> passes; DelayLine pre; };
  Settings s_{};
  std::vector<Lane> lanes_;
  int channels_ = 0, rate_ = 0;
  size_t preDelay_ = 0, earlyDelay_ = 0;
};

class RoomReverbEffect final : public Effect {
public:
  bool set(const RoomReverbParams& p);
  RoomReverbParams params() const { return p_; }
  void process(float* io, size_t frames, int channels, int rate) override;
  void reset() override { core_.reset(); }

private:
  RoomReverbParams p_;
  ReverbCore core_;
  int channels_ = 0, rate_ = 0;
  bool dirty_ = true;
};

class ReverbEffect final : public Effect {
public:
  bool set(const ReverbParams& p);
  ReverbParams params() const { return p_; }
  void process(float* io, size_t frames, int channels, int rate) override;
  void reset() override { core_.reset(); }

private:
  ReverbParams p_;
  ReverbCore core_;
  int channels_ = 0, rate_ = 0;
  bool dirty_ = true;
};

}  // namespace tarsk::audio
