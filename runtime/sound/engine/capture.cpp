#include "sound/engine/capture.h"

#include <SDL.h>

namespace tarsk::audio {
namespace {

// Keeps the SDL audio subsystem up for the duration of a query or a device.
struct AudioSubsystem {
  AudioSubsystem() : ok(SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {}
  ~AudioSubsystem() { if (ok) SDL_QuitSubSystem(SDL_INIT_AUDIO); }
  bool ok;
};

}  // namespace

std::vector<std::string> captureDeviceNames() {
  AudioSubsystem audio;
  std::vector<std::string> names;
  if (!audio.ok) return names;
  int count = SDL_GetNumAudioDevices(1);
  for (int i = 0; i < count; ++i) {
    const char* name = SDL_GetAudioDeviceName(i, 1);
    names.emplace_back(name ? name : "");
  }
  return names;
}

std::unique_ptr<Capture> Capture::open(int index, int rate, int channels, Sink sink) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
  std::unique_ptr<Capture> c(new Capture);
  c->channels_ = channels;
  c->sink_ = std::move(sink);
  const char* name = nullptr;
  if (index >= 0) {
    if (index >= SDL_GetNumAudioDevices(1)) { SDL_QuitSubSystem(SDL_INIT_AUDIO); return nullptr; }
    name = SDL_GetAudioDeviceName(index, 1);
  }
  SDL_AudioSpec want{}, have{};
  want.freq = rate;
  want.format = AUDIO_F32SYS;
  want.channels = static_cast<Uint8>(channels);
  want.samples = 1024;
  want.callback = &Capture::callback;
  want.userdata = c.get();
  c->device_ = SDL_OpenAudioDevice(name, 1, &want, &have, 0);
  if (c->device_ == 0) { SDL_QuitSubSystem(SDL_INIT_AUDIO); return nullptr; }
  return c;
}

Capture::~Capture() {
  if (device_) {
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
}

void Capture::pause(bool paused) { SDL_PauseAudioDevice(device_, paused ? 1 : 0); }

void Capture::callback(void* user, unsigned char* stream, int bytes) {
  auto* self = static_cast<Capture*>(user);
  size_t frames = static_cast<size_t>(bytes) / (sizeof(float) * self->channels_);
  self->sink_(reinterpret_cast<const float*>(stream), frames);
}

}  // namespace tarsk::audio
