// Tempo and reverse channels over decoding channels, for the effects add-on
// (which forwards its functions here so that both share one handle table).
#include "bass_fx.h"
#include "bass_tarsk.h"
#include "registry.h"
#include "sound/engine/streams/reverse_channel.h"
#include "sound/engine/streams/tempo_channel.h"

using namespace tarsk::bass;
namespace audio = tarsk::audio;

namespace {

constexpr DWORD kFxFlags = BASS_SAMPLE_LOOP | BASS_SAMPLE_FLOAT | BASS_SAMPLE_8BITS |
                           BASS_STREAM_DECODE | BASS_STREAM_AUTOFREE | BASS_FX_FREESOURCE;

// The source must exist and be decode-only.
ChannelEntry* decodingSource(DWORD chan) {
  ChannelEntry* e = findChannel(chan);
  if (!e) { setError(BASS_ERROR_HANDLE); return nullptr; }
  if (!e->decode()) { setError(BASS_ERROR_DECODE); return nullptr; }
  return e;
}

DWORD addOver(DWORD chan, Kind kind, DWORD ctype, std::shared_ptr<audio::Channel> channel, DWORD flags,
              DWORD sourceFlags) {
  ChannelEntry entry;
  entry.kind = kind;
  entry.ctype = ctype;
  entry.channel = std::move(channel);
  // The sample format follows the source unless the caller asks for float.
  entry.flags = (flags & kFxFlags) | (sourceFlags & (BASS_SAMPLE_FLOAT | BASS_SAMPLE_8BITS));
  entry.origres = static_cast<DWORD>(bytesPerSample(entry.flags) * 8);
  entry.source = chan;
  entry.freeSource = flags & BASS_FX_FREESOURCE;
  entry.channel->loop = flags & BASS_SAMPLE_LOOP;
  DWORD handle = addChannel(std::move(entry));
  setError(BASS_OK);
  return handle;
}

}  // namespace

extern "C" HSTREAM TarskBassFx_TempoCreate(DWORD chan, DWORD flags) {
  auto g = lockState();
  ChannelEntry* source = decodingSource(chan);
  if (!source) return 0;
  auto tempo = std::make_shared<audio::TempoChannel>(source->channel);
  return addOver(chan, Kind::Tempo, BASS_CTYPE_STREAM_TEMPO, tempo, flags, source->flags);
}

extern "C" HSTREAM TarskBassFx_ReverseCreate(DWORD chan, float decBlock, DWORD flags) {
  auto g = lockState();
  ChannelEntry* source = decodingSource(chan);
  if (!source) return 0;
  if (source->channel->lengthFrames() < 0) return fail<HSTREAM>(BASS_ERROR_NOTAVAIL, 0);
  if (!(decBlock > 0)) return fail<HSTREAM>(BASS_ERROR_ILLPARAM, 0);
  auto reverse = std::make_shared<audio::ReverseChannel>(source->channel, decBlock);
  return addOver(chan, Kind::Reverse, BASS_CTYPE_STREAM_REVERSE, reverse, flags, source->flags);
}

extern "C" DWORD TarskBassFx_GetSource(HSTREAM chan, int kind) {
  auto g = lockState();
  ChannelEntry* e = findChannel(chan);
  Kind wanted = kind == 0 ? Kind::Tempo : Kind::Reverse;
  if (!e || e->kind != wanted) return fail<DWORD>(BASS_ERROR_HANDLE, 0);
  setError(BASS_OK);
  return e->source;
}

extern "C" float TarskBassFx_TempoGetRateRatio(HSTREAM chan) {
  auto g = lockState();
  ChannelEntry* e = findChannel(chan);
  if (!e || e->kind != Kind::Tempo) return fail<float>(BASS_ERROR_HANDLE, 0.0f);
  setError(BASS_OK);
  return static_cast<audio::TempoChannel&>(*e->channel).rateRatio();
}
