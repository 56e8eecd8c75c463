// Recording devices, their inputs, and record channels through audio capture.
#include <algorithm>

#include "registry.h"
#include "sample_format.h"
#include "sound/engine/capture.h"
#include "sound/engine/streams/push_channel.h"

using namespace tarsk::bass;
namespace audio = tarsk::audio;

namespace {

constexpr DWORD kRecordFlags = BASS_SAMPLE_8BITS | BASS_SAMPLE_FLOAT | BASS_RECORD_PAUSE;
constexpr size_t kHeldSeconds = 2;  // recorded data kept for callers without a callback
const char* const kInputName = "Microphone";

}  // namespace

extern "C" BOOL BASS_RecordGetDeviceInfo(DWORD device, BASS_DEVICEINFO* info) {
  if (!info) return failed(BASS_ERROR_ILLPARAM);
  auto names = audio::captureDeviceNames();
  if (device >= names.size()) return failed(BASS_ERROR_DEVICE);
  auto g = lockState();
  State& s = state();
  info->name = lowText(names[device]);
  info->driver = lowText("sdl");
  info->flags = BASS_DEVICE_ENABLED | (device == 0 ? BASS_DEVICE_DEFAULT : 0);
  int chosen = s.recordDevice < 0 ? 0 : s.recordDevice;
  if (s.recordInitialised && static_cast<int>(device) == chosen) info->flags |= BASS_DEVICE_INIT;
  return succeeded();
}

extern "C" BOOL BASS_RecordInit(int device) {
  auto names = audio::captureDeviceNames();
  auto g = lockState();
  State& s = state();
  if (s.recordInitialised) return failed(BASS_ERROR_ALREADY);
  if (device < -1 || device >= static_cast<int>(names.size())) return failed(BASS_ERROR_DEVICE);
  s.recordInitialised = true;
  s.recordDevice = device;
  s.recordVolume = 1;
  s.recordInputOn = true;
  return succeeded();
}

extern "C" BOOL BASS_RecordFree(void) {
  std::unique_ptr<audio::Capture> capture;
  {
    auto g = lockState();
    State& s = state();
    if (!s.recordInitialised) return failed(BASS_ERROR_INIT);
    capture = std::move(s.capture);
    if (s.recordHandle) freeChannel(s.recordHandle);
    s.recordHandle = 0;
    s.recordInitialised = false;
  }
  capture.reset();  // closes the device outside the lock: its callback takes the lock
  return succeeded();
}

extern "C" BOOL BASS_RecordGetInfo(BASS_RECORDINFO* info) {
  auto g = lockState();
  if (!state().recordInitialised) return failed(BASS_ERROR_INIT);
  if (!info) return failed(BASS_ERROR_ILLPARAM);
  *info = BASS_RECORDINFO{0, 0, 1, TRUE, 44100};
  return succeeded();
}

extern "C" const char* BASS_RecordGetInputName(int input) {
  auto g = lockState();
  if (!state().recordInitialised) return fail<const char*>(BASS_ERROR_INIT, nullptr);
  if (input != 0) return fail<const char*>(BASS_ERROR_ILLPARAM, nullptr);
  setError(BASS_OK);
  return lowText(kInputName);
}

extern "C" DWORD BASS_RecordGetInput(int input, float* volume) {
  auto g = lockState();
  State& s = state();
  if (!s.recordInitialised) return fail<DWORD>(BASS_ERROR_INIT, static_cast<DWORD>(-1));
  if (input != 0 && input != -1) return fail<DWORD>(BASS_ERROR_ILLPARAM, static_cast<DWORD>(-1));
  if (volume) *volume = s.recordVolume;
  setError(BASS_OK);
  return (input == 0 ? BASS_INPUT_TYPE_MIC : 0) | (s.recordInputOn ? 0 : BASS_INPUT_OFF);
}

extern "C" BOOL BASS_RecordSetInput(int input, DWORD flags, float volume) {
  auto g = lockState();
  State& s = state();
  if (!s.recordInitialised) return failed(BASS_ERROR_INIT);
  if (input != 0 && input != -1) return failed(BASS_ERROR_ILLPARAM);
  if (flags & BASS_INPUT_ON) s.recordInputOn = true;
  if (flags & BASS_INPUT_OFF) s.recordInputOn = false;
  if (volume >= 0) s.recordVolume = std::min(volume, 1.0f);
  return succeeded();
}

extern "C" HRECORD BASS_RecordStart(DWORD freq, DWORD chans, DWORD flags, RECORDPROC proc, void* user) {
  State& s = state();
  DWORD handle;
  std::shared_ptr<audio::PushChannel> channel;
  int device;
  {
    auto g = lockState();
    if (!s.recordInitialised) return fail<HRECORD>(BASS_ERROR_INIT, 0);
    if (s.capture) return fail<HRECORD>(BASS_ERROR_ALREADY, 0);
    if (freq == 0) freq = 44100;
    if (freq < 1000 || freq > 192000 || chans < 1 || chans > 8) return fail<HRECORD>(BASS_ERROR_FORMAT, 0);
    channel = std::make_shared<audio::PushChannel>(static_cast<int>(freq), static_cast<int>(chans));
    ChannelEntry entry;
    entry.kind = Kind::Record;
    entry.flags = (flags & kRecordFlags & ~BASS_RECORD_PAUSE) | BASS_STREAM_DECODE;
    entry.ctype = BASS_CTYPE_RECORD;
    entry.origres = 16;
    entry.channel = channel;
    handle = addChannel(std::move(entry));
    device = s.recordDevice;
  }
  int bps = bytesPerSample(flags);
  size_t held = kHeldSeconds * freq;
  auto sink = [handle, proc, user, bps, channel, held](const float* data, size_t frames) {
    int nc = channel->channels();
    std::vector<float> scaled(data, data + frames * nc);
    {
      auto g = lockState();
      if (channel->state != audio::ChannelState::Playing) return;  // paused, stopped or refused
      State& st = state();
      float gain = st.recordInputOn ? st.recordVolume : 0.0f;
      for (float& v : scaled) v *= gain;
      if (!proc) {
        channel->push(scaled.data(), frames, false);
        size_t queued = channel->queuedFrames();
        if (queued > held) {  // drop the oldest data nobody collected
          std::vector<float> drop((queued - held) * nc);
          channel->pull(drop.data(), queued - held);
        }
        return;
      }
    }
    std::vector<uint8_t> bytes(scaled.size() * bps);
    fromFloat(scaled.data(), bytes.data(), scaled.size(), bps);
    if (!proc(handle, bytes.data(), static_cast<DWORD>(bytes.size()), user)) {
      auto g = lockState();
      if (ChannelEntry* e = findChannel(handle)) e->channel->state = audio::ChannelState::Stopped;
    }
  };
  {
    auto g = lockState();
    channel->state = (flags & BASS_RECORD_PAUSE) ? audio::ChannelState::Paused : audio::ChannelState::Playing;
  }
  // The device runs from the start; the channel's state decides what is kept.
  auto capture = audio::Capture::open(device, static_cast<int>(freq), static_cast<int>(chans), sink);
  if (capture) capture->pause(false);
  auto g = lockState();
  if (!capture) {
    freeChannel(handle);
    return fail<HRECORD>(BASS_ERROR_DEVICE, 0);
  }
  s.capture = std::move(capture);
  s.recordHandle = handle;
  setError(BASS_OK);
  return handle;
}
