// This project's additions to the audio library: offline rendering, CD drives
// and tracks, and the effects add-on's implementation.
#ifndef TARSK_BASS_TARSK_H
#define TARSK_BASS_TARSK_H

#include "bass.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma GCC visibility push(default)

// Offline output only (TARSK_AUDIO_OUTPUT=offline): renders the next `frames`
// stereo float frames of the mix into `out`.
BOOL TarskBass_RenderOffline(float *out, DWORD frames);

// CD drives (cue sheet images first, then the machine's drives), numbered from 0.
DWORD TarskBassCd_DriveCount(void);
// Audio tracks on the disc in `drive`; 0 when there is no readable disc.
DWORD TarskBassCd_TrackCount(DWORD drive);
// A stream of `track` (from 0) of the disc in `drive`.
HSTREAM TarskBassCd_StreamCreate(DWORD drive, DWORD track, DWORD flags);

// The effects add-on's channels; the add-on forwards to these.
HSTREAM TarskBassFx_TempoCreate(DWORD chan, DWORD flags);
HSTREAM TarskBassFx_ReverseCreate(DWORD chan, float decBlock, DWORD flags);
// The source of a tempo (kind 0) or reverse (kind 1) channel.
DWORD TarskBassFx_GetSource(HSTREAM chan, int kind);
float TarskBassFx_TempoGetRateRatio(HSTREAM chan);

#pragma GCC visibility pop

#ifdef __cplusplus
}
#endif

#endif
