#pragma once
// The audio engine: one mixer on one output, and the lock that guards every
// channel. Callers hold lock() around any use of channels or the mixer; the
// output's thread takes it for each block it renders.
#include <memory>
#include <mutex>
#include <string>

#include "sound/engine/mixer.h"
#include "sound/engine/output.h"

namespace tarsk::audio {

class Engine {
public:
  Engine();
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Starts the output. Automatic tries the sound device, then the null output.
  // Call without holding lock().
  bool open(OutputKind kind, int rate);
  // Stops the output and drops every playing channel. Call without holding lock().
  void close();
  bool isOpen() const { return open_; }
  OutputKind kind() const { return kind_; }
  std::string outputName() const;
  int rate() const { return mixer_.rate(); }

  std::recursive_mutex& lock() { return lock_; }

  // Channel control (lock held).
  void play(const std::shared_ptr<Channel>& channel);
  void pause(Channel& channel);
  void stop(Channel& channel);
  bool isPlaying(const Channel& channel) const { return mixer_.contains(&channel); }
  // The position being heard: what the channel has produced less what the mixer holds.
  int64_t playedPosition(const Channel& channel) const;

  // Called (lock held) for each channel that played to its end.
  void setEndCallback(std::function<void(Channel&)> callback) { mixer_.onEnded = std::move(callback); }

  // Offline output only: renders the next `frames` stereo frames.
  bool renderOffline(float* out, size_t frames);

private:
  std::recursive_mutex lock_;
  Mixer mixer_;
  std::unique_ptr<Output> output_;
  OutputKind kind_ = OutputKind::Offline;
  bool open_ = false;
};

}  // namespace tarsk::audio
