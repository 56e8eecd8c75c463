// The studio effects on channels and their parameter records.
#include "registry.h"
#include "sound/engine/effects/effects.h"

using namespace tarsk::bass;
namespace audio = tarsk::audio;

namespace {

std::shared_ptr<audio::Effect> makeEffect(DWORD type) {
  switch (type) {
    case BASS_FX_DX8_CHORUS: return std::make_shared<audio::ModulationEffect>(false);
    case BASS_FX_DX8_COMPRESSOR: return std::make_shared<audio::CompressorEffect>();
    case BASS_FX_DX8_DISTORTION: return std::make_shared<audio::DistortionEffect>();
    case BASS_FX_DX8_ECHO: return std::make_shared<audio::EchoEffect>();
    case BASS_FX_DX8_FLANGER: return std::make_shared<audio::ModulationEffect>(true);
    case BASS_FX_DX8_GARGLE: return std::make_shared<audio::GargleEffect>();
    case BASS_FX_DX8_I3DL2REVERB: return std::make_shared<audio::RoomReverbEffect>();
    case BASS_FX_DX8_PARAMEQ: return std::make_shared<audio::ParamEqEffect>();
    case BASS_FX_DX8_REVERB: return std::make_shared<audio::ReverbEffect>();
    default: return nullptr;
  }
}

template <typename Record> audio::ModulationParams modulationFrom(const Record& r) {
  return {r.fWetDryMix, r.fDepth, r.fFeedback, r.fFrequency, static_cast<int>(r.lWaveform), r.fDelay,
          static_cast<int>(r.lPhase)};
}
template <typename Record> void modulationTo(const audio::ModulationParams& p, Record& r) {
  r = Record{p.wetDry, p.depth, p.feedback, p.frequency, static_cast<DWORD>(p.waveform), p.delay,
             static_cast<DWORD>(p.phase)};
}

bool setParameters(FxEntry& fx, const void* params) {
  audio::Effect* e = fx.effect.get();
  switch (fx.type) {
    case BASS_FX_DX8_CHORUS:
      return static_cast<audio::ModulationEffect*>(e)->set(modulationFrom(*static_cast<const BASS_DX8_CHORUS*>(params)));
    case BASS_FX_DX8_FLANGER:
      return static_cast<audio::ModulationEffect*>(e)->set(modulationFrom(*static_cast<const BASS_DX8_FLANGER*>(params)));
    case BASS_FX_DX8_COMPRESSOR: {
      auto& r = *static_cast<const BASS_DX8_COMPRESSOR*>(params);
      return static_cast<audio::CompressorEffect*>(e)->set(
          {r.fGain, r.fAttack, r.fRelease, r.fThreshold, r.fRatio, r.fPredelay});
    }
    case BASS_FX_DX8_DISTORTION: {
      auto& r = *static_cast<const BASS_DX8_DISTORTION*>(params);
      return static_cast<audio::DistortionEffect*>(e)->set(
          {r.fGain, r.fEdge, r.fPostEQCenterFrequency, r.fPostEQBandwidth, r.fPreLowpassCutoff});
    }
    case BASS_FX_DX8_ECHO: {
      auto& r = *static_cast<const BASS_DX8_ECHO*>(params);
      if (r.lPanDelay != 0 && r.lPanDelay != 1) return false;
      return static_cast<audio::EchoEffect*>(e)->set(
          {r.fWetDryMix, r.fFeedback, r.fLeftDelay, r.fRightDelay, r.lPanDelay != 0});
    }
    case BASS_FX_DX8_GARGLE: {
      auto& r = *static_cast<const BASS_DX8_GARGLE*>(params);
      if (r.dwRateHz > 1000 || r.dwWaveShape > 1) return false;
      return static_cast<audio::GargleEffect*>(e)->set(
          {static_cast<int>(r.dwRateHz), static_cast<int>(r.dwWaveShape)});
    }
    case BASS_FX_DX8_I3DL2REVERB: {
      auto& r = *static_cast<const BASS_DX8_I3DL2REVERB*>(params);
      return static_cast<audio::RoomReverbEffect*>(e)->set(
          {r.lRoom, r.lRoomHF, r.flRoomRolloffFactor, r.flDecayTime, r.flDecayHFRatio, r.lReflections,
           r.flReflectionsDelay, r.lReverb, r.flReverbDelay, r.flDiffusion, r.flDensity, r.flHFReference});
    }
    case BASS_FX_DX8_PARAMEQ: {
      auto& r = *static_cast<const BASS_DX8_PARAMEQ*>(params);
      return static_cast<audio::ParamEqEffect*>(e)->set({r.fCenter, r.fBandwidth, r.fGain});
    }
    case BASS_FX_DX8_REVERB: {
      auto& r = *static_cast<const BASS_DX8_REVERB*>(params);
      return static_cast<audio::ReverbEffect*>(e)->set({r.fInGain, r.fReverbMix, r.fReverbTime, r.fHighFreqRTRatio});
    }
    default:
      return false;
  }
}

void getParameters(const FxEntry& fx, void* params) {
  audio::Effect* e = fx.effect.get();
  switch (fx.type) {
    case BASS_FX_DX8_CHORUS:
      modulationTo(static_cast<audio::ModulationEffect*>(e)->params(), *static_cast<BASS_DX8_CHORUS*>(params));
      break;
    case BASS_FX_DX8_FLANGER:
      modulationTo(static_cast<audio::ModulationEffect*>(e)->params(), *static_cast<BASS_DX8_FLANGER*>(params));
      break;
    case BASS_FX_DX8_COMPRESSOR: {
      auto p = static_cast<audio::CompressorEffect*>(e)->params();
      *static_cast<BASS_DX8_COMPRESSOR*>(params) = {p.gain, p.attack, p.release, p.threshold, p.ratio, p.predelay};
      break;
    }
    case BASS_FX_DX8_DISTORTION: {
      auto p = static_cast<audio::DistortionEffect*>(e)->params();
      *static_cast<BASS_DX8_DISTORTION*>(params) = {p.gain, p.edge, p.postEqCenter, p.postEqBandwidth, p.preLowpassCutoff};
      break;
    }
    case BASS_FX_DX8_ECHO: {
      auto p = static_cast<audio::EchoEffect*>(e)->params();
      *static_cast<BASS_DX8_ECHO*>(params) = {p.wetDry, p.feedback, p.leftDelay, p.rightDelay, p.panDelay ? 1 : 0};
      break;
    }
    case BASS_FX_DX8_GARGLE: {
      auto p = static_cast<audio::GargleEffect*>(e)->params();
      *static_cast<BASS_DX8_GARGLE*>(params) = {static_cast<DWORD>(p.rateHz), static_cast<DWORD>(p.waveShape)};
      break;
    }
    case BASS_FX_DX8_I3DL2REVERB: {
      auto p = static_cast<audio::RoomReverbEffect*>(e)->params();
      *static_cast<BASS_DX8_I3DL2REVERB*>(params) = {p.room, p.roomHf, p.rolloff, p.decayTime, p.decayHfRatio,
          p.reflections, p.reflectionsDelay, p.reverb, p.reverbDelay, p.diffusion, p.density, p.hfReference};
      break;
    }
    case BASS_FX_DX8_PARAMEQ: {
      auto p = static_cast<audio::ParamEqEffect*>(e)->params();
      *static_cast<BASS_DX8_PARAMEQ*>(params) = {p.center, p.bandwidth, p.gain};
      break;
    }
    case BASS_FX_DX8_REVERB: {
      auto p = static_cast<audio::ReverbEffect*>(e)->params();
      *static_cast<BASS_DX8_REVERB*>(params) = {p.inGain, p.reverbMix, p.reverbTime, p.hfRatio};
      break;
    }
    default:
      break;
  }
}

FxEntry* findFx(DWORD handle) {
  auto& map = state().effects;
  auto it = map.find(handle);
  return it == map.end() ? nullptr : &it->second;
}

}  // namespace

