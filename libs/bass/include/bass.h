// The audio library's C interface (2.4 series): types, constants, records and
// functions, as the application and its helper library call them.
#ifndef TARSK_BASS_H
#define TARSK_BASS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#pragma GCC visibility push(default)

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef uint64_t QWORD;
typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

typedef DWORD HMUSIC, HSAMPLE, HCHANNEL, HSTREAM, HRECORD, HSYNC, HDSP, HFX, HPLUGIN;

#define BASSVERSION 0x204
#define BASS_VERSION_NUMBER 0x2040900

/* Error codes (BASS_ErrorGetCode) */
#define BASS_OK 0
#define BASS_ERROR_MEM 1
#define BASS_ERROR_FILEOPEN 2
#define BASS_ERROR_DRIVER 3
#define BASS_ERROR_BUFLOST 4
#define BASS_ERROR_HANDLE 5
#define BASS_ERROR_FORMAT 6
#define BASS_ERROR_POSITION 7
#define BASS_ERROR_INIT 8
#define BASS_ERROR_START 9
#define BASS_ERROR_ALREADY 14
#define BASS_ERROR_NOCHAN 18
#define BASS_ERROR_ILLTYPE 19
#define BASS_ERROR_ILLPARAM 20
#define BASS_ERROR_NO3D 21
#define BASS_ERROR_NOEAX 22
#define BASS_ERROR_DEVICE 23
#define BASS_ERROR_NOPLAY 24
#define BASS_ERROR_FREQ 25
#define BASS_ERROR_NOTFILE 27
#define BASS_ERROR_NOHW 29
#define BASS_ERROR_EMPTY 31
#define BASS_ERROR_NONET 32
#define BASS_ERROR_CREATE 33
#define BASS_ERROR_NOFX 34
#define BASS_ERROR_NOTAVAIL 37
#define BASS_ERROR_DECODE 38
#define BASS_ERROR_DX 39
#define BASS_ERROR_TIMEOUT 40
#define BASS_ERROR_FILEFORM 41
#define BASS_ERROR_SPEAKER 42
#define BASS_ERROR_VERSION 43
#define BASS_ERROR_CODEC 44
#define BASS_ERROR_ENDED 45
#define BASS_ERROR_BUSY 46
#define BASS_ERROR_UNKNOWN -1

/* Device and channel flags */
#define BASS_DEVICE_8BITS 1
#define BASS_DEVICE_MONO 2
#define BASS_DEVICE_3D 4
#define BASS_DEVICE_LATENCY 0x100
#define BASS_DEVICE_ENABLED 1
#define BASS_DEVICE_DEFAULT 2
#define BASS_DEVICE_INIT 4

#define BASS_SAMPLE_8BITS 1
#define BASS_SAMPLE_FLOAT 256
#define BASS_SAMPLE_MONO 2
#define BASS_SAMPLE_LOOP 4
#define BASS_SAMPLE_3D 8
#define BASS_SAMPLE_SOFTWARE 16
#define BASS_SAMPLE_FX 128

#define BASS_STREAM_PRESCAN 0x20000
#define BASS_STREAM_AUTOFREE 0x40000
#define BASS_STREAM_RESTRATE 0x80000
#define BASS_STREAM_BLOCK 0x100000
#define BASS_STREAM_DECODE 0x200000
#define BASS_STREAM_STATUS 0x800000

#define BASS_MUSIC_FLOAT BASS_SAMPLE_FLOAT
#define BASS_MUSIC_MONO BASS_SAMPLE_MONO
#define BASS_MUSIC_LOOP BASS_SAMPLE_LOOP
#define BASS_MUSIC_DECODE BASS_STREAM_DECODE
#define BASS_MUSIC_PRESCAN BASS_STREAM_PRESCAN
#define BASS_MUSIC_AUTOFREE BASS_STREAM_AUTOFREE
#define BASS_MUSIC_RAMP 0x200
#define BASS_MUSIC_RAMPS 0x400
#define BASS_MUSIC_SURROUND 0x800
#define BASS_MUSIC_FT2MOD 0x2000
#define BASS_MUSIC_PT1MOD 0x4000
#define BASS_MUSIC_NONINTER 0x10000
#define BASS_MUSIC_STOPBACK 0x80000
#define BASS_MUSIC_NOSAMPLE 0x100000

#define BASS_UNICODE 0x80000000

