#pragma once
// Recording through SDL audio capture devices.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tarsk::audio {

// Names of the capture devices; empty when audio capture is unavailable.
std::vector<std::string> captureDeviceNames();

class Capture {
public:
  // Receives interleaved float frames on the capture thread.
  using Sink = std::function<void(const float* data, size_t frames)>;
  ~Capture();
  // Opens device `index` of captureDeviceNames() (-1: the default device) at the
  // given format and starts delivering to `sink`. Null when it cannot open.
  static std::unique_ptr<Capture> open(int index, int rate, int channels, Sink sink);
  void pause(bool paused);

private:
  Capture() = default;
  static void callback(void* user, unsigned char* stream, int bytes);
  unsigned device_ = 0;
  int channels_ = 1;
  Sink sink_;
};

}  // namespace tarsk::audio
