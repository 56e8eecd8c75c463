#include "bass_library.h"

namespace tarsk::audio::testing {

std::string libraryPath(const std::string& file) { return std::string(TARSK_BIN_DIR) + "/" + file; }

BassLibrary::BassLibrary() {
  bass_ = dlopen(libraryPath("libbass.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  fx_ = dlopen(libraryPath("libbass_fx.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!bass_ || !fx_) { error = dlerror(); return; }
  auto bind = [this](void* lib, auto& slot, const char* name) {
    slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(dlsym(lib, name));
    if (!slot) error += std::string("missing ") + name + "\n";
  };
#define TARSK_BIND(lib, name) bind(lib, name, #name)
  TARSK_BIND(bass_, BASS_GetVersion);
  TARSK_BIND(bass_, BASS_ErrorGetCode);
  TARSK_BIND(bass_, BASS_Init);
  TARSK_BIND(bass_, BASS_Free);
  TARSK_BIND(bass_, BASS_GetInfo);
  TARSK_BIND(bass_, BASS_StreamCreateFile);
  TARSK_BIND(bass_, BASS_StreamCreate);
  TARSK_BIND(bass_, BASS_StreamPutData);
  TARSK_BIND(bass_, BASS_StreamFree);
  TARSK_BIND(bass_, BASS_MusicLoad);
  TARSK_BIND(bass_, BASS_MusicFree);
  TARSK_BIND(bass_, BASS_ChannelPlay);
  TARSK_BIND(bass_, BASS_ChannelPause);
  TARSK_BIND(bass_, BASS_ChannelStop);
  TARSK_BIND(bass_, BASS_ChannelIsActive);
  TARSK_BIND(bass_, BASS_ChannelGetLength);
  TARSK_BIND(bass_, BASS_ChannelGetPosition);
  TARSK_BIND(bass_, BASS_ChannelSetPosition);
  TARSK_BIND(bass_, BASS_ChannelBytes2Seconds);
  TARSK_BIND(bass_, BASS_ChannelSeconds2Bytes);
  TARSK_BIND(bass_, BASS_ChannelGetData);
  TARSK_BIND(bass_, BASS_ChannelGetInfo);
  TARSK_BIND(bass_, BASS_ChannelSetAttribute);
  TARSK_BIND(bass_, BASS_ChannelGetAttribute);
  TARSK_BIND(bass_, BASS_ChannelSetFX);
  TARSK_BIND(bass_, BASS_ChannelRemoveFX);
  TARSK_BIND(bass_, BASS_FXSetParameters);
  TARSK_BIND(bass_, BASS_FXGetParameters);
  TARSK_BIND(bass_, BASS_RecordGetDeviceInfo);
  TARSK_BIND(bass_, BASS_RecordInit);
  TARSK_BIND(bass_, BASS_RecordFree);
  TARSK_BIND(bass_, BASS_RecordGetInfo);
  TARSK_BIND(bass_, BASS_RecordGetInput);
  TARSK_BIND(bass_, BASS_RecordGetInputName);
  TARSK_BIND(bass_, BASS_RecordSetInput);
  TARSK_BIND(bass_, BASS_RecordStart);
  TARSK_BIND(bass_, TarskBass_RenderOffline);
  TARSK_BIND(fx_, BASS_FX_GetVersion);
  TARSK_BIND(fx_, BASS_FX_TempoCreate);
  TARSK_BIND(fx_, BASS_FX_TempoGetSource);
  TARSK_BIND(fx_, BASS_FX_ReverseCreate);
  TARSK_BIND(fx_, BASS_FX_DSP_SetParameters);
#undef TARSK_BIND
}

BassLibrary::~BassLibrary() {
  if (fx_) dlclose(fx_);
  if (bass_) dlclose(bass_);
}

}  // namespace tarsk::audio::testing
