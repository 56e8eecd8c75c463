// Stream and module creation: files, memory, push streams and callback streams.
#include <cstring>
#include <cwchar>
#include <fstream>

#include "path_resolve.h"
#include "registry.h"
#include "sample_format.h"
#include "sound/engine/source.h"
#include "sound/engine/streams/push_channel.h"
#include "sound/engine/streams/source_channel.h"

using namespace tarsk::bass;
namespace audio = tarsk::audio;

namespace {

constexpr DWORD kStreamFlags = BASS_SAMPLE_8BITS | BASS_SAMPLE_FLOAT | BASS_SAMPLE_MONO |
                               BASS_SAMPLE_LOOP | BASS_SAMPLE_3D | BASS_SAMPLE_SOFTWARE |
                               BASS_SAMPLE_FX | BASS_STREAM_PRESCAN | BASS_STREAM_AUTOFREE |
                               BASS_STREAM_DECODE;
constexpr DWORD kMusicModeFlags = BASS_MUSIC_RAMP | BASS_MUSIC_RAMPS | BASS_MUSIC_SURROUND |
                                  BASS_MUSIC_FT2MOD | BASS_MUSIC_PT1MOD | BASS_MUSIC_NONINTER |
                                  BASS_MUSIC_STOPBACK | BASS_MUSIC_NOSAMPLE;

DWORD ctypeOf(audio::SourceType type) {
  using T = audio::SourceType;
  switch (type) {
    case T::WavPcm: return BASS_CTYPE_STREAM_WAV_PCM;
    case T::WavFloat: return BASS_CTYPE_STREAM_WAV_FLOAT;
    case T::Aiff: return BASS_CTYPE_STREAM_AIFF;
    case T::Flac: return BASS_CTYPE_STREAM_FLAC;
    case T::OggVorbis: return BASS_CTYPE_STREAM_OGG;
    case T::Mp1: return BASS_CTYPE_STREAM_MP1;
    case T::Mp2: return BASS_CTYPE_STREAM_MP2;
    case T::Mp3: return BASS_CTYPE_STREAM_MP3;
    case T::Wma: return BASS_CTYPE_STREAM_WMA;
    case T::Aac: return BASS_CTYPE_STREAM_AAC;
    case T::Mp4: return BASS_CTYPE_STREAM_MP4;
    case T::ModuleMod: return BASS_CTYPE_MUSIC_MOD;
    case T::ModuleMtm: return BASS_CTYPE_MUSIC_MTM;
    case T::ModuleS3m: return BASS_CTYPE_MUSIC_S3M;
    case T::ModuleXm: return BASS_CTYPE_MUSIC_XM;
    case T::ModuleIt: return BASS_CTYPE_MUSIC_IT;
    case T::ModuleMo3: return BASS_CTYPE_MUSIC_MO3 | BASS_CTYPE_MUSIC_IT;
    case T::ModuleUmx: return BASS_CTYPE_MUSIC_MOD;
    case T::Midi: return BASS_CTYPE_STREAM_MIDI;
    case T::CdAudio: return BASS_CTYPE_STREAM_CD;
    default: return BASS_CTYPE_STREAM;
  }
}

std::string utf8FromWide(const wchar_t* w) {
  std::mbstate_t st{};
  std::string out;
  char buf[8];
  for (; *w; ++w) {
    size_t n = std::wcrtomb(buf, *w, &st);
    if (n != static_cast<size_t>(-1)) out.append(buf, n);
  }
  return out;
}

// The encoded bytes a caller names: a file path (whole or a range) or memory.
struct Input {
  std::string path;                 // set for a whole file
  std::vector<uint8_t> bytes;       // otherwise the data
  bool ok = false;
  int error = BASS_OK;
};

Input readInput(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags) {
  Input in;
  if (!file) { in.error = BASS_ERROR_ILLPARAM; return in; }
  if (mem) {
    if (length == 0) { in.error = BASS_ERROR_ILLPARAM; return in; }
    const auto* p = static_cast<const uint8_t*>(file) + offset;
    in.bytes.assign(p, p + length);
    in.ok = true;
    return in;
  }
  std::string name = (flags & BASS_UNICODE) ? utf8FromWide(static_cast<const wchar_t*>(file))
                                            : std::string(static_cast<const char*>(file));
  std::string path = resolvePath(name);
  std::ifstream f(path, std::ios::binary);
  if (!f) { in.error = BASS_ERROR_FILEOPEN; return in; }
  if (offset == 0 && length == 0) {
    in.path = path;
  } else {
    f.seekg(0, std::ios::end);
    auto size = static_cast<QWORD>(f.tellg());
    if (offset > size) { in.error = BASS_ERROR_FILEFORM; return in; }
    QWORD n = length == 0 ? size - offset : std::min(length, size - offset);
    in.bytes.resize(n);
    f.seekg(static_cast<std::streamoff>(offset));
    f.read(reinterpret_cast<char*>(in.bytes.data()), static_cast<std::streamsize>(n));
    in.bytes.resize(static_cast<size_t>(f.gcount()));
  }
  in.ok = true;
  return in;
}

DWORD addSourceChannel(std::unique_ptr<audio::Source> source, Kind kind, DWORD flags,
                       const std::string& filename) {
  ChannelEntry entry;
  entry.kind = kind;
  entry.ctype = ctypeOf(source->type());
  entry.origres = static_cast<DWORD>(source->originalBits());
  entry.channel = std::make_shared<audio::SourceChannel>(std::move(source));
  entry.channel->loop = flags & BASS_SAMPLE_LOOP;
  entry.flags = flags;
  entry.filename = filename;
  return addChannel(std::move(entry));
}

}  // namespace

