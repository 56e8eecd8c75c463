#pragma once
// A decoder: interleaved 32-bit float frames at a fixed rate and channel count.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tarsk::audio {

// What a decoder reports about the data it decodes.
enum class SourceType {
  WavPcm, WavFloat, Aiff, Flac, OggVorbis, Mp1, Mp2, Mp3, Wma, Aac, Mp4,
  ModuleMod, ModuleMtm, ModuleS3m, ModuleXm, ModuleIt, ModuleMo3, ModuleUmx,
  Midi, CdAudio, Other
};

class Source {
public:
  virtual ~Source() = default;
  virtual int rate() const = 0;
  virtual int channels() const = 0;
  // Total frames, or -1 when the length is unknown.
  virtual int64_t lengthFrames() const = 0;
  // Decodes up to `frames` frames into `out`; fewer than asked only at the end.
  virtual size_t read(float* out, size_t frames) = 0;
  // Moves to `frame` (0 .. length); false when the decoder cannot go there.
  virtual bool seek(int64_t frame) = 0;
  virtual SourceType type() const = 0;
  // Bits per sample of the original data (0 when not meaningful).
  virtual int originalBits() const { return 0; }
};

// Options that only some decoders use.
struct OpenOptions {
  bool loopModule = false;   // a module jumps back to its start instead of ending
  int moduleRate = 0;        // 0: the engine's default rate
};

// Opens a file (or a memory copy of one) with the first decoder that accepts it.
// Returns null when no decoder recognises the data.
std::unique_ptr<Source> openSourceFile(const std::string& path, const OpenOptions& options = {});
std::unique_ptr<Source> openSourceMemory(std::vector<uint8_t> data, const OpenOptions& options = {});
// Tracker modules only (the module decoder), from a file or from memory.
std::unique_ptr<Source> openModuleFile(const std::string& path, const OpenOptions& options = {});
std::unique_ptr<Source> openModuleMemory(std::vector<uint8_t> data, const OpenOptions& options = {});

}  // namespace tarsk::audio
