#pragma once
// A test fixture with the audio library loaded and initialised on the offline
// output, and helpers to drain decoding channels and render the mix.
#include <gtest/gtest.h>

#include <vector>

#include "bass_library.h"
#include "sound_files.h"

namespace tarsk::audio::testing {

class BassTest : public ::testing::Test {
protected:
  static BassLibrary& lib();
  void SetUp() override;
  void TearDown() override;

  // All remaining float data of a decoding channel.
  std::vector<float> decodeAll(DWORD handle, size_t maxFrames = 20 * 48000);
  // `frames` stereo frames of the mix.
  std::vector<float> render(size_t frames);
  DWORD openDecoding(const std::string& path, DWORD extraFlags = 0);
  std::string dir;
};

}  // namespace tarsk::audio::testing
