// Mixing many streams, and MP3 decoding against libmpg123 alone. Counters give
// the multiple of real time ("x_realtime") on the core the benchmark runs on.
#include <benchmark/benchmark.h>
#include <mpg123.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "sound/engine/mixer.h"
#include "sound/engine/source.h"
#include "sound/engine/streams/source_channel.h"

using namespace tarsk::audio;

namespace {

constexpr int kRate = 44100;

// A 10-second stereo tone written with libsndfile to a temporary file.
std::string writeTone(int format, const char* extension) {
  auto path = std::filesystem::temp_directory_path() / (std::string("tarsk-audio-bench.") + extension);
  SF_INFO info{};
  info.samplerate = kRate;
  info.channels = 2;
  info.format = format;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  std::vector<float> block(kRate * 2);
  for (int s = 0; s < 10; ++s) {
    for (int i = 0; i < kRate; ++i)
      block[i * 2] = block[i * 2 + 1] = 0.3f * static_cast<float>(std::sin(2 * M_PI * 440 * (s * kRate + i) / kRate));
    sf_writef_float(f, block.data(), kRate);
  }
  sf_close(f);
  return path.string();
}

std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// N looping WAV streams at 44100 Hz, each at its own volume and pan, mixed at 48000 Hz.
void BM_MixStreams(benchmark::State& state) {
  static const std::vector<uint8_t> wav = readFile(writeTone(SF_FORMAT_WAV | SF_FORMAT_PCM_16, "wav"));
  const int streams = static_cast<int>(state.range(0));
  Mixer mixer(48000);
  std::vector<std::shared_ptr<Channel>> channels;
  for (int i = 0; i < streams; ++i) {
    auto ch = std::make_shared<SourceChannel>(openSourceMemory(wav));
    ch->loop = true;
    ch->volume = 1.0f / streams;
    ch->pan = static_cast<float>(i % 21 - 10) / 10;
    ch->state = ChannelState::Playing;
    ch->seek((i * 997) % (kRate * 9));
    mixer.add(ch);
    channels.push_back(ch);
  }
  const size_t block = 480;  // 10 ms
  std::vector<float> out(block * 2);
  for (auto _ : state) {
    mixer.render(out.data(), block);
    benchmark::DoNotOptimize(out.data());
  }
  double audioSeconds = static_cast<double>(state.iterations()) * block / 48000;
  state.counters["x_realtime"] = benchmark::Counter(audioSeconds, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MixStreams)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond);

const std::string& mp3Path() {
  static const std::string path = writeTone(SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, "mp3");
  return path;
}

void BM_DecodeMp3Engine(benchmark::State& state) {
  std::vector<float> buffer(4096 * 2);
  size_t frames = 0;
  for (auto _ : state) {
    auto source = openSourceFile(mp3Path());
    while (size_t n = source->read(buffer.data(), 4096)) frames += n;
  }
  state.counters["x_realtime"] = benchmark::Counter(static_cast<double>(frames) / kRate, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeMp3Engine)->Unit(benchmark::kMillisecond);

void BM_DecodeMp3Mpg123Alone(benchmark::State& state) {
  mpg123_init();
  std::vector<unsigned char> buffer(4096 * 2 * sizeof(float));
  size_t frames = 0;
  for (auto _ : state) {
    mpg123_handle* h = mpg123_new(nullptr, nullptr);
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS | MPG123_FORCE_FLOAT, 0);
    mpg123_open(h, mp3Path().c_str());
    for (;;) {
      size_t done = 0;
      int rc = mpg123_read(h, buffer.data(), buffer.size(), &done);
      frames += done / (2 * sizeof(float));
      if (rc != MPG123_OK && rc != MPG123_NEW_FORMAT) break;
    }
    mpg123_close(h);
    mpg123_delete(h);
  }
  state.counters["x_realtime"] = benchmark::Counter(static_cast<double>(frames) / kRate, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeMp3Mpg123Alone)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