extern "C" HFX BASS_ChannelSetFX(DWORD handle, DWORD type, int priority) {
  auto g = lockState();
  ChannelEntry* e = findChannel(handle);
  if (!e) return fail<HFX>(BASS_ERROR_HANDLE, 0);
  auto effect = makeEffect(type);
  if (!effect) return fail<HFX>(BASS_ERROR_ILLTYPE, 0);
  e->channel->addEffect(effect, priority);
  State& s = state();
  HFX fx = s.nextHandle++;
  s.effects.emplace(fx, FxEntry{handle, type, std::move(effect)});
  setError(BASS_OK);
  return fx;
}

extern "C" BOOL BASS_ChannelRemoveFX(DWORD handle, HFX fx) {
  auto g = lockState();
  ChannelEntry* e = findChannel(handle);
  if (!e) return failed(BASS_ERROR_HANDLE);
  FxEntry* f = findFx(fx);
  if (!f || f->channel != handle) return failed(BASS_ERROR_HANDLE);
  e->channel->removeEffect(f->effect.get());
  state().effects.erase(fx);
  return succeeded();
}

extern "C" BOOL BASS_FXSetParameters(HFX handle, const void* params) {
  auto g = lockState();
  FxEntry* f = findFx(handle);
  if (!f) return failed(BASS_ERROR_HANDLE);
  if (!params) return failed(BASS_ERROR_ILLPARAM);
  if (!setParameters(*f, params)) return failed(BASS_ERROR_ILLPARAM);
  return succeeded();
}

extern "C" BOOL BASS_FXGetParameters(HFX handle, void* params) {
  auto g = lockState();
  FxEntry* f = findFx(handle);
  if (!f) return failed(BASS_ERROR_HANDLE);
  if (!params) return failed(BASS_ERROR_ILLPARAM);
  getParameters(*f, params);
  return succeeded();
}

extern "C" BOOL BASS_FXReset(HFX handle) {
  auto g = lockState();
  FxEntry* f = findFx(handle);
  if (!f) return failed(BASS_ERROR_HANDLE);
  f->effect->reset();
  return succeeded();
}
