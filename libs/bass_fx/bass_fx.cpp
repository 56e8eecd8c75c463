// The effects add-on: its channels live in the audio library's handle table, so
// every function forwards to the library.
#include "bass_fx.h"
#include "bass_tarsk.h"

namespace {
constexpr DWORD kVersion = 0x02040C01;
constexpr int kTempoKind = 0;
constexpr int kReverseKind = 1;
}

extern "C" DWORD BASS_FX_GetVersion(void) { return kVersion; }

extern "C" HSTREAM BASS_FX_TempoCreate(DWORD chan, DWORD flags) {
  return TarskBassFx_TempoCreate(chan, flags);
}

extern "C" DWORD BASS_FX_TempoGetSource(HSTREAM chan) { return TarskBassFx_GetSource(chan, kTempoKind); }

extern "C" float BASS_FX_TempoGetRateRatio(HSTREAM chan) { return TarskBassFx_TempoGetRateRatio(chan); }

extern "C" HSTREAM BASS_FX_ReverseCreate(DWORD chan, float dec_block, DWORD flags) {
  return TarskBassFx_ReverseCreate(chan, dec_block, flags);
}

extern "C" DWORD BASS_FX_ReverseGetSource(HSTREAM chan) { return TarskBassFx_GetSource(chan, kReverseKind); }

extern "C" BOOL BASS_FX_DSP_SetParameters(HFX handle, const void* params) {
  return BASS_FXSetParameters(handle, params);
}
