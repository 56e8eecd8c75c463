// The studio effects through their parameter records, and the analyser data.
#include <cmath>
#include <algorithm>
#include <cstddef>
#include <cstring>

#include "support/bass_fixture.h"
#include "support/measure.h"

namespace tarsk::audio::testing {
namespace {

class EffectsTest : public BassTest {
protected:
  DWORD decodeSignal(const Signal& s) {
    std::string path = dir + "/signal.wav";
    writeSoundFile(path, FileFormat::Wav, s);
    return openDecoding(path);
  }
};

TEST_F(EffectsTest, EchoRepeatsAnImpulseAtTheSetDelays) {
  auto impulse = generated(44100, 44100, 2, [](size_t i) { return i == 100 ? 0.5f : 0.0f; });
  DWORD h = decodeSignal(impulse);
  HFX fx = lib().BASS_ChannelSetFX(h, BASS_FX_DX8_ECHO, 0);
  ASSERT_NE(fx, 0u);
  BASS_DX8_ECHO echo{50, 50, 100, 250, FALSE};
  ASSERT_TRUE(lib().BASS_FXSetParameters(fx, &echo));
  auto out = decodeAll(h);
  auto at = [&](size_t frame, int channel) { return out[frame * 2 + channel]; };
  float dry = at(100, 0);
  EXPECT_NEAR(dry, 0.25f, 0.001f);
  EXPECT_NEAR(at(100 + 4410, 0), 0.25f, 0.001f);           // left tap at 100 ms
  EXPECT_NEAR(at(100 + 8820, 0), 0.125f, 0.001f);          // fed back once
  EXPECT_NEAR(at(100 + 11025, 1), 0.25f, 0.001f);          // right tap at 250 ms
  EXPECT_NEAR(at(100 + 4410, 1), 0.0f, 0.001f);
}

TEST_F(EffectsTest, EveryEffectTakesItsRecordAndChangesTheSound) {
  struct Case { DWORD type; std::vector<unsigned char> record; };
  auto bytes = [](const auto& r) {
    auto* p = reinterpret_cast<const unsigned char*>(&r);
    return std::vector<unsigned char>(p, p + sizeof r);
  };
  // The player's default settings.
  std::vector<Case> cases = {
      {BASS_FX_DX8_CHORUS, bytes(BASS_DX8_CHORUS{50, 10, 25, 1.1f, 1, 16, 0})},
      {BASS_FX_DX8_COMPRESSOR, bytes(BASS_DX8_COMPRESSOR{0, 10, 200, -20, 3, 4})},
      {BASS_FX_DX8_DISTORTION, bytes(BASS_DX8_DISTORTION{-18, 15, 2400, 2400, 8000})},
      {BASS_FX_DX8_ECHO, bytes(BASS_DX8_ECHO{50, 50, 500, 500, 0})},
      {BASS_FX_DX8_FLANGER, bytes(BASS_DX8_FLANGER{50, 100, -50, 0.25f, 1, 2, 0})},
      {BASS_FX_DX8_GARGLE, bytes(BASS_DX8_GARGLE{20, 0})},
      {BASS_FX_DX8_I3DL2REVERB, bytes(BASS_DX8_I3DL2REVERB{-1000, -100, 0, 1.49f, 0.83f, -2602, 0.007f, 200,
                                                           0.011f, 100, 100, 5000})},
      {BASS_FX_DX8_PARAMEQ, bytes(BASS_DX8_PARAMEQ{1000, 12, 15})},
      {BASS_FX_DX8_REVERB, bytes(BASS_DX8_REVERB{0, 0, 1000, 0.001f})},
  };
  auto source = tone(1000, 0.5, 44100, 2, 0.4f);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    DWORD h = decodeSignal(source);
    HFX fx = lib().BASS_ChannelSetFX(h, c.type, 0);
    ASSERT_NE(fx, 0u);
    ASSERT_TRUE(lib().BASS_FXSetParameters(fx, c.record.data()));
    std::vector<unsigned char> back(c.record.size());
    ASSERT_TRUE(lib().BASS_FXGetParameters(fx, back.data()));
    EXPECT_EQ(back, c.record);
    auto out = decodeAll(h);
    ASSERT_EQ(out.size(), source.samples.size());
    double diff = 0;
    for (size_t i = 0; i < out.size(); ++i) diff = std::fmax(diff, std::fabs(out[i] - source.samples[i]));
    EXPECT_GT(diff, 0.01);
    for (float v : out) ASSERT_TRUE(std::isfinite(v));
    // A value out of range is refused and leaves the record as it was.
    std::vector<unsigned char> bad = c.record;
    float huge = 1e9f;
    std::memcpy(bad.data(), &huge, sizeof huge);
    if (c.type == BASS_FX_DX8_I3DL2REVERB) { int room = 5; std::memcpy(bad.data(), &room, 4); }
    if (c.type == BASS_FX_DX8_GARGLE) { DWORD rate = 5000; std::memcpy(bad.data(), &rate, 4); }
    EXPECT_FALSE(lib().BASS_FXSetParameters(fx, bad.data()));
    EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    ASSERT_TRUE(lib().BASS_FXGetParameters(fx, back.data()));
    EXPECT_EQ(back, c.record);
    EXPECT_TRUE(lib().BASS_ChannelRemoveFX(h, fx));
    EXPECT_FALSE(lib().BASS_FXSetParameters(fx, c.record.data()));
    EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
  }
  EXPECT_EQ(lib().BASS_ChannelSetFX(decodeSignal(source), 9, 0), 0u);
  EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_ILLTYPE);
}

