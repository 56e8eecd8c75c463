#include "registry.h"

#include <sys/mman.h>

#include <cstring>

namespace tarsk::bass {
namespace {
thread_local int lastError = BASS_OK;
}

// Streams created with the auto-free flag are freed when they play to their end.
void freeAutoFreeChannel(State& s, tarsk::audio::Channel& ended) {
  for (auto& [handle, entry] : s.channels) {
    if (entry.channel.get() == &ended) {
      if (entry.flags & BASS_STREAM_AUTOFREE) freeChannel(handle);
      return;
    }
  }
}

State& state() {
  static State* s = [] {
    auto* created = new State;  // lives until the process ends: output threads may outlive statics
    created->engine.setEndCallback([created](tarsk::audio::Channel& ended) { freeAutoFreeChannel(*created, ended); });
    return created;
  }();
  return *s;
}

std::unique_lock<std::recursive_mutex> lockState() {
  return std::unique_lock<std::recursive_mutex>(state().engine.lock());
}

void setError(int code) { lastError = code; }
int lastErrorCode() { return lastError; }

DWORD addChannel(ChannelEntry entry) {
  State& s = state();
  DWORD handle = s.nextHandle++;
  s.channels.emplace(handle, std::move(entry));
  return handle;
}

ChannelEntry* findChannel(DWORD handle) {
  auto& map = state().channels;
  auto it = map.find(handle);
  return it == map.end() ? nullptr : &it->second;
}

void freeChannel(DWORD handle) {
  State& s = state();
  auto it = s.channels.find(handle);
  if (it == s.channels.end()) return;
  ChannelEntry entry = std::move(it->second);
  s.channels.erase(it);
  s.engine.stop(*entry.channel);
  for (auto fx = s.effects.begin(); fx != s.effects.end();)
    fx = fx->second.channel == handle ? s.effects.erase(fx) : std::next(fx);
  if (entry.freeSource && entry.source) freeChannel(entry.source);
}

int bytesPerSample(DWORD flags) {
  if (flags & BASS_SAMPLE_FLOAT) return 4;
  if (flags & BASS_SAMPLE_8BITS) return 1;
  return 2;
}

int64_t bytesPerFrame(const ChannelEntry& entry) {
  return static_cast<int64_t>(bytesPerSample(entry.flags)) * entry.channel->channels();
}

const char* lowText(const std::string& text) {
  static std::mutex lock;
  static char* page = nullptr;
  static size_t used = 0, capacity = 0;
  static std::map<std::string, const char*> interned;
  std::lock_guard<std::mutex> g(lock);
  if (auto it = interned.find(text); it != interned.end()) return it->second;
  size_t need = text.size() + 1;
  if (!page || used + need > capacity) {
    size_t size = std::max<size_t>(65536, need);
    void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
    if (p == MAP_FAILED) return "";
    page = static_cast<char*>(p);
    used = 0;
    capacity = size;
  }
  char* out = page + used;
  std::memcpy(out, text.c_str(), need);
  used += need;
  interned.emplace(text, out);
  return out;
}

}  // namespace tarsk::bass

extern "C" int BASS_ErrorGetCode(void) { return tarsk::bass::lastErrorCode(); }

namespace {

// Unloading the library must not leave the output's or the capture's thread
// running in unmapped code.
__attribute__((destructor)) void stopThreadsOnUnload() {
  tarsk::bass::State& s = tarsk::bass::state();
  std::unique_ptr<tarsk::audio::Capture> capture;
  {
    auto g = tarsk::bass::lockState();
    capture = std::move(s.capture);
  }
  capture.reset();
  s.engine.close();
}

}  // namespace
