// Channel control: play, pause, stop, state, positions, information, attributes.
#include <cmath>

#include "bass_fx.h"
#include "registry.h"
#include "sound/engine/streams/reverse_channel.h"
#include "sound/engine/streams/tempo_channel.h"

using namespace tarsk::bass;
namespace audio = tarsk::audio;

namespace {
constexpr QWORD kNoPosition = static_cast<QWORD>(-1);
}

extern "C" BOOL BASS_ChannelPlay(DWORD handle, BOOL restart) {
  auto g = lockState();
  State& s = state();
  ChannelEntry* e = findChannel(handle);
  if (!e) return failed(BASS_ERROR_HANDLE);
  if (e->kind == Kind::Record) {  // the capture callback keeps data only while playing
    e->channel->state = audio::ChannelState::Playing;
    return succeeded();
  }
  if (!s.initialised) return failed(BASS_ERROR_INIT);
  if (e->decode()) return failed(BASS_ERROR_DECODE);
  auto& ch = *e->channel;
  if (restart || ch.ended()) {
    ch.seek(0);
    ch.resetEffects();
  }
  s.engine.play(e->channel);
  return succeeded();
}

extern "C" BOOL BASS_ChannelPause(DWORD handle) {
  auto g = lockState();
  State& s = state();
  ChannelEntry* e = findChannel(handle);
  if (!e) return failed(BASS_ERROR_HANDLE);
  if (e->kind == Kind::Record) {
    e->channel->state = audio::ChannelState::Paused;
    return succeeded();
  }
  if (e->decode()) return failed(BASS_ERROR_DECODE);
  if (!s.engine.isPlaying(*e->channel) || e->channel->state == audio::ChannelState::Paused)
    return failed(BASS_ERROR_NOPLAY);
  s.engine.pause(*e->channel);
  return succeeded();
}

extern "C" BOOL BASS_ChannelStop(DWORD handle) {
  auto g = lockState();
  State& s = state();
  ChannelEntry* e = findChannel(handle);
  if (!e) return failed(BASS_ERROR_HANDLE);
  if (e->kind == Kind::Record) {
    e->channel->state = audio::ChannelState::Stopped;
    return succeeded();
  }
  s.engine.stop(*e->channel);
  return succeeded();
}

extern "C" DWORD BASS_ChannelIsActive(DWORD handle) {
  auto g = lockState();
  ChannelEntry* e = findChannel(handle);
  if (!e) return fail<DWORD>(BASS_ERROR_HANDLE, BASS_ACTIVE_STOPPED);
  setError(BASS_OK);
  const auto& ch = *e->channel;
  if (e->decode() && e->kind != Kind::Record) return ch.ended() ? BASS_ACTIVE_STOPPED : BASS_ACTIVE_PLAYING;
  switch (ch.state) {
    case audio::ChannelState::Playing: return BASS_ACTIVE_PLAYING;
    case audio::ChannelState::Stalled: return BASS_ACTIVE_STALLED;
    case audio::ChannelState::Paused: return BASS_ACTIVE_PAUSED;
    default: return BASS_ACTIVE_STOPPED;
  }
}

extern "C" QWORD BASS_ChannelGetLength(DWORD handle, DWORD mode) {
  auto g = lockState();
  ChannelEntry* e = findChannel(handle);
  if (!e) return fail<QWORD>(BASS_ERROR_HANDLE, kNoPosition);
  if (mode != BASS_POS_BYTE) return fail<QWORD>(BASS_ERROR_NOTAVAIL, kNoPosition);
  int64_t frames = e->channel->lengthFrames();
  if (frames < 0) return fail<QWORD>(BASS_ERROR_NOTAVAIL, kNoPosition);
  setError(BASS_OK);
  return static_cast<QWORD>(frames * bytesPerFrame(*e));
}

extern "C" QWORD BASS_ChannelGetPosition(DWORD handle, DWORD mode) {
  auto g = lockState();
  State& s = state();
  ChannelEntry* e = findChannel(handle);
  if (!e) return fail<QWORD>(BASS_ERROR_HANDLE, kNoPosition);
  if (mode != BASS_POS_BYTE) return fail<QWORD>(BASS_ERROR_NOTAVAIL, kNoPosition);
  int64_t frames = e->decode() ? e->channel->positionFrames() : s.engine.playedPosition(*e->channel);
  setError(BASS_OK);
  return static_cast<QWORD>(frames * bytesPerFrame(*e));
}

extern "C" BOOL BASS_ChannelSetPosition(DWORD handle, QWORD pos, DWORD mode) {
  auto g = lockState();
  ChannelEntry* e = findChannel(handle);
  if (!e) return failed(BASS_ERROR_HANDLE);
  if (mode != BASS_POS_BYTE) return failed(BASS_ERROR_NOTAVAIL);
  if (e->kind == Kind::Record) return failed(BASS_ERROR_NOTAVAIL);
  int64_t frame = static_cast<int64_t>(pos / static_cast<QWORD>(bytesPerFrame(*e)));
  if (!e->channel->seek(frame)) return failed(BASS_ERROR_POSITION);
  return succeeded();
}

