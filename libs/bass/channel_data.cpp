// Sample and spectrum data of a channel: decoded data from decoding channels
// and record channels, the latest output of playing channels.
#include <cstring>
#include <vector>

#include "registry.h"
#include "sample_format.h"
#include "sound/engine/spectrum.h"
#include "sound/engine/streams/push_channel.h"

using namespace tarsk::bass;
namespace audio = tarsk::audio;

namespace {

constexpr DWORD kError = static_cast<DWORD>(-1);
constexpr DWORD kFftFlag = 0x80000000;
constexpr DWORD kFftSizeMask = 0x0F;
constexpr DWORD kDataFlagsMask = 0xF0000000;

// Frames for a query: decoded now from decoding and record channels (which
// consumes them), or the latest output of a playing channel.
size_t fetch(ChannelEntry& e, float* out, size_t frames) {
  if (e.decode() || e.kind == Kind::Record) return e.channel->pull(out, frames);
  return e.channel->recentOutput(out, frames);
}

DWORD fftData(ChannelEntry& e, void* buffer, DWORD length) {
  DWORD order = length & kFftSizeMask;
  if (order > 7) return fail<DWORD>(BASS_ERROR_ILLPARAM, kError);
  size_t size = static_cast<size_t>(256) << order;
  int nc = e.channel->channels();
  std::vector<float> frames(size * nc, 0.0f);
  size_t got = fetch(e, frames.data(), size);
  if (got == 0 && e.decode() && e.channel->ended()) return fail<DWORD>(BASS_ERROR_ENDED, kError);
  // Fewer frames than the transform needs are padded with silence at the start.
  if (got < size) {
    std::memmove(frames.data() + (size - got) * nc, frames.data(), got * nc * sizeof(float));
    std::fill(frames.begin(), frames.begin() + static_cast<std::ptrdiff_t>((size - got) * nc), 0.0f);
  }
  bool window = !(length & BASS_DATA_FFT_NOWINDOW);
  bool removeDc = length & BASS_DATA_FFT_REMOVEDC;
  auto* out = static_cast<float*>(buffer);
  std::vector<float> lane(size);
  if (length & BASS_DATA_FFT_INDIVIDUAL) {
    for (int c = 0; c < nc; ++c) {
      for (size_t i = 0; i < size; ++i) lane[i] = frames[i * nc + c];
      auto bins = audio::magnitudeSpectrum(lane.data(), size, window, removeDc);
      for (size_t i = 0; i < bins.size(); ++i) out[i * nc + c] = bins[i];
    }
  } else {
    for (size_t i = 0; i < size; ++i) {
      float sum = 0;
      for (int c = 0; c < nc; ++c) sum += frames[i * nc + c];
      lane[i] = sum / static_cast<float>(nc);
    }
    auto bins = audio::magnitudeSpectrum(lane.data(), size, window, removeDc);
    std::memcpy(out, bins.data(), bins.size() * sizeof(float));
  }
  setError(BASS_OK);
  return static_cast<DWORD>(got * bytesPerFrame(e));
}

}  // namespace

extern "C" DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length) {
  auto g = lockState();
  ChannelEntry* e = findChannel(handle);
  if (!e) return fail<DWORD>(BASS_ERROR_HANDLE, kError);
  int nc = e->channel->channels();
  if (length == BASS_DATA_AVAILABLE) {
    setError(BASS_OK);
    if (e->kind == Kind::Record)  // recorded data waiting to be collected
      return static_cast<DWORD>(static_cast<audio::PushChannel&>(*e->channel).queuedFrames() * bytesPerFrame(*e));
    // A decoding channel holds nothing back; a playing one its recent output.
    return e->decode() ? 0 : static_cast<DWORD>(e->channel->recentAvailable() * bytesPerFrame(*e));
  }
  if (!buffer) return fail<DWORD>(BASS_ERROR_ILLPARAM, kError);
  if (length & kFftFlag) return fftData(*e, buffer, length);
  int bps = (length & BASS_DATA_FLOAT) ? 4 : bytesPerSample(e->flags);
  DWORD bytes = length & ~kDataFlagsMask;
  size_t frames = bytes / (static_cast<size_t>(bps) * nc);
  std::vector<float> data(frames * nc);
  size_t got = fetch(*e, data.data(), frames);
  if (got == 0 && frames > 0 && (e->decode() || e->kind == Kind::Record) && e->channel->ended())
    return fail<DWORD>(BASS_ERROR_ENDED, kError);
  fromFloat(data.data(), buffer, got * nc, bps);
  setError(BASS_OK);
  return static_cast<DWORD>(got * nc * bps);
}
