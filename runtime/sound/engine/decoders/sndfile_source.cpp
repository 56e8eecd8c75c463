// WAV, AIFF, FLAC and Ogg Vorbis through libsndfile.
#include <sndfile.h>

#include "sound/engine/decoders/decoders.h"

namespace tarsk::audio {
namespace {

sf_count_t vioLength(void* user) { return static_cast<ByteReader*>(user)->size(); }
sf_count_t vioSeek(sf_count_t offset, int whence, void* user) {
  auto* r = static_cast<ByteReader*>(user);
  if (!r->seek(offset, whence)) return -1;
  return r->tell();
}
sf_count_t vioRead(void* out, sf_count_t count, void* user) {
  return static_cast<sf_count_t>(static_cast<ByteReader*>(user)->read(out, static_cast<size_t>(count)));
}
sf_count_t vioWrite(const void*, sf_count_t, void*) { return 0; }
sf_count_t vioTell(void* user) { return static_cast<ByteReader*>(user)->tell(); }

SF_VIRTUAL_IO virtualIo = {vioLength, vioSeek, vioRead, vioWrite, vioTell};

class SndfileSource final : public Source {
public:
  SndfileSource(std::unique_ptr<ByteReader> reader, SNDFILE* file, const SF_INFO& info)
      : reader_(std::move(reader)), file_(file), info_(info) {}
  ~SndfileSource() override { sf_close(file_); }
  int rate() const override { return info_.samplerate; }
  int channels() const override { return info_.channels; }
  int64_t lengthFrames() const override { return info_.frames; }
  size_t read(float* out, size_t frames) override {
    sf_count_t n = sf_readf_float(file_, out, static_cast<sf_count_t>(frames));
    return n > 0 ? static_cast<size_t>(n) : 0;
  }
  bool seek(int64_t frame) override {
    if (frame < 0 || frame > info_.frames) return false;
    return sf_seek(file_, frame, SEEK_SET) == frame;
  }
  SourceType type() const override {
    switch (info_.format & SF_FORMAT_TYPEMASK) {
      case SF_FORMAT_AIFF: return SourceType::Aiff;
      case SF_FORMAT_FLAC: return SourceType::Flac;
      case SF_FORMAT_OGG: return SourceType::OggVorbis;
      case SF_FORMAT_WAV:
      case SF_FORMAT_WAVEX:
        return (info_.format & SF_FORMAT_SUBMASK) == SF_FORMAT_FLOAT ? SourceType::WavFloat
                                                                     : SourceType::WavPcm;
      default: return SourceType::Other;
    }
  }
  int originalBits() const override {
    switch (info_.format & SF_FORMAT_SUBMASK) {
      case SF_FORMAT_PCM_S8: case SF_FORMAT_PCM_U8: return 8;
      case SF_FORMAT_PCM_16: return 16;
      case SF_FORMAT_PCM_24: return 24;
      case SF_FORMAT_PCM_32: case SF_FORMAT_FLOAT: return 32;
      default: return 0;
    }
  }

private:
  std::unique_ptr<ByteReader> reader_;
  SNDFILE* file_;
  SF_INFO info_;
};

}  // namespace

std::unique_ptr<Source> trySndfile(std::unique_ptr<ByteReader>& reader) {
  reader->seek(0, SEEK_SET);
  SF_INFO info{};
  SNDFILE* file = sf_open_virtual(&virtualIo, SFM_READ, &info, reader.get());
  if (!file) { reader->seek(0, SEEK_SET); return nullptr; }
  // MPEG audio goes to the MPEG decoder, which knows its frames best.
  bool mpeg = (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG;
  if (mpeg || info.channels <= 0 || info.samplerate <= 0) {
    sf_close(file);
    reader->seek(0, SEEK_SET);
    return nullptr;
  }
  return std::make_unique<SndfileSource>(std::move(reader), file, info);
}

}  // namespace tarsk::audio
