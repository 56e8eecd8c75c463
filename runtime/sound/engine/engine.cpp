#include "sound/engine/engine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tarsk::audio {

Engine::Engine() : mixer_(48000) {}

Engine::~Engine() { close(); }

bool Engine::open(OutputKind kind, int rate) {
  close();
  {
    std::lock_guard<std::recursive_mutex> g(lock_);
    mixer_.setRate(rate);
  }
  auto render = [this](float* out, size_t frames) {
    std::lock_guard<std::recursive_mutex> g(lock_);
    mixer_.render(out, frames);
  };
  std::unique_ptr<Output> output;
  if (kind == OutputKind::Automatic || kind == OutputKind::Device) {
    output = makeDeviceOutput();
    if (output->start(rate, render)) {
      kind = OutputKind::Device;
    } else {
      output.reset();
      if (kind == OutputKind::Device) return false;
      kind = OutputKind::Null;
    }
  }
  if (kind == OutputKind::Null) {
    output = makeNullOutput();
    if (!output->start(rate, render)) return false;
  }
  std::lock_guard<std::recursive_mutex> g(lock_);
  output_ = std::move(output);
  kind_ = kind;
  open_ = true;
  return true;
}

void Engine::close() {
  std::unique_ptr<Output> output;
  {
    std::lock_guard<std::recursive_mutex> g(lock_);
    output = std::move(output_);
    open_ = false;
  }
  if (output) output->stop();
  std::lock_guard<std::recursive_mutex> g(lock_);
  mixer_.clear();
}

std::string Engine::outputName() const {
  if (output_) return output_->name();
  return kind_ == OutputKind::Offline ? "Offline" : "No sound";
}

void Engine::play(const std::shared_ptr<Channel>& channel) {
  channel->state = ChannelState::Playing;
  mixer_.add(channel);
}

void Engine::pause(Channel& channel) {
  if (mixer_.contains(&channel)) channel.state = ChannelState::Paused;
}

void Engine::stop(Channel& channel) {
  channel.state = ChannelState::Stopped;
  mixer_.remove(&channel);
}

int64_t Engine::playedPosition(const Channel& channel) const {
  const auto& m = channel.mix;
  double held = std::max(0.0, std::floor(static_cast<double>(m.have) - m.pos));
  int64_t at = channel.positionFrames() - static_cast<int64_t>(std::llround(held * channel.positionStep()));
  int64_t length = channel.lengthFrames();
  return std::clamp<int64_t>(at, 0, length >= 0 ? length : INT64_MAX);
}

bool Engine::renderOffline(float* out, size_t frames) {
  std::lock_guard<std::recursive_mutex> g(lock_);
  if (!open_ || kind_ != OutputKind::Offline) return false;
  mixer_.render(out, frames);
  return true;
}

}  // namespace tarsk::audio
