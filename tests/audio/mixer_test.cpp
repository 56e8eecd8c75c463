// The mix as the player hears it: volume, pan, frequency, pause and stop, on
// the offline output.
#include <cmath>

#include "support/bass_fixture.h"
#include "support/measure.h"

namespace tarsk::audio::testing {
namespace {

class MixerTest : public BassTest {
protected:
  // A playing stereo tone at 0.5 amplitude, 2 s long.
  DWORD playTone(double hz = 441) {
    std::string path = dir + "/tone.wav";
    writeSoundFile(path, FileFormat::Wav, tone(hz, 2.0, 44100, 2));
    DWORD h = lib().BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_SAMPLE_FLOAT);
    EXPECT_NE(h, 0u);
    EXPECT_TRUE(lib().BASS_ChannelPlay(h, TRUE));
    return h;
  }
};

TEST_F(MixerTest, VolumeScalesAndPanSilencesTheOtherSide) {
  DWORD h = playTone();
  auto full = render(4410);
  float reference = peak(full, 2, 0);
  EXPECT_NEAR(reference, 0.5f, 0.01f);

  ASSERT_TRUE(lib().BASS_ChannelSetAttribute(h, BASS_ATTRIB_VOL, 0.5f));
  auto half = render(4410);
  EXPECT_NEAR(peak(half, 2, 0) / reference, 0.5, 0.01);
  EXPECT_NEAR(peak(half, 2, 1) / reference, 0.5, 0.01);

  ASSERT_TRUE(lib().BASS_ChannelSetAttribute(h, BASS_ATTRIB_VOL, 1.0f));
  ASSERT_TRUE(lib().BASS_ChannelSetAttribute(h, BASS_ATTRIB_PAN, -1.0f));
  auto left = render(4410);
  EXPECT_NEAR(peak(left, 2, 0), reference, 0.01);
  EXPECT_LT(decibels(peak(left, 2, 1) / reference), -60);

  float pan = 0;
  ASSERT_TRUE(lib().BASS_ChannelGetAttribute(h, BASS_ATTRIB_PAN, &pan));
  EXPECT_EQ(pan, -1.0f);
}

TEST_F(MixerTest, FrequencyResamplesAndPositionFollowsPlayback) {
  DWORD h = playTone(441);
  ASSERT_TRUE(lib().BASS_ChannelSetAttribute(h, BASS_ATTRIB_FREQ, 88200));
  auto out = render(8192);
  std::vector<float> mono(8192);
  for (size_t i = 0; i < mono.size(); ++i) mono[i] = out[i * 2];
  EXPECT_NEAR(dominantFrequency(mono, 44100), 882, 6);
  // 8192 frames heard at double speed: 16384 frames of the file.
  double at = lib().BASS_ChannelBytes2Seconds(h, lib().BASS_ChannelGetPosition(h, BASS_POS_BYTE));
  EXPECT_NEAR(at, 16384.0 / 44100, 0.010);
}

TEST_F(MixerTest, PauseHoldsStopEndsAndPlayRestarts) {
  DWORD h = playTone();
  render(4410);
  ASSERT_TRUE(lib().BASS_ChannelPause(h));
  EXPECT_EQ(lib().BASS_ChannelIsActive(h), static_cast<DWORD>(BASS_ACTIVE_PAUSED));
  QWORD held = lib().BASS_ChannelGetPosition(h, BASS_POS_BYTE);
  EXPECT_EQ(peak(render(4410), 2), 0.0f);
  EXPECT_EQ(lib().BASS_ChannelGetPosition(h, BASS_POS_BYTE), held);
  ASSERT_TRUE(lib().BASS_ChannelPlay(h, FALSE));
  EXPECT_GT(peak(render(4410), 2), 0.4f);
  ASSERT_TRUE(lib().BASS_ChannelStop(h));
  EXPECT_EQ(lib().BASS_ChannelIsActive(h), static_cast<DWORD>(BASS_ACTIVE_STOPPED));
  ASSERT_TRUE(lib().BASS_ChannelPlay(h, TRUE));
  render(441);
  EXPECT_NEAR(lib().BASS_ChannelBytes2Seconds(h, lib().BASS_ChannelGetPosition(h, BASS_POS_BYTE)), 0.01, 0.010);
  // Playing to the end stops the channel.
  render(2 * 44100);
  EXPECT_EQ(lib().BASS_ChannelIsActive(h), static_cast<DWORD>(BASS_ACTIVE_STOPPED));
}

TEST_F(MixerTest, AutoFreeStreamsGoAwayAtTheirEnd) {
  std::string path = dir + "/short.wav";
  writeSoundFile(path, FileFormat::Wav, tone(441, 0.1));
  DWORD h = lib().BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_STREAM_AUTOFREE);
  ASSERT_TRUE(lib().BASS_ChannelPlay(h, FALSE));
  render(2205);
  EXPECT_EQ(lib().BASS_ChannelIsActive(h), static_cast<DWORD>(BASS_ACTIVE_PLAYING));
  render(4410);
  lib().BASS_ChannelIsActive(h);
  EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
}

