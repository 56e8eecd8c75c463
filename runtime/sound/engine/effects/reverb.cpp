// Reverberation: a pre-delay, early reflections as one tap, four damped feedback
// combs in parallel and two all-passes in series per channel. The two reverb
// effects map their parameters onto it.
#include <cmath>

#include "sound/engine/effects/effects.h"

namespace tarsk::audio {
namespace {

// Comb and all-pass lengths in seconds, mutually prime at common rates; the
// right side is spread a little.
constexpr double kCombs[] = {0.0297, 0.0371, 0.0411, 0.0437};
constexpr double kPasses[] = {0.0050, 0.0017};
constexpr double kSpread = 0.00052;

double fromMillibels(double mb) { return std::pow(10.0, mb / 2000); }
double fromDecibels(double db) { return std::pow(10.0, db / 20); }

}  // namespace

void ReverbCore::configure(const Settings& s, int channels, int rate) {
  bool rebuild = channels != channels_ || rate != rate_;
  s_ = s;
  channels_ = channels;
  rate_ = rate;
  preDelay_ = static_cast<size_t>(s.preDelaySeconds * rate);
  earlyDelay_ = static_cast<size_t>(s.earlyDelaySeconds * rate);
  if (rebuild) lanes_.assign(channels, Lane{});
  for (int c = 0; c < channels; ++c) {
    Lane& lane = lanes_[c];
    double spread = (c & 1) * kSpread;
    if (rebuild) {
      lane.pre.resize(static_cast<size_t>(0.5 * rate) + 2);
      for (double len : kCombs) {
        Comb comb;
        comb.delay = static_cast<size_t>((len + spread) * rate);
        comb.line.resize(comb.delay + 1);
        lane.combs.push_back(std::move(comb));
      }
      for (double len : kPasses) {
        AllPass pass;
        pass.delay = static_cast<size_t>((len + spread) * rate);
        pass.line.resize(pass.delay + 1);
        lane.passes.push_back(std::move(pass));
      }
    }
    for (auto& comb : lane.combs) {
      double seconds = static_cast<double>(comb.delay) / rate;
      comb.feedback = static_cast<float>(std::pow(10.0, -3 * seconds / std::fmax(s.decaySeconds, 0.001)));
    }
  }
}

void ReverbCore::reset() {
  for (auto& lane : lanes_) {
    lane.pre.clear();
    for (auto& comb : lane.combs) { comb.line.clear(); comb.store = 0; }
    for (auto& pass : lane.passes) pass.line.clear();
  }
}

void ReverbCore::process(float* io, size_t frames, int channels) {
  if (channels != channels_) return;
  float damp = static_cast<float>(s_.hfDamping);
  float passGain = static_cast<float>(0.3 + 0.4 * s_.diffusion);
  for (size_t i = 0; i < frames; ++i) {
    for (int c = 0; c < channels; ++c) {
      float& x = io[i * channels + c];
      Lane& lane = lanes_[c];
      lane.pre.push(x);
      float in = preDelay_ ? lane.pre.read(static_cast<double>(preDelay_)) : x;
      float early = earlyDelay_ ? lane.pre.read(static_cast<double>(earlyDelay_ + 1)) : x;
      float sum = 0;
      for (auto& comb : lane.combs) {
        float out = comb.line.read(static_cast<double>(comb.delay));
        comb.store = out * (1 - damp) + comb.store * damp;
        comb.line.push(in * 0.25f + comb.store * comb.feedback);
        sum += out;
      }
      for (auto& pass : lane.passes) {
        float delayed = pass.line.read(static_cast<double>(pass.delay));
        float v = sum + passGain * delayed;
        pass.line.push(v);
        sum = delayed - passGain * v;
      }
      x = static_cast<float>(s_.dry * x + s_.early * early + s_.wet * sum);
    }
  }
}

bool RoomReverbEffect::set(const RoomReverbParams& p) {
  if (p.room < -10000 || p.room > 0 || p.roomHf < -10000 || p.roomHf > 0 || p.rolloff < 0 ||
      p.rolloff > 10 || p.decayTime < 0.1f || p.decayTime > 20 || p.decayHfRatio < 0.1f ||
      p.decayHfRatio > 2 || p.reflections < -10000 || p.reflections > 1000 ||
      p.reflectionsDelay < 0 || p.reflectionsDelay > 0.3f || p.reverb < -10000 || p.reverb > 2000 ||
      p.reverbDelay < 0 || p.reverbDelay > 0.1f || p.diffusion < 0 || p.diffusion > 100 ||
      p.density < 0 || p.density > 100 || p.hfReference < 20 || p.hfReference > 20000)
    return false;
  p_ = p;
  dirty_ = true;
  return true;
}

void RoomReverbEffect::process(float* io, size_t frames, int channels, int rate) {
  if (dirty_ || channels != channels_ || rate != rate_) {
    double room = fromMillibels(p_.room);
    // A high-frequency decay shorter than the overall one damps the combs.
    double damping = std::fmin(0.9, std::fmax(0.0, (1 - p_.decayHfRatio) * 0.7 +
                                                       (1 - fromMillibels(p_.roomHf)) * 0.3));
    core_.configure({p_.decayTime, damping, p_.reflectionsDelay + p_.reverbDelay, 1.0,
                     room * fromMillibels(p_.reverb) * 0.5, room * fromMillibels(p_.reflections),
                     p_.reflectionsDelay, p_.diffusion / 100},
                    channels, rate);
    channels_ = channels;
    rate_ = rate;
    dirty_ = false;
  }
  core_.process(io, frames, channels);
}

bool ReverbEffect::set(const ReverbParams& p) {
  if (p.inGain < -96 || p.inGain > 0 || p.reverbMix < -96 || p.reverbMix > 0 ||
      p.reverbTime < 0.001f || p.reverbTime > 3000 || p.hfRatio < 0.001f || p.hfRatio > 0.999f)
    return false;
  p_ = p;
  dirty_ = true;
  return true;
}

void ReverbEffect::process(float* io, size_t frames, int channels, int rate) {
  if (dirty_ || channels != channels_ || rate != rate_) {
    double in = fromDecibels(p_.inGain);
    double mix = fromDecibels(p_.reverbMix);
    core_.configure({p_.reverbTime / 1000, std::fmin(0.9, 1.0 - p_.hfRatio), 0, in * (1 - mix * 0.5),
                     in * mix * 0.5, 0, 0, 0.7},
                    channels, rate);
    channels_ = channels;
    rate_ = rate;
    dirty_ = false;
  }
  core_.process(io, frames, channels);
}

}  // namespace tarsk::audio
