#pragma once
// The audio library and its effects add-on, loaded with dlopen and bound by
// name as the application binds them.
#include <dlfcn.h>

#include <string>

#include "bass.h"
#include "bass_fx.h"

namespace tarsk::audio::testing {

class BassLibrary {
public:
  BassLibrary();
  ~BassLibrary();
  bool loaded() const { return bass_ && fx_; }
  std::string error;

#define TARSK_BASS_FN(name) decltype(&::name) name = nullptr
  TARSK_BASS_FN(BASS_GetVersion);
  TARSK_BASS_FN(BASS_ErrorGetCode);
  TARSK_BASS_FN(BASS_Init);
  TARSK_BASS_FN(BASS_Free);
  TARSK_BASS_FN(BASS_GetInfo);
  TARSK_BASS_FN(BASS_StreamCreateFile);
  TARSK_BASS_FN(BASS_StreamCreate);
  TARSK_BASS_FN(BASS_StreamPutData);
  TARSK_BASS_FN(BASS_StreamFree);
  TARSK_BASS_FN(BASS_MusicLoad);
  TARSK_BASS_FN(BASS_MusicFree);
  TARSK_BASS_FN(BASS_ChannelPlay);
  TARSK_BASS_FN(BASS_ChannelPause);
  TARSK_BASS_FN(BASS_ChannelStop);
  TARSK_BASS_FN(BASS_ChannelIsActive);
  TARSK_BASS_FN(BASS_ChannelGetLength);
  TARSK_BASS_FN(BASS_ChannelGetPosition);
  TARSK_BASS_FN(BASS_ChannelSetPosition);
  TARSK_BASS_FN(BASS_ChannelBytes2Seconds);
  TARSK_BASS_FN(BASS_ChannelSeconds2Bytes);
  TARSK_BASS_FN(BASS_ChannelGetData);
  TARSK_BASS_FN(BASS_ChannelGetInfo);
  TARSK_BASS_FN(BASS_ChannelSetAttribute);
  TARSK_BASS_FN(BASS_ChannelGetAttribute);
  TARSK_BASS_FN(BASS_ChannelSetFX);
  TARSK_BASS_FN(BASS_ChannelRemoveFX);
  TARSK_BASS_FN(BASS_FXSetParameters);
  TARSK_BASS_FN(BASS_FXGetParameters);
  TARSK_BASS_FN(BASS_RecordGetDeviceInfo);
  TARSK_BASS_FN(BASS_RecordInit);
  TARSK_BASS_FN(BASS_RecordFree);
  TARSK_BASS_FN(BASS_RecordGetInfo);
  TARSK_BASS_FN(BASS_RecordGetInput);
  TARSK_BASS_FN(BASS_RecordGetInputName);
  TARSK_BASS_FN(BASS_RecordSetInput);
  TARSK_BASS_FN(BASS_RecordStart);
  TARSK_BASS_FN(BASS_FX_GetVersion);
  TARSK_BASS_FN(BASS_FX_TempoCreate);
  TARSK_BASS_FN(BASS_FX_TempoGetSource);
  TARSK_BASS_FN(BASS_FX_ReverseCreate);
  TARSK_BASS_FN(BASS_FX_DSP_SetParameters);
#undef TARSK_BASS_FN
  BOOL (*TarskBass_RenderOffline)(float* out, DWORD frames) = nullptr;

private:
  void* bass_ = nullptr;
  void* fx_ = nullptr;
};

// The library's file in the build's bin directory.
std::string libraryPath(const std::string& file);

}  // namespace tarsk::audio::testing