extern "C" double BASS_ChannelBytes2Seconds(DWORD handle, QWORD pos) {
  auto g = lockState();
  ChannelEntry* e = findChannel(handle);
  if (!e) return fail<double>(BASS_ERROR_HANDLE, -1.0);
  setError(BASS_OK);
  return static_cast<double>(pos / static_cast<QWORD>(bytesPerFrame(*e))) / e->channel->rate();
}

extern "C" QWORD BASS_ChannelSeconds2Bytes(DWORD handle, double pos) {
  auto g = lockState();
  ChannelEntry* e = findChannel(handle);
  if (!e) return fail<QWORD>(BASS_ERROR_HANDLE, kNoPosition);
  if (!(pos >= 0)) return fail<QWORD>(BASS_ERROR_ILLPARAM, kNoPosition);
  setError(BASS_OK);
  auto frames = static_cast<QWORD>(std::floor(pos * e->channel->rate()));
  return frames * static_cast<QWORD>(bytesPerFrame(*e));
}

extern "C" BOOL BASS_ChannelGetInfo(DWORD handle, BASS_CHANNELINFO* info) {
  auto g = lockState();
  ChannelEntry* e = findChannel(handle);
  if (!e) return failed(BASS_ERROR_HANDLE);
  if (!info) return failed(BASS_ERROR_ILLPARAM);
  info->freq = static_cast<DWORD>(e->channel->rate());
  info->chans = static_cast<DWORD>(e->channel->channels());
  info->flags = e->flags;
  info->ctype = e->ctype;
  info->origres = e->origres;
  info->plugin = 0;
  info->sample = 0;
  info->filename = e->filename.empty() ? nullptr : lowText(e->filename);
  return succeeded();
}

extern "C" BOOL BASS_ChannelSetAttribute(DWORD handle, DWORD attrib, float value) {
  auto g = lockState();
  ChannelEntry* e = findChannel(handle);
  if (!e) return failed(BASS_ERROR_HANDLE);
  if (!std::isfinite(value)) return failed(BASS_ERROR_ILLPARAM);
  auto& ch = *e->channel;
  auto* tempo = dynamic_cast<audio::TempoChannel*>(&ch);
  auto* reverse = dynamic_cast<audio::ReverseChannel*>(&ch);
  switch (attrib) {
    case BASS_ATTRIB_FREQ:
      ch.frequency = value == 0 ? static_cast<float>(ch.rate()) : std::clamp(value, 100.0f, 384000.0f);
      return succeeded();
    case BASS_ATTRIB_VOL:
      ch.volume = std::max(0.0f, value);
      return succeeded();
    case BASS_ATTRIB_PAN:
      ch.pan = std::clamp(value, -1.0f, 1.0f);
      return succeeded();
    case BASS_ATTRIB_TEMPO:
      if (!tempo) return failed(BASS_ERROR_ILLTYPE);
      tempo->setTempoPercent(value);
      return succeeded();
    case BASS_ATTRIB_TEMPO_PITCH:
      if (!tempo) return failed(BASS_ERROR_ILLTYPE);
      tempo->setPitchSemitones(value);
      return succeeded();
    case BASS_ATTRIB_TEMPO_FREQ:
      if (!tempo) return failed(BASS_ERROR_ILLTYPE);
      tempo->setRateFrequency(value == 0 ? static_cast<float>(ch.rate()) : value);
      return succeeded();
    case BASS_ATTRIB_REVERSE_DIR:
      if (!reverse) return failed(BASS_ERROR_ILLTYPE);
      reverse->setDirection(value < 0 ? -1 : 1);
      return succeeded();
    default:
      return failed(BASS_ERROR_ILLTYPE);
  }
}

extern "C" BOOL BASS_ChannelGetAttribute(DWORD handle, DWORD attrib, float* value) {
  auto g = lockState();
  ChannelEntry* e = findChannel(handle);
  if (!e) return failed(BASS_ERROR_HANDLE);
  if (!value) return failed(BASS_ERROR_ILLPARAM);
  auto& ch = *e->channel;
  auto* tempo = dynamic_cast<audio::TempoChannel*>(&ch);
  auto* reverse = dynamic_cast<audio::ReverseChannel*>(&ch);
  switch (attrib) {
    case BASS_ATTRIB_FREQ: *value = ch.frequency; break;
    case BASS_ATTRIB_VOL: *value = ch.volume; break;
    case BASS_ATTRIB_PAN: *value = ch.pan; break;
    case BASS_ATTRIB_TEMPO:
      if (!tempo) return failed(BASS_ERROR_ILLTYPE);
      *value = tempo->tempoPercent();
      break;
    case BASS_ATTRIB_TEMPO_PITCH:
      if (!tempo) return failed(BASS_ERROR_ILLTYPE);
      *value = tempo->pitchSemitones();
      break;
    case BASS_ATTRIB_TEMPO_FREQ:
      if (!tempo) return failed(BASS_ERROR_ILLTYPE);
      *value = tempo->rateFrequency();
      break;
    case BASS_ATTRIB_REVERSE_DIR:
      if (!reverse) return failed(BASS_ERROR_ILLTYPE);
      *value = static_cast<float>(reverse->direction());
      break;
    default:
      return failed(BASS_ERROR_ILLTYPE);
  }
  return succeeded();
}
