#pragma once
// Small sound files written by the tests: tones, impulses and ramps in every
// format the audio library reads, a tracker module, a MIDI file, a CD image.
#include <functional>
#include <string>
#include <vector>

namespace tarsk::audio::testing {

enum class FileFormat { Wav, Aiff, Flac, Ogg, Mp3, Wma, M4a };
const char* extensionOf(FileFormat format);

// Interleaved float samples with their format.
struct Signal {
  int rate = 44100;
  int channels = 1;
  std::vector<float> samples;
  size_t frames() const { return samples.size() / channels; }
};

Signal tone(double hz, double seconds, int rate = 44100, int channels = 1, float amplitude = 0.5f);
// Frame i of every channel holds f(i).
Signal generated(size_t frames, int rate, int channels, const std::function<float(size_t)>& f);

// Writes `signal` as `format`; false when the encoder is not available.
bool writeSoundFile(const std::string& path, FileFormat format, const Signal& signal);

// A four-channel module with one pattern; `rows` rows at speed 6, 125 BPM
// (20 ms a tick), so it plays rows * 0.12 s.
std::vector<unsigned char> makeModule(int rows);
// A Standard MIDI File holding one note of `seconds` (120 BPM, 480 ticks a beat).
std::vector<unsigned char> makeMidi(double seconds);
void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes);

// A cue sheet and raw image of an audio CD whose tracks hold the given signals
// (stereo 44100 Hz 16-bit, padded to whole sectors).
void writeCdImage(const std::string& cuePath, const std::vector<Signal>& tracks);

// A fresh directory for one test's files.
std::string scratchDirectory(const std::string& name);

}  // namespace tarsk::audio::testing
