// Audio CD tracks from a cue sheet and raw image standing in for a drive.
#include <dlfcn.h>

#include <cstdlib>

#include "support/bass_fixture.h"
#include "support/measure.h"

namespace tarsk::audio::testing {
namespace {

TEST_F(BassTest, CueSheetImageActsAsADriveWithItsTracks) {
  std::string cue = dir + "/disc.cue";
  writeCdImage(cue, {tone(440, 0.5, 44100, 2), tone(880, 0.3, 44100, 2)});
  setenv("TARSK_CD_IMAGES", cue.c_str(), 1);
  void* bass = dlopen(libraryPath("libbass.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(bass, nullptr);
  auto driveCount = reinterpret_cast<DWORD (*)()>(dlsym(bass, "TarskBassCd_DriveCount"));
  auto trackCount = reinterpret_cast<DWORD (*)(DWORD)>(dlsym(bass, "TarskBassCd_TrackCount"));
  auto streamCreate = reinterpret_cast<HSTREAM (*)(DWORD, DWORD, DWORD)>(dlsym(bass, "TarskBassCd_StreamCreate"));
  ASSERT_TRUE(driveCount && trackCount && streamCreate);

  EXPECT_GE(driveCount(), 1u);
  EXPECT_EQ(trackCount(0), 2u);
  HSTREAM h = streamCreate(0, 1, BASS_STREAM_DECODE | BASS_SAMPLE_FLOAT);
  ASSERT_NE(h, 0u) << lib().BASS_ErrorGetCode();
  // 0.3 s padded to whole sectors of 588 frames: 23 sectors.
  EXPECT_EQ(lib().BASS_ChannelGetLength(h, BASS_POS_BYTE), 23u * 588 * 2 * sizeof(float));
  ASSERT_TRUE(lib().BASS_ChannelSetPosition(h, lib().BASS_ChannelSeconds2Bytes(h, 0.1), BASS_POS_BYTE));
  auto out = decodeAll(h);
  EXPECT_EQ(out.size() / 2, 23u * 588 - 4410);
  std::vector<float> left(8192);
  for (size_t i = 0; i < left.size(); ++i) left[i] = out[i * 2];
  EXPECT_NEAR(dominantFrequency(left, 44100), 880, 6);
  BASS_CHANNELINFO info{};
  lib().BASS_ChannelGetInfo(h, &info);
  EXPECT_EQ(info.ctype, static_cast<DWORD>(BASS_CTYPE_STREAM_CD));

  EXPECT_EQ(streamCreate(0, 2, 0), 0u);
  EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_NOTAVAIL);
  EXPECT_EQ(streamCreate(99, 0, 0), 0u);
  EXPECT_EQ(lib().BASS_ErrorGetCode(), BASS_ERROR_DEVICE);
  dlclose(bass);
  unsetenv("TARSK_CD_IMAGES");
}

}  // namespace
}  // namespace tarsk::audio::testing
