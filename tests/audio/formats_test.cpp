// Every format the player opens: length and position through the library.
#include <cmath>
#include <fstream>
#include <iterator>

#include "support/bass_fixture.h"
#include "support/measure.h"

namespace tarsk::audio::testing {
namespace {

class FormatsTest : public BassTest, public ::testing::WithParamInterface<FileFormat> {};

TEST_P(FormatsTest, LengthPositionAndDecodedDurationAgree) {
  FileFormat format = GetParam();
  std::string path = dir + "/tone." + extensionOf(format);
  ASSERT_TRUE(writeSoundFile(path, format, tone(440, 1.0, 44100, 2)));
  DWORD h = openDecoding(path);
  ASSERT_NE(h, 0u) << "error " << lib().BASS_ErrorGetCode();

  BASS_CHANNELINFO info{};
  ASSERT_TRUE(lib().BASS_ChannelGetInfo(h, &info));
  EXPECT_EQ(info.freq, 44100u);
  EXPECT_EQ(info.chans, 2u);
  EXPECT_TRUE(info.flags & BASS_SAMPLE_FLOAT);

  // Lossy encoders may add a delay and padding of their own: the length must
  // match what decodes, and the tone's length within the codec's frame.
  QWORD length = lib().BASS_ChannelGetLength(h, BASS_POS_BYTE);
  ASSERT_NE(length, static_cast<QWORD>(-1));
  double seconds = lib().BASS_ChannelBytes2Seconds(h, length);
  bool lossy = format == FileFormat::Ogg || format == FileFormat::Mp3 || format == FileFormat::Wma ||
               format == FileFormat::M4a;
  EXPECT_NEAR(seconds, 1.0, lossy ? 0.050 : 0.0);
  // The test's WMA files lose one 2048-sample block between FFmpeg's encoder
  // and decoder; their header still states the full length.
  double tolerance = format == FileFormat::Wma ? 0.050 : 0.010;
  EXPECT_NEAR(static_cast<double>(decodeAll(h).size() / 2) / 44100, seconds, tolerance);

  QWORD half = lib().BASS_ChannelSeconds2Bytes(h, 0.5);
  EXPECT_EQ(half, 22050u * 2 * sizeof(float));
  ASSERT_TRUE(lib().BASS_ChannelSetPosition(h, half, BASS_POS_BYTE));
  EXPECT_NEAR(lib().BASS_ChannelBytes2Seconds(h, lib().BASS_ChannelGetPosition(h, BASS_POS_BYTE)), 0.5, 0.010);

  auto rest = decodeAll(h);
  EXPECT_NEAR(static_cast<double>(rest.size() / 2) / 44100, seconds - 0.5, tolerance);
  EXPECT_GT(peak(rest, 2), 0.3f);
  EXPECT_EQ(lib().BASS_ChannelIsActive(h), static_cast<DWORD>(BASS_ACTIVE_STOPPED));
  EXPECT_EQ(lib().BASS_ChannelGetData(h, rest.data(), 64), static_cast<DWORD>(-1));
  EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_ENDED);
  EXPECT_TRUE(lib().BASS_StreamFree(h));
}

INSTANTIATE_TEST_SUITE_P(AllFormats, FormatsTest,
                         ::testing::Values(FileFormat::Wav, FileFormat::Aiff, FileFormat::Flac,
                                           FileFormat::Ogg, FileFormat::Mp3, FileFormat::Wma,
                                           FileFormat::M4a),
                         [](const auto& info) { return std::string(extensionOf(info.param)); });

TEST_F(BassTest, MidiFileLastsToItsEndOfTrackAndSounds) {
  std::string path = dir + "/note.mid";
  writeBytes(path, makeMidi(1.5));
  DWORD h = openDecoding(path);
  ASSERT_NE(h, 0u) << "error " << lib().BASS_ErrorGetCode();
  QWORD length = lib().BASS_ChannelGetLength(h, BASS_POS_BYTE);
  EXPECT_NEAR(lib().BASS_ChannelBytes2Seconds(h, length), 1.5, 0.010);
  auto all = decodeAll(h);
  EXPECT_NEAR(static_cast<double>(all.size() / 2) / 44100, 1.5, 0.010);
  EXPECT_GT(peak(all, 2), 0.01f);
  BASS_CHANNELINFO info{};
  lib().BASS_ChannelGetInfo(h, &info);
  EXPECT_EQ(info.ctype, static_cast<DWORD>(BASS_CTYPE_STREAM_MIDI));
}

TEST_F(BassTest, ModuleDecodesToItsEndUnlessLooping) {
  std::string path = dir + "/song.mod";
  writeBytes(path, makeModule(16));  // 16 rows: 1.92 s
  DWORD h = lib().BASS_MusicLoad(FALSE, path.c_str(), 0, 0,
                                 BASS_MUSIC_DECODE | BASS_MUSIC_PRESCAN | BASS_SAMPLE_FLOAT, 44100);
  ASSERT_NE(h, 0u) << "error " << lib().BASS_ErrorGetCode();
  BASS_CHANNELINFO info{};
  lib().BASS_ChannelGetInfo(h, &info);
  EXPECT_EQ(info.ctype, static_cast<DWORD>(BASS_CTYPE_MUSIC_MOD));
  double seconds = lib().BASS_ChannelBytes2Seconds(h, lib().BASS_ChannelGetLength(h, BASS_POS_BYTE));
  EXPECT_NEAR(seconds, 1.92, 0.010);
  auto all = decodeAll(h);
  EXPECT_NEAR(static_cast<double>(all.size() / 2) / 44100, seconds, 0.010);
  EXPECT_GT(peak(all, 2), 0.05f);
  EXPECT_EQ(lib().BASS_ChannelIsActive(h), static_cast<DWORD>(BASS_ACTIVE_STOPPED));
  EXPECT_TRUE(lib().BASS_MusicFree(h));

  // The player's flags loop the module: it goes on past its length.
  h = lib().BASS_MusicLoad(FALSE, path.c_str(), 0, 0, 0x220004 | BASS_SAMPLE_FLOAT, 0);
  ASSERT_NE(h, 0u);
  auto looped = decodeAll(h, 44100 * 3);
  EXPECT_GE(looped.size() / 2, 44100u * 3);
}

TEST_F(BassTest, ModulePlaysToItsEndOnTheMixer) {
  std::string path = dir + "/song.mod";
  writeBytes(path, makeModule(4));  // 0.48 s
  DWORD h = lib().BASS_MusicLoad(FALSE, path.c_str(), 0, 0, BASS_MUSIC_PRESCAN, 0);
  ASSERT_NE(h, 0u);
  ASSERT_TRUE(lib().BASS_ChannelPlay(h, TRUE));
  size_t blocks = 0;
  float loudest = 0;
  while (lib().BASS_ChannelIsActive(h) != BASS_ACTIVE_STOPPED && blocks < 100) {
    loudest = std::fmax(loudest, peak(render(441), 2));
    ++blocks;
  }
  EXPECT_NEAR(blocks * 0.01, 0.48, 0.03);
  EXPECT_GT(loudest, 0.05f);
}

TEST_F(BassTest, StreamsOpenFromMemoryAndFromWindowsStylePaths) {
  std::string path = dir + "/Tone.WAV";
  ASSERT_TRUE(writeSoundFile(path, FileFormat::Wav, tone(440, 0.25)));
  std::string windows = "C:" + dir + "/tone.wav";
  for (char& c : windows) if (c == '/') c = '\\';
  DWORD h = openDecoding(windows);
  ASSERT_NE(h, 0u) << lib().BASS_ErrorGetCode();
  EXPECT_EQ(decodeAll(h).size(), 11025u);

  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  DWORD m = lib().BASS_StreamCreateFile(TRUE, bytes.data(), 0, bytes.size(), BASS_STREAM_DECODE | BASS_SAMPLE_FLOAT);
  ASSERT_NE(m, 0u);
  EXPECT_EQ(decodeAll(m).size(), 11025u);
}

TEST_F(BassTest, OpeningFailuresGiveTheirErrorCodes) {
  EXPECT_EQ(openDecoding(dir + "/missing.mp3"), 0u);
  EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);
  std::string junk = dir + "/junk.mp3";
  writeBytes(junk, std::vector<unsigned char>(5000, 0x41));
  EXPECT_EQ(openDecoding(junk), 0u);
  EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_FILEFORM);
  EXPECT_EQ(lib().BASS_MusicLoad(FALSE, junk.c_str(), 0, 0, 0, 0), 0u);
  EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_FILEFORM);
  EXPECT_FALSE(lib().BASS_ChannelPlay(12345, TRUE));
  EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
}

}  // namespace
}  // namespace tarsk::audio::testing
