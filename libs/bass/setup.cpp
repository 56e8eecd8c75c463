// Set-up: version, output initialisation and its information record.
#include <algorithm>

#include "bass_tarsk.h"
#include "registry.h"

using namespace tarsk::bass;
using tarsk::audio::OutputKind;

namespace {
constexpr DWORD kCapsContinuousRate = 0x10;
constexpr DWORD kCapsSecondaryStereo = 0x200;
constexpr DWORD kCapsSecondary16Bit = 0x800;
constexpr DWORD kMaxOutputRate = 48000;
constexpr DWORD kMinOutputRate = 8000;
}

extern "C" DWORD BASS_GetVersion(void) { return BASS_VERSION_NUMBER; }

// Device -1 is the default output (a sound device, or the real-time null output
// when there is none; $TARSK_AUDIO_OUTPUT may choose), 0 no sound (the null
// output), 1 the sound device.
extern "C" BOOL BASS_Init(int device, DWORD freq, DWORD flags, void*, const void*) {
  State& s = state();
  {
    auto g = lockState();
    if (s.initialised) return failed(BASS_ERROR_ALREADY);
  }
  OutputKind kind;
  if (device == -1) kind = tarsk::audio::outputKindFromEnvironment();
  else if (device == 0) kind = OutputKind::Null;
  else if (device == 1) kind = OutputKind::Device;
  else return failed(BASS_ERROR_DEVICE);
  int rate = static_cast<int>(std::clamp(freq == 0 ? 44100u : freq, kMinOutputRate, 192000u));
  if (!s.engine.open(kind, rate)) return failed(device == 1 ? BASS_ERROR_DEVICE : BASS_ERROR_DRIVER);
  auto g = lockState();
  s.initialised = true;
  s.device = device;
  s.initFlags = flags;
  return succeeded();
}

extern "C" BOOL BASS_Free(void) {
  State& s = state();
  {
    auto g = lockState();
    if (!s.initialised) return failed(BASS_ERROR_INIT);
  }
  s.engine.close();
  auto g = lockState();
  for (auto it = s.channels.begin(); it != s.channels.end();) {
    if (it->second.kind == Kind::Record) { ++it; continue; }
    DWORD handle = it->first;
    ++it;
    freeChannel(handle);
    it = s.channels.lower_bound(handle);  // freeing may have removed other entries
  }
  s.initialised = false;
  return succeeded();
}

extern "C" BOOL BASS_GetInfo(BASS_INFO* info) {
  auto g = lockState();
  State& s = state();
  if (!s.initialised) return failed(BASS_ERROR_INIT);
  if (!info) return failed(BASS_ERROR_ILLPARAM);
  *info = BASS_INFO{};
  info->flags = kCapsContinuousRate | kCapsSecondaryStereo | kCapsSecondary16Bit;
  info->minrate = kMinOutputRate;
  info->maxrate = kMaxOutputRate;
  info->minbuf = 10;
  info->dsver = 9;
  info->latency = s.engine.kind() == OutputKind::Device ? 23 : 0;
  info->initflags = s.initFlags;
  info->speakers = 2;
  info->freq = static_cast<DWORD>(s.engine.rate());
  return succeeded();
}

extern "C" BOOL BASS_GetDeviceInfo(DWORD device, BASS_DEVICEINFO* info) {
  auto g = lockState();
  if (!info) return failed(BASS_ERROR_ILLPARAM);
  if (device > 1) return failed(BASS_ERROR_DEVICE);
  State& s = state();
  info->name = lowText(device == 0 ? "No sound" : "Default");
  info->driver = lowText(device == 0 ? "" : "sdl");
  info->flags = BASS_DEVICE_ENABLED | (device == 1 ? BASS_DEVICE_DEFAULT : 0);
  bool current = s.initialised && (s.device == static_cast<int>(device) || (s.device == -1 && device == 1));
  if (current) info->flags |= BASS_DEVICE_INIT;
  return succeeded();
}

extern "C" BOOL TarskBass_RenderOffline(float* out, DWORD frames) {
  if (!out) return failed(BASS_ERROR_ILLPARAM);
  if (!state().engine.renderOffline(out, frames)) return failed(BASS_ERROR_NOTAVAIL);
  return succeeded();
}