TEST_F(EffectsTest, ParametricEqualiserBoostsItsBandOnly) {
  DWORD h = decodeSignal(tone(1000, 0.5, 44100, 1, 0.1f));
  HFX fx = lib().BASS_ChannelSetFX(h, BASS_FX_DX8_PARAMEQ, 0);
  BASS_DX8_PARAMEQ eq{1000, 12, 12};
  ASSERT_TRUE(lib().BASS_FX_DSP_SetParameters(fx, &eq));
  auto boosted = decodeAll(h);
  std::vector<float> tail(boosted.begin() + 11025, boosted.end());
  EXPECT_NEAR(decibels(peak(tail, 1) / 0.1), 12, 0.5);

  DWORD far = decodeSignal(tone(100, 0.5, 44100, 1, 0.1f));
  fx = lib().BASS_ChannelSetFX(far, BASS_FX_DX8_PARAMEQ, 0);
  ASSERT_TRUE(lib().BASS_FXSetParameters(fx, &eq));
  auto untouched = decodeAll(far);
  std::vector<float> farTail(untouched.begin() + 11025, untouched.end());
  EXPECT_NEAR(decibels(peak(farTail, 1) / 0.1), 0, 0.5);
}

TEST_F(EffectsTest, SpectrumPeaksAtTheTonesBin) {
  // 1000 Hz at 44100 Hz falls on bin 1000 * 2048 / 44100 = 46.4 of a 2048-point transform.
  DWORD h = decodeSignal(tone(1000, 1.0, 44100, 2, 0.5f));
  std::vector<float> bins(1024);
  DWORD used = lib().BASS_ChannelGetData(h, bins.data(), BASS_DATA_FFT2048);
  EXPECT_EQ(used, 2048u * 2 * sizeof(float));
  size_t best = std::max_element(bins.begin(), bins.end()) - bins.begin();
  EXPECT_EQ(best, 46u);
  EXPECT_GT(bins[46], 0.2f);

  // A playing channel gives the spectrum of what it last played.
  std::string path = dir + "/play.wav";
  writeSoundFile(path, FileFormat::Wav, tone(2000, 1.0, 44100, 2, 0.5f));
  DWORD play = lib().BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_SAMPLE_FLOAT);
  ASSERT_TRUE(lib().BASS_ChannelPlay(play, TRUE));
  std::vector<float> small(128);
  lib().BASS_ChannelGetData(play, small.data(), BASS_DATA_FFT256);  // starts the analyser's memory
  render(4410);
  // What was played, and at most the mixer's read-ahead of 1026 frames more.
  DWORD available = lib().BASS_ChannelGetData(play, nullptr, BASS_DATA_AVAILABLE);
  EXPECT_GE(available, 4410u * 2 * sizeof(float));
  EXPECT_LE(available, (4410u + 1026) * 2 * sizeof(float));
  ASSERT_NE(lib().BASS_ChannelGetData(play, small.data(), BASS_DATA_FFT256), static_cast<DWORD>(-1));
  best = std::max_element(small.begin(), small.end()) - small.begin();
  EXPECT_EQ(best, 12u);  // 2000 * 256 / 44100 = 11.6
}

}  // namespace
}  // namespace tarsk::audio::testing