/* Channel types (BASS_CHANNELINFO ctype) */
#define BASS_CTYPE_SAMPLE 1
#define BASS_CTYPE_RECORD 2
#define BASS_CTYPE_STREAM 0x10000
#define BASS_CTYPE_STREAM_OGG 0x10002
#define BASS_CTYPE_STREAM_MP1 0x10003
#define BASS_CTYPE_STREAM_MP2 0x10004
#define BASS_CTYPE_STREAM_MP3 0x10005
#define BASS_CTYPE_STREAM_AIFF 0x10006
#define BASS_CTYPE_STREAM_CD 0x10200
#define BASS_CTYPE_STREAM_WMA 0x10300
#define BASS_CTYPE_STREAM_AAC 0x10b00
#define BASS_CTYPE_STREAM_MP4 0x10b01
#define BASS_CTYPE_STREAM_FLAC 0x10900
#define BASS_CTYPE_STREAM_MIDI 0x10d00
#define BASS_CTYPE_STREAM_WAV 0x40000
#define BASS_CTYPE_STREAM_WAV_PCM 0x50001
#define BASS_CTYPE_STREAM_WAV_FLOAT 0x50003
#define BASS_CTYPE_MUSIC_MOD 0x20000
#define BASS_CTYPE_MUSIC_MTM 0x20001
#define BASS_CTYPE_MUSIC_S3M 0x20002
#define BASS_CTYPE_MUSIC_XM 0x20003
#define BASS_CTYPE_MUSIC_IT 0x20004
#define BASS_CTYPE_MUSIC_MO3 0x00100

/* Channel states (BASS_ChannelIsActive) */
#define BASS_ACTIVE_STOPPED 0
#define BASS_ACTIVE_PLAYING 1
#define BASS_ACTIVE_STALLED 2
#define BASS_ACTIVE_PAUSED 3

/* Attributes */
#define BASS_ATTRIB_FREQ 1
#define BASS_ATTRIB_VOL 2
#define BASS_ATTRIB_PAN 3

/* Position modes */
#define BASS_POS_BYTE 0
#define BASS_POS_MUSIC_ORDER 1

/* BASS_ChannelGetData */
#define BASS_DATA_AVAILABLE 0
#define BASS_DATA_FLOAT 0x40000000
#define BASS_DATA_FFT256 0x80000000
#define BASS_DATA_FFT512 0x80000001
#define BASS_DATA_FFT1024 0x80000002
#define BASS_DATA_FFT2048 0x80000003
#define BASS_DATA_FFT4096 0x80000004
#define BASS_DATA_FFT8192 0x80000005
#define BASS_DATA_FFT16384 0x80000006
#define BASS_DATA_FFT_INDIVIDUAL 0x10
#define BASS_DATA_FFT_NOWINDOW 0x20
#define BASS_DATA_FFT_REMOVEDC 0x40

/* Stream procedures */
typedef DWORD (*STREAMPROC)(HSTREAM handle, void *buffer, DWORD length, void *user);
#define BASS_STREAMPROC_END 0x80000000
#define STREAMPROC_DUMMY ((STREAMPROC)0)
#define STREAMPROC_PUSH ((STREAMPROC)-1)

/* Recording */
typedef BOOL (*RECORDPROC)(HRECORD handle, const void *buffer, DWORD length, void *user);
#define BASS_RECORD_PAUSE 0x8000
#define BASS_INPUT_OFF 0x10000
#define BASS_INPUT_ON 0x20000
#define BASS_INPUT_TYPE_MASK 0xff000000
#define BASS_INPUT_TYPE_UNDEF 0x00000000
#define BASS_INPUT_TYPE_DIGITAL 0x01000000
#define BASS_INPUT_TYPE_LINE 0x02000000
#define BASS_INPUT_TYPE_MIC 0x03000000

/* Effect types (BASS_ChannelSetFX) */
#define BASS_FX_DX8_CHORUS 0
#define BASS_FX_DX8_COMPRESSOR 1
#define BASS_FX_DX8_DISTORTION 2
#define BASS_FX_DX8_ECHO 3
#define BASS_FX_DX8_FLANGER 4
#define BASS_FX_DX8_GARGLE 5
#define BASS_FX_DX8_I3DL2REVERB 6
#define BASS_FX_DX8_PARAMEQ 7
#define BASS_FX_DX8_REVERB 8

#define BASS_DX8_PHASE_NEG_180 0
#define BASS_DX8_PHASE_NEG_90 1
#define BASS_DX8_PHASE_ZERO 2
#define BASS_DX8_PHASE_90 3
#define BASS_DX8_PHASE_180 4

typedef struct {
  DWORD flags;
  DWORD hwsize;
  DWORD hwfree;
  DWORD freesam;
  DWORD free3d;
  DWORD minrate;
  DWORD maxrate;
  BOOL eax;
  DWORD minbuf;
  DWORD dsver;
  DWORD latency;
  DWORD initflags;
  DWORD speakers;
  DWORD freq;
} BASS_INFO;

typedef struct {
  const char *name;
  const char *driver;
  DWORD flags;
} BASS_DEVICEINFO;

typedef struct {
  DWORD flags;
  DWORD formats;
  DWORD inputs;
  BOOL singlein;
  DWORD freq;
} BASS_RECORDINFO;

