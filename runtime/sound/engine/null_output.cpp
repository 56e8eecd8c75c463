// Renders on a real-time clock and discards the result: playback advances as it
// would on a device, on machines that have none.
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "sound/engine/output.h"

namespace tarsk::audio {
namespace {

class NullOutput final : public Output {
public:
  ~NullOutput() override { stop(); }
  bool start(int rate, RenderCallback render) override {
    stop();
    running_ = true;
    thread_ = std::thread([this, rate, render = std::move(render)] {
      const size_t frames = static_cast<size_t>(rate / 100);  // 10 ms blocks
      std::vector<float> block(frames * 2);
      auto period = std::chrono::microseconds(1000000LL * static_cast<long long>(frames) / rate);
      auto next = std::chrono::steady_clock::now();
      while (running_) {
        render(block.data(), frames);
        next += period;
        std::this_thread::sleep_until(next);
      }
    });
    return true;
  }
  void stop() override {
    running_ = false;
    if (thread_.joinable()) thread_.join();
  }
  std::string name() const override { return "No sound"; }

private:
  std::atomic<bool> running_{false};
  std::thread thread_;
};

}  // namespace

std::unique_ptr<Output> makeNullOutput() { return std::make_unique<NullOutput>(); }

}  // namespace tarsk::audio
