#pragma once
// Where the mix goes: a sound device, a real-time clock with no device, or
// nowhere until the owner renders it (offline).
#include <functional>
#include <memory>
#include <string>

namespace tarsk::audio {

enum class OutputKind { Automatic, Device, Null, Offline };

// Fills `frames` interleaved stereo float frames.
using RenderCallback = std::function<void(float* out, size_t frames)>;

class Output {
public:
  virtual ~Output() = default;
  // Starts pulling from `render`; false when the output cannot start.
  virtual bool start(int rate, RenderCallback render) = 0;
  // Stops pulling; no render call runs after it returns.
  virtual void stop() = 0;
  virtual std::string name() const = 0;
};

std::unique_ptr<Output> makeDeviceOutput();  // SDL audio
std::unique_ptr<Output> makeNullOutput();    // real-time clock, output discarded

// The kind named by $TARSK_AUDIO_OUTPUT ("device", "null", "offline"), else Automatic.
OutputKind outputKindFromEnvironment();

}  // namespace tarsk::audio