TEST_F(MixerTest, DecodingChannelsCannotPlay) {
  std::string path = dir + "/tone.wav";
  writeSoundFile(path, FileFormat::Wav, tone(441, 0.1));
  DWORD h = openDecoding(path);
  EXPECT_FALSE(lib().BASS_ChannelPlay(h, TRUE));
  EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_DECODE);
}

TEST_F(MixerTest, PushStreamPlaysWhatIsPutAndStallsWithout) {
  DWORD h = lib().BASS_StreamCreate(44100, 2, 0, STREAMPROC_PUSH, nullptr);
  ASSERT_NE(h, 0u);
  std::vector<int16_t> data(4410 * 2, 16384);  // 0.5
  EXPECT_EQ(lib().BASS_StreamPutData(h, data.data(), static_cast<DWORD>(data.size() * 2)),
            static_cast<DWORD>(data.size() * 2));
  ASSERT_TRUE(lib().BASS_ChannelPlay(h, FALSE));
  auto out = render(4410);
  EXPECT_NEAR(out[100], 0.5f, 0.001f);
  EXPECT_EQ(peak(render(441), 2), 0.0f);
  EXPECT_EQ(lib().BASS_ChannelIsActive(h), static_cast<DWORD>(BASS_ACTIVE_STALLED));
  lib().BASS_StreamPutData(h, data.data(), static_cast<DWORD>(data.size() * 2) | BASS_STREAMPROC_END);
  EXPECT_NEAR(peak(render(441), 2), 0.5f, 0.001f);
  render(8820);
  EXPECT_EQ(lib().BASS_ChannelIsActive(h), static_cast<DWORD>(BASS_ACTIVE_STOPPED));
  EXPECT_EQ(lib().BASS_StreamPutData(h, data.data(), 3), static_cast<DWORD>(-1));  // not whole frames
  EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
}

TEST_F(MixerTest, CallbackStreamAsksForItsData) {
  struct Counter { int calls = 0; };
  Counter counter;
  auto proc = [](HSTREAM, void* buffer, DWORD length, void* user) -> DWORD {
    auto* c = static_cast<Counter*>(user);
    auto* f = static_cast<float*>(buffer);
    for (DWORD i = 0; i < length / 4; ++i) f[i] = 0.25f;
    return ++c->calls > 3 ? length | BASS_STREAMPROC_END : length;
  };
  DWORD h = lib().BASS_StreamCreate(44100, 1, BASS_SAMPLE_FLOAT | BASS_STREAM_DECODE, proc, &counter);
  ASSERT_NE(h, 0u);
  auto all = decodeAll(h);
  EXPECT_EQ(counter.calls, 4);
  EXPECT_GT(all.size(), 0u);
  EXPECT_EQ(peak(all, 1), 0.25f);
}

}  // namespace
}  // namespace tarsk::audio::testing
