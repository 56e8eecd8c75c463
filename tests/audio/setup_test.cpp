// Set-up as the application does it: version checks, initialisation, the
// information record, and the record layouts it reads by offset.
#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <thread>

#include "support/bass_fixture.h"

namespace tarsk::audio::testing {
namespace {

static_assert(offsetof(BASS_INFO, maxrate) == 24);
static_assert(sizeof(BASS_INFO) == 56);
static_assert(offsetof(BASS_CHANNELINFO, freq) == 0 && offsetof(BASS_CHANNELINFO, chans) == 4 &&
              offsetof(BASS_CHANNELINFO, flags) == 8 && offsetof(BASS_CHANNELINFO, ctype) == 12);
static_assert(sizeof(BASS_DX8_ECHO) == 20 && sizeof(BASS_DX8_I3DL2REVERB) == 48);
static_assert(sizeof(BASS_RECORDINFO) == 20);

// The application's check, with its message.
std::string versionComplaint(DWORD version) {
  if (version == 0x2040900) return "";
  char hex[16];
  std::snprintf(hex, sizeof hex, "%08X", version);
  return std::string("Sorry, wrong BASS Version ") + hex + " loaded !";
}

TEST_F(BassTest, VersionsAreTheOnesTheApplicationAccepts) {
  EXPECT_EQ(versionComplaint(lib().BASS_GetVersion()), "");
  DWORD fx = lib().BASS_FX_GetVersion();
  EXPECT_EQ(fx >> 16, 0x0204u);  // shown as four bytes: 2.4.x.x

  void* older = dlopen(libraryPath("older-library/libbass.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(older, nullptr) << dlerror();
  auto getVersion = reinterpret_cast<DWORD (*)()>(dlsym(older, "BASS_GetVersion"));
  EXPECT_EQ(versionComplaint(getVersion()), "Sorry, wrong BASS Version 02030000 loaded !");
  dlclose(older);
}

TEST_F(BassTest, InformationRecordAndReinitialisationAtTheMaximumRate) {
  EXPECT_FALSE(lib().BASS_Init(-1, 48000, 0, nullptr, nullptr));
  EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
  std::vector<unsigned char> bank(1000, 0xEE);
  ASSERT_TRUE(lib().BASS_GetInfo(reinterpret_cast<BASS_INFO*>(bank.data())));
  DWORD maxRate;
  std::memcpy(&maxRate, bank.data() + 24, 4);
  EXPECT_EQ(maxRate, 48000u);
  EXPECT_EQ(bank[sizeof(BASS_INFO)], 0xEE);  // nothing written past the record
  ASSERT_TRUE(lib().BASS_Free());
  ASSERT_TRUE(lib().BASS_Init(-1, maxRate, 0, nullptr, nullptr));
  BASS_INFO info{};
  ASSERT_TRUE(lib().BASS_GetInfo(&info));
  EXPECT_EQ(info.freq, maxRate);
}

TEST_F(BassTest, CallsBeforeInitialisationFail) {
  ASSERT_TRUE(lib().BASS_Free());
  EXPECT_FALSE(lib().BASS_Free());
  EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_INIT);
  EXPECT_EQ(lib().BASS_StreamCreateFile(FALSE, "x.wav", 0, 0, 0), 0u);
  EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_INIT);
  EXPECT_FALSE(lib().BASS_GetInfo(nullptr));
  ASSERT_TRUE(lib().BASS_Init(-1, 44100, 0, nullptr, nullptr));
}

TEST_F(BassTest, NullOutputPlaysInRealTimeWhileAnotherThreadPolls) {
  ASSERT_TRUE(lib().BASS_Free());
  ASSERT_TRUE(lib().BASS_Init(0, 44100, 0, nullptr, nullptr));  // no sound: the null output
  std::string path = dir + "/tone.wav";
  writeSoundFile(path, FileFormat::Wav, tone(440, 5.0));
  DWORD h = lib().BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_SAMPLE_FLOAT);
  ASSERT_TRUE(lib().BASS_ChannelPlay(h, TRUE));
  std::atomic<bool> stop{false};
  std::thread poller([&] {
    std::vector<float> bins(128);
    while (!stop) {
      lib().BASS_ChannelGetData(h, bins.data(), BASS_DATA_FFT256);
      lib().BASS_ChannelGetPosition(h, BASS_POS_BYTE);
      lib().BASS_ChannelSetAttribute(h, BASS_ATTRIB_VOL, 0.5f);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  double played = lib().BASS_ChannelBytes2Seconds(h, lib().BASS_ChannelGetPosition(h, BASS_POS_BYTE));
  double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  stop = true;
  poller.join();
  // Never ahead of the clock by more than the mixer's block and read-ahead,
  // and not far behind it (a loaded machine may delay the output's thread).
  EXPECT_LT(played, elapsed + 0.06);
  EXPECT_GT(played, elapsed * 0.5);
  EXPECT_EQ(lib().BASS_ChannelIsActive(h), static_cast<DWORD>(BASS_ACTIVE_PLAYING));
}

TEST_F(BassTest, DefaultDeviceFallsBackToTheNullOutputWithoutASoundDevice) {
  ASSERT_TRUE(lib().BASS_Free());
  setenv("TARSK_AUDIO_OUTPUT", "automatic", 1);
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  bool initialised = lib().BASS_Init(-1, 44100, 0, nullptr, nullptr);
  EXPECT_FALSE(lib().BASS_Init(1, 44100, 0, nullptr, nullptr));  // still one initialisation at a time
  std::string path = dir + "/tone.wav";
  writeSoundFile(path, FileFormat::Wav, tone(440, 2.0));
  DWORD h = lib().BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
  bool played = h && lib().BASS_ChannelPlay(h, TRUE);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  QWORD position = lib().BASS_ChannelGetPosition(h, BASS_POS_BYTE);
  lib().BASS_Free();
  // The sound device alone is refused.
  bool deviceRefused = !lib().BASS_Init(1, 44100, 0, nullptr, nullptr);
  if (!deviceRefused) lib().BASS_Free();
  EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_DEVICE);
  unsetenv("SDL_AUDIODRIVER");
  setenv("TARSK_AUDIO_OUTPUT", "offline", 1);
  ASSERT_TRUE(lib().BASS_Init(-1, 44100, 0, nullptr, nullptr));
  EXPECT_TRUE(initialised);
  EXPECT_TRUE(played);
  EXPECT_GT(position, 0u);
  EXPECT_TRUE(deviceRefused);
}

}  // namespace
}  // namespace tarsk::audio::testing
