// MPEG layer 1, 2 and 3 audio through libmpg123.
#include <mpg123.h>

#include <cstring>
#include <mutex>

#include "sound/engine/decoders/decoders.h"

namespace tarsk::audio {
namespace {

ssize_t readCallback(void* user, void* out, size_t bytes) {
  return static_cast<ssize_t>(static_cast<ByteReader*>(user)->read(out, bytes));
}
off_t seekCallback(void* user, off_t offset, int whence) {
  auto* r = static_cast<ByteReader*>(user);
  return r->seek(offset, whence) ? static_cast<off_t>(r->tell()) : -1;
}

// An ID3v2 tag or an MPEG frame sync at the start: anything else is not tried,
// since the decoder would resynchronise on stray bytes of other formats.
bool looksLikeMpeg(ByteReader& reader) {
  uint8_t head[4] = {};
  reader.seek(0, SEEK_SET);
  size_t n = reader.read(head, 4);
  reader.seek(0, SEEK_SET);
  if (n < 4) return false;
  if (std::memcmp(head, "ID3", 3) == 0) return true;
  bool sync = head[0] == 0xFF && (head[1] & 0xE0) == 0xE0;
  bool layer = (head[1] & 0x06) != 0;
  bool bitrate = (head[2] & 0xF0) != 0xF0;
  bool rate = (head[2] & 0x0C) != 0x0C;
  return sync && layer && bitrate && rate;
}

class Mpg123Source final : public Source {
public:
  Mpg123Source(std::unique_ptr<ByteReader> reader, mpg123_handle* handle, int rate, int channels,
               int64_t length, SourceType type)
      : reader_(std::move(reader)), handle_(handle), rate_(rate), channels_(channels),
        length_(length), type_(type) {}
  ~Mpg123Source() override { mpg123_delete(handle_); }
  int rate() const override { return rate_; }
  int channels() const override { return channels_; }
  int64_t lengthFrames() const override { return length_; }
  size_t read(float* out, size_t frames) override {
    size_t wanted = frames * channels_ * sizeof(float);
    size_t got = 0;
    auto* bytes = reinterpret_cast<unsigned char*>(out);
    while (got < wanted) {
      size_t done = 0;
      int rc = mpg123_read(handle_, bytes + got, wanted - got, &done);
      got += done;
      if (rc == MPG123_NEW_FORMAT) continue;
      if (rc != MPG123_OK || done == 0) break;
    }
    return got / (channels_ * sizeof(float));
  }
  bool seek(int64_t frame) override {
    if (frame < 0 || (length_ >= 0 && frame > length_)) return false;
    return mpg123_seek(handle_, static_cast<off_t>(frame), SEEK_SET) >= 0;
  }
  SourceType type() const override { return type_; }
  int originalBits() const override { return 16; }

private:
  std::unique_ptr<ByteReader> reader_;
  mpg123_handle* handle_;
  int rate_, channels_;
  int64_t length_;
  SourceType type_;
};

}  // namespace

std::unique_ptr<Source> tryMpg123(std::unique_ptr<ByteReader>& reader) {
  static std::once_flag once;
  std::call_once(once, [] { mpg123_init(); });
  if (!looksLikeMpeg(*reader)) return nullptr;
  int err = 0;
  mpg123_handle* h = mpg123_new(nullptr, &err);
  if (!h) return nullptr;
  auto fail = [&]() -> std::unique_ptr<Source> {
    mpg123_delete(h);
    reader->seek(0, SEEK_SET);
    return nullptr;
  };
  mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0);
  mpg123_param(h, MPG123_RESYNC_LIMIT, 4096, 0);
  mpg123_format_none(h);
  for (long rate : {8000L, 11025L, 12000L, 16000L, 22050L, 24000L, 32000L, 44100L, 48000L})
    mpg123_format(h, rate, MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
  if (mpg123_replace_reader_handle(h, readCallback, seekCallback, nullptr) != MPG123_OK) return fail();
  if (mpg123_open_handle(h, reader.get()) != MPG123_OK) return fail();
  long rate = 0;
  int channels = 0, encoding = 0;
  if (mpg123_getformat(h, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 || channels <= 0)
    return fail();
  mpg123_scan(h);
  off_t length = mpg123_length(h);
  mpg123_frameinfo info{};
  SourceType type = SourceType::Mp3;
  if (mpg123_info(h, &info) == MPG123_OK)
    type = info.layer == 1 ? SourceType::Mp1 : info.layer == 2 ? SourceType::Mp2 : SourceType::Mp3;
  mpg123_seek(h, 0, SEEK_SET);
  return std::make_unique<Mpg123Source>(std::move(reader), h, static_cast<int>(rate), channels,
                                        length < 0 ? -1 : static_cast<int64_t>(length), type);
}

}  // namespace tarsk::audio
