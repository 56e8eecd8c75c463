// Output through an SDL audio device (float stereo; SDL converts as needed).
#include <SDL.h>

#include "sound/engine/output.h"

namespace tarsk::audio {
namespace {

class SdlOutput final : public Output {
public:
  ~SdlOutput() override { stop(); }
  bool start(int rate, RenderCallback render) override {
    stop();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    subsystem_ = true;
    render_ = std::move(render);
    SDL_AudioSpec want{}, have{};
    want.freq = rate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &SdlOutput::callback;
    want.userdata = this;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) { stop(); return false; }
    name_ = SDL_GetCurrentAudioDriver() ? SDL_GetCurrentAudioDriver() : "audio device";
    SDL_PauseAudioDevice(device_, 0);
    return true;
  }
  void stop() override {
    if (device_) SDL_CloseAudioDevice(device_);
    device_ = 0;
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    subsystem_ = false;
  }
  std::string name() const override { return name_; }

private:
  static void callback(void* user, Uint8* stream, int bytes) {
    auto* self = static_cast<SdlOutput*>(user);
    self->render_(reinterpret_cast<float*>(stream), static_cast<size_t>(bytes) / (2 * sizeof(float)));
  }
  SDL_AudioDeviceID device_ = 0;
  bool subsystem_ = false;
  RenderCallback render_;
  std::string name_;
};

}  // namespace

std::unique_ptr<Output> makeDeviceOutput() { return std::make_unique<SdlOutput>(); }

}  // namespace tarsk::audio
