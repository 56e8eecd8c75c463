// Recording through SDL's disk audio driver, which reads its "microphone" from a file.
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <thread>

#include "support/bass_fixture.h"

namespace tarsk::audio::testing {
namespace {

struct Recorded {
  std::mutex lock;
  std::vector<int16_t> samples;
};

BOOL collect(HRECORD, const void* buffer, DWORD length, void* user) {
  auto* r = static_cast<Recorded*>(user);
  std::lock_guard<std::mutex> g(r->lock);
  auto* p = static_cast<const int16_t*>(buffer);
  r->samples.insert(r->samples.end(), p, p + length / 2);
  return TRUE;
}

TEST_F(BassTest, MicrophoneRecordingDeliversTheCapturedSamples) {
  std::string input = dir + "/mic.raw";
  std::vector<float> ramp(44100);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<float>(i % 1000) / 2000.0f;
  std::ofstream(input, std::ios::binary).write(reinterpret_cast<const char*>(ramp.data()),
                                               static_cast<std::streamsize>(ramp.size() * 4));
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILEIN", input.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", "5", 1);

  BASS_DEVICEINFO device{};
  ASSERT_TRUE(lib().BASS_RecordGetDeviceInfo(0, &device)) << lib().BASS_ErrorGetCode();
  ASSERT_NE(device.name, nullptr);
  EXPECT_LT(reinterpret_cast<uintptr_t>(device.name), 1ull << 32);  // callers may keep it in 32 bits
  EXPECT_TRUE(device.flags & BASS_DEVICE_DEFAULT);
  EXPECT_FALSE(lib().BASS_RecordGetDeviceInfo(5, &device));
  EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_DEVICE);

  ASSERT_TRUE(lib().BASS_RecordInit(-1));
  BASS_RECORDINFO info{};
  ASSERT_TRUE(lib().BASS_RecordGetInfo(&info));
  EXPECT_GE(info.inputs, 1u);
  EXPECT_STREQ(lib().BASS_RecordGetInputName(0), "Microphone");
  EXPECT_EQ(lib().BASS_RecordGetInputName(1), nullptr);
  ASSERT_TRUE(lib().BASS_RecordSetInput(-1, BASS_INPUT_ON, 1.0f));
  float volume = 0;
  EXPECT_EQ(lib().BASS_RecordGetInput(0, &volume) & BASS_INPUT_TYPE_MASK, static_cast<DWORD>(BASS_INPUT_TYPE_MIC));
  EXPECT_EQ(volume, 1.0f);

  Recorded recorded;
  HRECORD rec = lib().BASS_RecordStart(44100, 1, 0x600000, collect, &recorded);
  ASSERT_NE(rec, 0u) << lib().BASS_ErrorGetCode();
  EXPECT_EQ(lib().BASS_ChannelIsActive(rec), static_cast<DWORD>(BASS_ACTIVE_PLAYING));
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (;;) {
    {
      std::lock_guard<std::mutex> g(recorded.lock);
      if (recorded.samples.size() >= 4000) break;
    }
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "no data captured";
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_TRUE(lib().BASS_RecordFree());
  std::lock_guard<std::mutex> g(recorded.lock);
  for (size_t i = 0; i < 4000; ++i)
    ASSERT_NEAR(recorded.samples[i], ramp[i] * 32768, 1.0) << "sample " << i;
  unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
}  // namespace tarsk::audio::testing
