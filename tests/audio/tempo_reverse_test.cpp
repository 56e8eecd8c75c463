// The effects add-on's channels over decoding channels, as the player chains
// them: decode -> reverse -> tempo.
#include <cmath>

#include "support/bass_fixture.h"
#include "support/measure.h"

namespace tarsk::audio::testing {
namespace {

class TempoReverseTest : public BassTest {
protected:
  DWORD decodeTone(double hz, double seconds) {
    std::string path = dir + "/tone.wav";
    writeSoundFile(path, FileFormat::Wav, tone(hz, seconds));
    return openDecoding(path);
  }
};

TEST_F(TempoReverseTest, DoubleTempoHalvesTheDuration) {
  DWORD tempo = lib().BASS_FX_TempoCreate(decodeTone(440, 2.0), BASS_STREAM_DECODE);
  ASSERT_NE(tempo, 0u) << lib().BASS_ErrorGetCode();
  ASSERT_TRUE(lib().BASS_ChannelSetAttribute(tempo, BASS_ATTRIB_TEMPO, 100));
  auto out = decodeAll(tempo);
  EXPECT_NEAR(static_cast<double>(out.size()) / 44100, 1.0, 0.05);
  // The length stays the source's; the position runs in the source's time.
  EXPECT_NEAR(lib().BASS_ChannelBytes2Seconds(tempo, lib().BASS_ChannelGetLength(tempo, BASS_POS_BYTE)), 2.0, 0.001);
}

TEST_F(TempoReverseTest, TwelveSemitonesDoubleThePitchAtTheSameTempo) {
  DWORD tempo = lib().BASS_FX_TempoCreate(decodeTone(440, 1.0), BASS_STREAM_DECODE);
  ASSERT_TRUE(lib().BASS_ChannelSetAttribute(tempo, BASS_ATTRIB_TEMPO_PITCH, 12));
  auto out = decodeAll(tempo);
  EXPECT_NEAR(static_cast<double>(out.size()) / 44100, 1.0, 0.05);
  std::vector<float> middle(out.begin() + 8192, out.begin() + 8192 + 16384);
  EXPECT_NEAR(dominantFrequency(middle, 44100), 880, 6);
}

TEST_F(TempoReverseTest, NeutralTempoPassesTheSamplesThrough) {
  std::string path = dir + "/ramp.wav";
  writeSoundFile(path, FileFormat::Wav, generated(5000, 44100, 1, [](size_t i) { return (i % 1000) / 1000.0f; }));
  auto plain = decodeAll(openDecoding(path));
  DWORD tempo = lib().BASS_FX_TempoCreate(openDecoding(path), BASS_STREAM_DECODE);
  auto out = decodeAll(tempo);
  ASSERT_EQ(out.size(), 5000u);
  EXPECT_EQ(out, plain);
}

TEST_F(TempoReverseTest, ReverseGivesTheExactReversedSamples) {
  std::string path = dir + "/ramp.wav";
  const size_t frames = 30000;
  auto ramp = generated(frames, 44100, 2, [](size_t i) { return static_cast<float>(i % 20000) / 32768.0f; });
  ASSERT_TRUE(writeSoundFile(path, FileFormat::Wav, ramp));
  ramp.samples = decodeAll(openDecoding(path));  // as stored: 16-bit
  DWORD decode = openDecoding(path);
  DWORD reverse = lib().BASS_FX_ReverseCreate(decode, 0.1f, BASS_STREAM_DECODE | BASS_SAMPLE_FLOAT);
  ASSERT_NE(reverse, 0u) << lib().BASS_ErrorGetCode();
  EXPECT_EQ(lib().BASS_FX_TempoGetSource(reverse), 0u);
  auto out = decodeAll(reverse);
  ASSERT_EQ(out.size(), ramp.samples.size());
  for (size_t i = 0; i < frames; ++i) {
    ASSERT_EQ(out[i * 2], ramp.samples[(frames - 1 - i) * 2]) << "frame " << i;
  }
  EXPECT_EQ(lib().BASS_ChannelGetPosition(reverse, BASS_POS_BYTE), 0u);

  // Turning forward keeps the position.
  ASSERT_TRUE(lib().BASS_ChannelSetPosition(reverse, lib().BASS_ChannelSeconds2Bytes(reverse, 0.5), BASS_POS_BYTE));
  ASSERT_TRUE(lib().BASS_ChannelSetAttribute(reverse, BASS_ATTRIB_REVERSE_DIR, BASS_FX_RVS_FORWARD));
  float first[2];
  lib().BASS_ChannelGetData(reverse, first, sizeof first);
  EXPECT_EQ(first[0], ramp.samples[22050 * 2]);
}

TEST_F(TempoReverseTest, ThePlayersChainPlaysAndAnswersItsAttributes) {
  DWORD decode = decodeTone(440, 1.0);
  DWORD reverse = lib().BASS_FX_ReverseCreate(decode, 10.0f, 0x200100);
  ASSERT_TRUE(lib().BASS_ChannelSetAttribute(reverse, BASS_ATTRIB_REVERSE_DIR, BASS_FX_RVS_FORWARD));
  DWORD tempo = lib().BASS_FX_TempoCreate(reverse, 256);
  ASSERT_NE(tempo, 0u);
  EXPECT_EQ(lib().BASS_FX_TempoGetSource(tempo), reverse);
  BASS_CHANNELINFO info{};
  ASSERT_TRUE(lib().BASS_ChannelGetInfo(tempo, &info));
  EXPECT_EQ(info.freq, 44100u);
  EXPECT_EQ(info.chans, 1u);
  EXPECT_EQ(info.ctype, static_cast<DWORD>(BASS_CTYPE_STREAM_TEMPO));
  for (auto [attrib, value] : {std::pair{BASS_ATTRIB_TEMPO, 25.0f}, {BASS_ATTRIB_TEMPO_PITCH, -3.0f},
                               {BASS_ATTRIB_TEMPO_FREQ, 40000.0f}, {BASS_ATTRIB_FREQ, 48000.0f}}) {
    ASSERT_TRUE(lib().BASS_ChannelSetAttribute(tempo, attrib, value));
    float got = 0;
    ASSERT_TRUE(lib().BASS_ChannelGetAttribute(tempo, attrib, &got));
    EXPECT_EQ(got, value) << attrib;
  }
  ASSERT_TRUE(lib().BASS_ChannelSetAttribute(tempo, BASS_ATTRIB_FREQ, 44100));
  ASSERT_TRUE(lib().BASS_ChannelSetAttribute(tempo, BASS_ATTRIB_TEMPO_FREQ, 44100));
  ASSERT_TRUE(lib().BASS_ChannelSetAttribute(tempo, BASS_ATTRIB_TEMPO_PITCH, 0));
  ASSERT_TRUE(lib().BASS_ChannelPlay(tempo, TRUE));
  EXPECT_GT(peak(render(22050), 2), 0.2f);
  // Half a second heard at 25 % more tempo is 0.625 s of the track.
  double at = lib().BASS_ChannelBytes2Seconds(tempo, lib().BASS_ChannelGetPosition(tempo, BASS_POS_BYTE));
  EXPECT_NEAR(at, 0.625, 0.030);
  // The add-on refuses sources that play by themselves.
  EXPECT_EQ(lib().BASS_FX_TempoCreate(tempo, 0), 0u);
  EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_DECODE);
  EXPECT_FALSE(lib().BASS_ChannelSetAttribute(decode, BASS_ATTRIB_TEMPO, 10));
  EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_ILLTYPE);
}

}  // namespace
}  // namespace tarsk::audio::testing
