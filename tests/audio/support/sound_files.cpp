#include "sound_files.h"

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <unistd.h>

namespace tarsk::audio::testing {

bool encodeWithFfmpeg(const std::string& path, FileFormat format, const Signal& signal);

const char* extensionOf(FileFormat format) {
  switch (format) {
    case FileFormat::Wav: return "wav";
    case FileFormat::Aiff: return "aiff";
    case FileFormat::Flac: return "flac";
    case FileFormat::Ogg: return "ogg";
    case FileFormat::Mp3: return "mp3";
    case FileFormat::Wma: return "wma";
    case FileFormat::M4a: return "m4a";
  }
  return "";
}

Signal tone(double hz, double seconds, int rate, int channels, float amplitude) {
  auto frames = static_cast<size_t>(std::llround(seconds * rate));
  return generated(frames, rate, channels, [=](size_t i) {
    return static_cast<float>(amplitude * std::sin(2 * M_PI * hz * static_cast<double>(i) / rate));
  });
}

Signal generated(size_t frames, int rate, int channels, const std::function<float(size_t)>& f) {
  Signal s;
  s.rate = rate;
  s.channels = channels;
  s.samples.resize(frames * channels);
  for (size_t i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c) s.samples[i * channels + c] = f(i);
  return s;
}

bool writeSoundFile(const std::string& path, FileFormat format, const Signal& signal) {
  int type = 0;
  switch (format) {
    case FileFormat::Wav: type = SF_FORMAT_WAV | SF_FORMAT_PCM_16; break;
    case FileFormat::Aiff: type = SF_FORMAT_AIFF | SF_FORMAT_PCM_16; break;
    case FileFormat::Flac: type = SF_FORMAT_FLAC | SF_FORMAT_PCM_16; break;
    case FileFormat::Ogg: type = SF_FORMAT_OGG | SF_FORMAT_VORBIS; break;
    case FileFormat::Mp3: type = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III; break;
    case FileFormat::Wma: case FileFormat::M4a: return encodeWithFfmpeg(path, format, signal);
  }
  SF_INFO info{};
  info.samplerate = signal.rate;
  info.channels = signal.channels;
  info.format = type;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!f) return false;
  sf_writef_float(f, signal.samples.data(), static_cast<sf_count_t>(signal.frames()));
  sf_close(f);
  return true;
}

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<unsigned char> makeModule(int rows) {
  // 20-byte title, 31 sample headers of 30 bytes, order count, restart, 128 orders, "M.K."
  std::vector<unsigned char> m(1084, 0);
  std::snprintf(reinterpret_cast<char*>(m.data()), 20, "test module");
  const int sampleWords = 32;  // one square-wave cycle of 64 bytes, looped
  unsigned char* s0 = m.data() + 20;
  std::snprintf(reinterpret_cast<char*>(s0), 22, "square");
  s0[22] = 0; s0[23] = sampleWords;  // length in words (big-endian)
  s0[24] = 0;                        // finetune
  s0[25] = 64;                       // volume
  s0[26] = 0; s0[27] = 0;            // loop start
  s0[28] = 0; s0[29] = sampleWords;  // loop length
  m[950] = 1;    // one order
  m[951] = 127;
  m[952] = 0;    // order 0 plays pattern 0
  m[1080] = 'M'; m[1081] = '.'; m[1082] = 'K'; m[1083] = '.';
  std::vector<unsigned char> pattern(64 * 4 * 4, 0);
  // Row 0, channel 0: sample 1 at period 428 (C-2).
  pattern[0] = (428 >> 8) & 0x0F;
  pattern[1] = 428 & 0xFF;
  pattern[2] = 1 << 4;
  // A pattern break on the last row ends the song early.
  if (rows < 64) {
    unsigned char* cell = pattern.data() + (rows - 1) * 16 + 4;
    cell[2] = 0x0D;
    cell[3] = 0;
  }
  m.insert(m.end(), pattern.begin(), pattern.end());
  for (int i = 0; i < sampleWords * 2; ++i) m.push_back(i < sampleWords ? 0x60 : 0xA0);
  return m;
}

std::vector<unsigned char> makeMidi(double seconds) {
  auto ticks = static_cast<unsigned>(std::lround(seconds * 960));  // 480 a beat at 2 beats a second
  std::vector<unsigned char> track = {
      0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // tempo 500000 us a beat
      0x00, 0xC0, 0x00,                          // piano
      0x00, 0x90, 0x45, 0x60};                   // A4 on
  // Delta time as a variable-length number, then the note off and the end.
  unsigned char var[4];
  int n = 0;
  unsigned v = ticks;
  var[n++] = v & 0x7F;
  while (v >>= 7) var[n++] = 0x80 | (v & 0x7F);
  while (n) track.push_back(var[--n]);
  for (unsigned char b : {0x80, 0x45, 0x40, 0x00, 0xFF, 0x2F, 0x00}) track.push_back(b);
  std::vector<unsigned char> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0,
                                     'M', 'T', 'r', 'k'};
  auto len = static_cast<uint32_t>(track.size());
  for (int shift : {24, 16, 8, 0}) file.push_back(static_cast<unsigned char>(len >> shift));
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

void writeCdImage(const std::string& cuePath, const std::vector<Signal>& tracks) {
  std::filesystem::path cue(cuePath);
  std::string binName = cue.stem().string() + ".bin";
  std::ofstream bin(cue.parent_path() / binName, std::ios::binary);
  std::ofstream sheet(cuePath);
  sheet << "FILE \"" << binName << "\" BINARY\n";
  size_t sector = 0;
  for (size_t t = 0; t < tracks.size(); ++t) {
    const Signal& s = tracks[t];
    std::vector<int16_t> pcm;
    for (size_t i = 0; i < s.frames(); ++i)
      for (int c = 0; c < 2; ++c) {
        float v = s.samples[i * s.channels + (s.channels > 1 ? c : 0)];
        pcm.push_back(static_cast<int16_t>(std::lrint(v * 32767)));
      }
    while ((pcm.size() * 2) % 2352) pcm.push_back(0);
    unsigned m = static_cast<unsigned>(sector / 75 / 60), sec = static_cast<unsigned>(sector / 75 % 60),
             f = static_cast<unsigned>(sector % 75);
    char index[16];
    std::snprintf(index, sizeof index, "%02u:%02u:%02u", m, sec, f);
    sheet << "  TRACK " << (t < 9 ? "0" : "") << t + 1 << " AUDIO\n    INDEX 01 " << index << "\n";
    bin.write(reinterpret_cast<const char*>(pcm.data()), static_cast<std::streamsize>(pcm.size() * 2));
    sector += pcm.size() * 2 / 2352;
  }
}

std::string scratchDirectory(const std::string& name) {
  auto dir = std::filesystem::temp_directory_path() /
             ("tarsk-audio-" + std::to_string(::getpid()) + "-" + name);
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir.string();
}

}  // namespace tarsk::audio::testing