extern "C" HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length,
                                         DWORD flags) {
  {
    auto g = lockState();
    if (!state().initialised) return fail<HSTREAM>(BASS_ERROR_INIT, 0);
  }
  Input in = readInput(mem, file, offset, length, flags);
  if (!in.ok) return fail<HSTREAM>(in.error, 0);
  // Decoding starts outside the lock: opening a file may take a while.
  auto source = in.path.empty() ? audio::openSourceMemory(std::move(in.bytes))
                                : audio::openSourceFile(in.path);
  if (!source) return fail<HSTREAM>(BASS_ERROR_FILEFORM, 0);
  auto g = lockState();
  DWORD handle = addSourceChannel(std::move(source), Kind::Stream, flags & kStreamFlags, in.path);
  setError(BASS_OK);
  return handle;
}

extern "C" HMUSIC BASS_MusicLoad(BOOL mem, const void* file, QWORD offset, DWORD length,
                                 DWORD flags, DWORD freq) {
  int rate;
  {
    auto g = lockState();
    if (!state().initialised) return fail<HMUSIC>(BASS_ERROR_INIT, 0);
    rate = freq ? static_cast<int>(freq) : state().engine.rate();
  }
  Input in = readInput(mem, file, offset, length, flags);
  if (!in.ok) return fail<HMUSIC>(in.error, 0);
  audio::OpenOptions options;
  options.loopModule = flags & BASS_MUSIC_LOOP;
  options.moduleRate = rate;
  auto source = in.path.empty() ? audio::openModuleMemory(std::move(in.bytes), options)
                                : audio::openModuleFile(in.path, options);
  if (!source) return fail<HMUSIC>(BASS_ERROR_FILEFORM, 0);
  auto g = lockState();
  // The module decoder loops by itself; the channel does not rewind it.
  DWORD handle = addSourceChannel(std::move(source), Kind::Music,
                                  flags & (kStreamFlags | kMusicModeFlags), in.path);
  findChannel(handle)->channel->loop = false;
  setError(BASS_OK);
  return handle;
}

