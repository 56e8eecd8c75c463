#pragma once
// The library's state: the engine, the handle table and the calling thread's
// last error. Every exported function locks the engine while it works.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "bass.h"
#include "sound/engine/capture.h"
#include "sound/engine/channel.h"
#include "sound/engine/engine.h"

namespace tarsk::bass {

enum class Kind { Stream, Music, Record, Tempo, Reverse };

struct ChannelEntry {
  Kind kind = Kind::Stream;
  std::shared_ptr<audio::Channel> channel;
  DWORD flags = 0;   // the creation flags that describe the channel
  DWORD ctype = 0;
  DWORD origres = 0;
  std::string filename;
  DWORD source = 0;       // tempo and reverse channels: the channel they read
  bool freeSource = false;
  STREAMPROC proc = nullptr;
  bool decode() const { return flags & BASS_STREAM_DECODE; }
};

struct FxEntry {
  DWORD channel;
  DWORD type;
  std::shared_ptr<audio::Effect> effect;
};

struct State {
  audio::Engine engine;
  bool initialised = false;
  int device = -1;
  DWORD initFlags = 0;
  std::map<DWORD, ChannelEntry> channels;
  std::map<DWORD, FxEntry> effects;
  DWORD nextHandle = 1;
  // Recording
  bool recordInitialised = false;
  int recordDevice = -1;
  float recordVolume = 1;
  bool recordInputOn = true;
  std::unique_ptr<audio::Capture> capture;
  DWORD recordHandle = 0;
};

State& state();
std::unique_lock<std::recursive_mutex> lockState();

// Sets the calling thread's error code; `fail` also returns the failure value.
void setError(int code);
int lastErrorCode();
template <typename T> T fail(int code, T result) { setError(code); return result; }
inline BOOL failed(int code) { setError(code); return FALSE; }
inline BOOL succeeded() { setError(BASS_OK); return TRUE; }

DWORD addChannel(ChannelEntry entry);
ChannelEntry* findChannel(DWORD handle);
// Removes a channel, its effects and (when it owns it) its source.
void freeChannel(DWORD handle);

// Bytes per sample and per frame of a channel in the format of its flags.
int bytesPerSample(DWORD flags);
int64_t bytesPerFrame(const ChannelEntry& entry);

// A copy of `text` at an address below 4 GiB that stays valid until the process
// ends, for names handed out as pointers (callers may keep them in 32 bits).
const char* lowText(const std::string& text);

}  // namespace tarsk::bass