typedef struct {
  DWORD freq;
  DWORD chans;
  DWORD flags;
  DWORD ctype;
  DWORD origres;
  HPLUGIN plugin;
  HSAMPLE sample;
  const char *filename;
} BASS_CHANNELINFO;

typedef struct { float fWetDryMix, fDepth, fFeedback, fFrequency; DWORD lWaveform; float fDelay; DWORD lPhase; } BASS_DX8_CHORUS;
typedef struct { float fGain, fAttack, fRelease, fThreshold, fRatio, fPredelay; } BASS_DX8_COMPRESSOR;
typedef struct { float fGain, fEdge, fPostEQCenterFrequency, fPostEQBandwidth, fPreLowpassCutoff; } BASS_DX8_DISTORTION;
typedef struct { float fWetDryMix, fFeedback, fLeftDelay, fRightDelay; BOOL lPanDelay; } BASS_DX8_ECHO;
typedef struct { float fWetDryMix, fDepth, fFeedback, fFrequency; DWORD lWaveform; float fDelay; DWORD lPhase; } BASS_DX8_FLANGER;
typedef struct { DWORD dwRateHz; DWORD dwWaveShape; } BASS_DX8_GARGLE;
typedef struct {
  int lRoom, lRoomHF;
  float flRoomRolloffFactor, flDecayTime, flDecayHFRatio;
  int lReflections;
  float flReflectionsDelay;
  int lReverb;
  float flReverbDelay, flDiffusion, flDensity, flHFReference;
} BASS_DX8_I3DL2REVERB;
typedef struct { float fCenter, fBandwidth, fGain; } BASS_DX8_PARAMEQ;
typedef struct { float fInGain, fReverbMix, fReverbTime, fHighFreqRTRatio; } BASS_DX8_REVERB;

/* Set-up */
DWORD BASS_GetVersion(void);
int BASS_ErrorGetCode(void);
BOOL BASS_Init(int device, DWORD freq, DWORD flags, void *win, const void *dsguid);
BOOL BASS_Free(void);
BOOL BASS_GetInfo(BASS_INFO *info);
BOOL BASS_GetDeviceInfo(DWORD device, BASS_DEVICEINFO *info);

/* Streams and modules */
HSTREAM BASS_StreamCreateFile(BOOL mem, const void *file, QWORD offset, QWORD length, DWORD flags);
HSTREAM BASS_StreamCreate(DWORD freq, DWORD chans, DWORD flags, STREAMPROC proc, void *user);
DWORD BASS_StreamPutData(HSTREAM handle, const void *buffer, DWORD length);
BOOL BASS_StreamFree(HSTREAM handle);
HMUSIC BASS_MusicLoad(BOOL mem, const void *file, QWORD offset, DWORD length, DWORD flags, DWORD freq);
BOOL BASS_MusicFree(HMUSIC handle);

/* Channels */
BOOL BASS_ChannelPlay(DWORD handle, BOOL restart);
BOOL BASS_ChannelPause(DWORD handle);
BOOL BASS_ChannelStop(DWORD handle);
DWORD BASS_ChannelIsActive(DWORD handle);
QWORD BASS_ChannelGetLength(DWORD handle, DWORD mode);
QWORD BASS_ChannelGetPosition(DWORD handle, DWORD mode);
BOOL BASS_ChannelSetPosition(DWORD handle, QWORD pos, DWORD mode);
double BASS_ChannelBytes2Seconds(DWORD handle, QWORD pos);
QWORD BASS_ChannelSeconds2Bytes(DWORD handle, double pos);
DWORD BASS_ChannelGetData(DWORD handle, void *buffer, DWORD length);
BOOL BASS_ChannelGetInfo(DWORD handle, BASS_CHANNELINFO *info);
BOOL BASS_ChannelSetAttribute(DWORD handle, DWORD attrib, float value);
BOOL BASS_ChannelGetAttribute(DWORD handle, DWORD attrib, float *value);

/* Effects */
HFX BASS_ChannelSetFX(DWORD handle, DWORD type, int priority);
BOOL BASS_ChannelRemoveFX(DWORD handle, HFX fx);
BOOL BASS_FXSetParameters(HFX handle, const void *params);
BOOL BASS_FXGetParameters(HFX handle, void *params);
BOOL BASS_FXReset(HFX handle);

/* Recording */
BOOL BASS_RecordGetDeviceInfo(DWORD device, BASS_DEVICEINFO *info);
BOOL BASS_RecordInit(int device);
BOOL BASS_RecordFree(void);
BOOL BASS_RecordGetInfo(BASS_RECORDINFO *info);
const char *BASS_RecordGetInputName(int input);
BOOL BASS_RecordSetInput(int input, DWORD flags, float volume);
DWORD BASS_RecordGetInput(int input, float *volume);
HRECORD BASS_RecordStart(DWORD freq, DWORD chans, DWORD flags, RECORDPROC proc, void *user);

#pragma GCC visibility pop

#ifdef __cplusplus
}
#endif

#endif