namespace {

DWORD callbackFrames(HSTREAM handle, STREAMPROC proc, void* user, int bps, int channels,
                     float* out, size_t frames, bool& last) {
  std::vector<uint8_t> buffer(frames * channels * bps);
  DWORD got = proc(handle, buffer.data(), static_cast<DWORD>(buffer.size()), user);
  if (got & BASS_STREAMPROC_END) last = true;
  size_t bytes = std::min<size_t>(got & ~BASS_STREAMPROC_END, buffer.size());
  size_t n = bytes / (static_cast<size_t>(channels) * bps);
  toFloat(buffer.data(), out, n * channels, bps);
  return static_cast<DWORD>(n);
}

}  // namespace

extern "C" HSTREAM BASS_StreamCreate(DWORD freq, DWORD chans, DWORD flags, STREAMPROC proc,
                                     void* user) {
  auto g = lockState();
  State& s = state();
  if (!s.initialised) return fail<HSTREAM>(BASS_ERROR_INIT, 0);
  if (freq < 1 || freq > 384000 || chans < 1 || chans > 32) return fail<HSTREAM>(BASS_ERROR_FORMAT, 0);
  ChannelEntry entry;
  entry.flags = flags & kStreamFlags;
  entry.ctype = BASS_CTYPE_STREAM;
  entry.origres = static_cast<DWORD>(bytesPerSample(flags) * 8);
  entry.proc = proc;
  int rate = static_cast<int>(freq), channels = static_cast<int>(chans);
  if (proc == STREAMPROC_PUSH || proc == STREAMPROC_DUMMY) {
    entry.channel = std::make_shared<audio::PushChannel>(rate, channels);
    DWORD handle = addChannel(std::move(entry));
    setError(BASS_OK);
    return handle;
  }
  DWORD handle = s.nextHandle;  // the handle addChannel will give
  int bps = bytesPerSample(flags);
  entry.channel = std::make_shared<audio::CallbackChannel>(
      rate, channels, [handle, proc, user, bps, channels](float* out, size_t frames, bool& last) {
        return callbackFrames(handle, proc, user, bps, channels, out, frames, last);
      });
  addChannel(std::move(entry));
  setError(BASS_OK);
  return handle;
}

extern "C" DWORD BASS_StreamPutData(HSTREAM handle, const void* buffer, DWORD length) {
  auto g = lockState();
  ChannelEntry* e = findChannel(handle);
  if (!e) return fail<DWORD>(BASS_ERROR_HANDLE, static_cast<DWORD>(-1));
  if (e->proc != STREAMPROC_PUSH || e->kind != Kind::Stream)
    return fail<DWORD>(BASS_ERROR_NOTAVAIL, static_cast<DWORD>(-1));
  auto& push = static_cast<audio::PushChannel&>(*e->channel);
  bool last = length & BASS_STREAMPROC_END;
  DWORD bytes = length & ~BASS_STREAMPROC_END;
  int64_t frameBytes = bytesPerFrame(*e);
  if (bytes % frameBytes != 0 || (bytes && !buffer)) return fail<DWORD>(BASS_ERROR_ILLPARAM, static_cast<DWORD>(-1));
  size_t frames = bytes / static_cast<size_t>(frameBytes);
  std::vector<float> data(frames * push.channels());
  if (frames) toFloat(buffer, data.data(), data.size(), bytesPerSample(e->flags));
  push.push(data.data(), frames, last);
  setError(BASS_OK);
  return static_cast<DWORD>(push.queuedFrames() * frameBytes);
}

extern "C" BOOL BASS_StreamFree(HSTREAM handle) {
  auto g = lockState();
  ChannelEntry* e = findChannel(handle);
  if (!e || e->kind == Kind::Record) return failed(BASS_ERROR_HANDLE);
  freeChannel(handle);
  return succeeded();
}

extern "C" BOOL BASS_MusicFree(HMUSIC handle) {
  auto g = lockState();
  ChannelEntry* e = findChannel(handle);
  if (!e || e->kind != Kind::Music) return failed(BASS_ERROR_HANDLE);
  freeChannel(handle);
  return succeeded();
}
