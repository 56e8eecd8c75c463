#include "bass_fixture.h"

#include <cstdlib>
#include <filesystem>

namespace tarsk::audio::testing {

BassLibrary& BassTest::lib() {
  static BassLibrary* library = [] {
    setenv("TARSK_AUDIO_OUTPUT", "offline", 1);
    return new BassLibrary;
  }();
  return *library;
}

void BassTest::SetUp() {
  ASSERT_TRUE(lib().loaded()) << lib().error;
  ASSERT_TRUE(lib().error.empty()) << lib().error;
  ASSERT_TRUE(lib().BASS_Init(-1, 44100, 0, nullptr, nullptr)) << lib().BASS_ErrorGetCode();
  dir = scratchDirectory(::testing::UnitTest::GetInstance()->current_test_info()->name());
}

void BassTest::TearDown() {
  if (lib().loaded()) lib().BASS_Free();
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}

std::vector<float> BassTest::decodeAll(DWORD handle, size_t maxFrames) {
  std::vector<float> out;
  std::vector<float> block(4096);
  while (out.size() < maxFrames * 2) {
    DWORD got = lib().BASS_ChannelGetData(handle, block.data(), 4096 * sizeof(float) | BASS_DATA_FLOAT);
    if (got == static_cast<DWORD>(-1) || got == 0) break;
    out.insert(out.end(), block.begin(), block.begin() + got / sizeof(float));
  }
  return out;
}

std::vector<float> BassTest::render(size_t frames) {
  std::vector<float> out(frames * 2);
  EXPECT_TRUE(lib().TarskBass_RenderOffline(out.data(), static_cast<DWORD>(frames)));
  return out;
}

DWORD BassTest::openDecoding(const std::string& path, DWORD extraFlags) {
  return lib().BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0,
                                     BASS_STREAM_DECODE | BASS_SAMPLE_FLOAT | extraFlags);
}

}  // namespace tarsk::audio::testing
