// Tracker modules (MOD, S3M, XM, IT, MTM, UMX, MO3) through libopenmpt.
#include <libopenmpt/libopenmpt.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "sound/engine/decoders/decoders.h"

namespace tarsk::audio {
namespace {

SourceType typeOf(openmpt_module* mod) {
  auto meta = [mod](const char* key) {
    const char* v = openmpt_module_get_metadata(mod, key);
    std::string s = v ? v : "";
    openmpt_free_string(v);
    return s;
  };
  std::string container = meta("container");
  if (container == "mo3") return SourceType::ModuleMo3;
  if (container == "umx") return SourceType::ModuleUmx;
  std::string type = meta("type");
  if (type == "mod") return SourceType::ModuleMod;
  if (type == "mtm") return SourceType::ModuleMtm;
  if (type == "s3m") return SourceType::ModuleS3m;
  if (type == "xm") return SourceType::ModuleXm;
  if (type == "it") return SourceType::ModuleIt;
  return SourceType::Other;
}

class ModuleSource final : public Source {
public:
  ModuleSource(openmpt_module* mod, int rate, bool loop) : mod_(mod), rate_(rate), loop_(loop) {
    openmpt_module_set_repeat_count(mod_, loop ? -1 : 0);
    double seconds = openmpt_module_get_duration_seconds(mod_);
    length_ = static_cast<int64_t>(std::llround(seconds * rate_));
    type_ = typeOf(mod_);
  }
  ~ModuleSource() override { openmpt_module_destroy(mod_); }
  int rate() const override { return rate_; }
  int channels() const override { return 2; }
  int64_t lengthFrames() const override { return length_; }
  // Without looping the song ends at its length, where the decoder would still
  // render the last notes' tails.
  size_t read(float* out, size_t frames) override {
    if (!loop_) frames = static_cast<size_t>(std::clamp<int64_t>(length_ - position_, 0, static_cast<int64_t>(frames)));
    size_t done = 0;
    while (done < frames) {
      size_t n = openmpt_module_read_interleaved_float_stereo(mod_, rate_, frames - done,
                                                              out + done * 2);
      if (n == 0) break;
      done += n;
    }
    position_ += static_cast<int64_t>(done);
    return done;
  }
  bool seek(int64_t frame) override {
    if (frame < 0 || frame > length_) return false;
    openmpt_module_set_position_seconds(mod_, static_cast<double>(frame) / rate_);
    position_ = frame;
    return true;
  }
  SourceType type() const override { return type_; }

private:
  openmpt_module* mod_;
  int rate_;
  bool loop_;
  int64_t length_ = 0;
  int64_t position_ = 0;
  SourceType type_;
};

}  // namespace

std::unique_ptr<Source> tryModule(std::unique_ptr<ByteReader>& reader, const OpenOptions& options) {
  std::vector<uint8_t> data = reader->readAll();
  if (data.empty()) return nullptr;
  int probe = openmpt_probe_file_header(OPENMPT_PROBE_FILE_HEADER_FLAGS_DEFAULT, data.data(),
                                        data.size(), static_cast<uint64_t>(data.size()), nullptr,
                                        nullptr, nullptr, nullptr, nullptr, nullptr);
  if (probe != OPENMPT_PROBE_FILE_HEADER_RESULT_SUCCESS) return nullptr;
  openmpt_module* mod = openmpt_module_create_from_memory2(
      data.data(), data.size(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  if (!mod) return nullptr;
  int rate = options.moduleRate > 0 ? options.moduleRate : kSynthRate;
  return std::make_unique<ModuleSource>(mod, rate, options.loopModule);
}

}  // namespace tarsk::audio
