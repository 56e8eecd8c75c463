// The effects add-on's C interface (2.4 series): tempo, pitch and reverse
// channels over decoding channels.
#ifndef TARSK_BASS_FX_H
#define TARSK_BASS_FX_H

#include "bass.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma GCC visibility push(default)

#define BASS_FX_FREESOURCE 0x10000

#define BASS_ATTRIB_TEMPO 0x10000
#define BASS_ATTRIB_TEMPO_PITCH 0x10001
#define BASS_ATTRIB_TEMPO_FREQ 0x10002
#define BASS_ATTRIB_REVERSE_DIR 0x11000

#define BASS_FX_RVS_REVERSE -1
#define BASS_FX_RVS_FORWARD 1

#define BASS_CTYPE_STREAM_TEMPO 0x1f200
#define BASS_CTYPE_STREAM_REVERSE 0x1f201

DWORD BASS_FX_GetVersion(void);
HSTREAM BASS_FX_TempoCreate(DWORD chan, DWORD flags);
DWORD BASS_FX_TempoGetSource(HSTREAM chan);
float BASS_FX_TempoGetRateRatio(HSTREAM chan);
HSTREAM BASS_FX_ReverseCreate(DWORD chan, float dec_block, DWORD flags);
DWORD BASS_FX_ReverseGetSource(HSTREAM chan);
// Sets the parameters of an effect on a channel; the same as BASS_FXSetParameters.
BOOL BASS_FX_DSP_SetParameters(HFX handle, const void *params);

#pragma GCC visibility pop

#ifdef __cplusplus
}
#endif

#endif
