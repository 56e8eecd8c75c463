// Everything else FFmpeg's demuxers and decoders know, WMA and M4A among them.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cstring>

#include "sound/engine/decoders/decoders.h"

namespace tarsk::audio {
namespace {

constexpr int kIoBufferSize = 32768;

int ioRead(void* user, uint8_t* out, int bytes) {
  size_t n = static_cast<ByteReader*>(user)->read(out, static_cast<size_t>(bytes));
  return n == 0 ? AVERROR_EOF : static_cast<int>(n);
}
int64_t ioSeek(void* user, int64_t offset, int whence) {
  auto* r = static_cast<ByteReader*>(user);
  if (whence & AVSEEK_SIZE) return r->size();
  return r->seek(offset, whence & ~AVSEEK_FORCE) ? r->tell() : -1;
}

SourceType typeOf(AVCodecID id) {
  switch (id) {
    case AV_CODEC_ID_WMAV1: case AV_CODEC_ID_WMAV2: case AV_CODEC_ID_WMAPRO:
    case AV_CODEC_ID_WMALOSSLESS: case AV_CODEC_ID_WMAVOICE: return SourceType::Wma;
    case AV_CODEC_ID_AAC: return SourceType::Aac;
    case AV_CODEC_ID_ALAC: return SourceType::Mp4;
    case AV_CODEC_ID_MP3: return SourceType::Mp3;
    case AV_CODEC_ID_MP2: return SourceType::Mp2;
    case AV_CODEC_ID_FLAC: return SourceType::Flac;
    case AV_CODEC_ID_VORBIS: return SourceType::OggVorbis;
    default: return SourceType::Other;
  }
}

class FfmpegSource final : public Source {
public:
  explicit FfmpegSource(ByteReader* reader) : reader_(reader) {}
  void adopt(std::unique_ptr<ByteReader> reader) { owned_ = std::move(reader); }
  ~FfmpegSource() override {
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    swr_free(&resampler_);
    avcodec_free_context(&codec_);
    if (format_) avformat_close_input(&format_);
    if (io_) {
      av_freep(&io_->buffer);
      avio_context_free(&io_);
    }
  }

  bool open() {
    auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBufferSize));
    if (!buffer) return false;
    io_ = avio_alloc_context(buffer, kIoBufferSize, 0, reader_, ioRead, nullptr, ioSeek);
    if (!io_) { av_free(buffer); return false; }
    format_ = avformat_alloc_context();
    if (!format_) return false;
    format_->pb = io_;
    if (avformat_open_input(&format_, nullptr, nullptr, nullptr) < 0) { format_ = nullptr; return false; }
    if (avformat_find_stream_info(format_, nullptr) < 0) return false;
    const AVCodec* decoder = nullptr;
    stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (stream_ < 0 || !decoder) return false;
    AVStream* st = format_->streams[stream_];
    codec_ = avcodec_alloc_context3(decoder);
    if (!codec_ || avcodec_parameters_to_context(codec_, st->codecpar) < 0) return false;
    if (avcodec_open2(codec_, decoder, nullptr) < 0) return false;
    rate_ = codec_->sample_rate;
    channels_ = codec_->ch_layout.nb_channels;
    if (rate_ <= 0 || channels_ <= 0) return false;
    AVChannelLayout layout;
    av_channel_layout_copy(&layout, &codec_->ch_layout);
    if (layout.order == AV_CHANNEL_ORDER_UNSPEC) av_channel_layout_default(&layout, channels_);
    int rc = swr_alloc_set_opts2(&resampler_, &layout, AV_SAMPLE_FMT_FLT, rate_, &layout,
                                 codec_->sample_fmt, rate_, 0, nullptr);
    av_channel_layout_uninit(&layout);
    if (rc < 0 || swr_init(resampler_) < 0) return false;
    if (st->duration != AV_NOPTS_VALUE && st->duration > 0)
      length_ = av_rescale_q(st->duration, st->time_base, AVRational{1, rate_});
    else if (format_->duration != AV_NOPTS_VALUE && format_->duration > 0)
      length_ = av_rescale_q(format_->duration, AVRational{1, AV_TIME_BASE}, AVRational{1, rate_});
    type_ = typeOf(codec_->codec_id);
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    return frame_ && packet_;
  }

  int rate() const override { return rate_; }
  int channels() const override { return channels_; }
  int64_t lengthFrames() const override { return length_; }
  SourceType type() const override { return type_; }
  int originalBits() const override { return codec_ ? codec_->bits_per_raw_sample : 0; }

  // Decoders may give more than the container's length (encoder padding that
  // the container trims): the stream ends at its stated length.
  size_t read(float* out, size_t frames) override {
    if (length_ >= 0 && position_ >= 0)
      frames = static_cast<size_t>(std::clamp<int64_t>(length_ - position_, 0, static_cast<int64_t>(frames)));
    size_t done = 0;
    while (done < frames) {
      if (pendingPos_ < pending_.size() / channels_) {
        size_t n = std::min(frames - done, pending_.size() / channels_ - pendingPos_);
        std::memcpy(out + done * channels_, pending_.data() + pendingPos_ * channels_,
                    n * channels_ * sizeof(float));
        pendingPos_ += n;
        done += n;
        continue;
      }
      if (!decodeFrame()) break;
    }
    if (position_ >= 0) position_ += static_cast<int64_t>(done);
    return done;
  }

  bool seek(int64_t frame) override {
    if (frame < 0 || (length_ >= 0 && frame > length_)) return false;
    AVStream* st = format_->streams[stream_];
    int64_t ts = av_rescale_q(frame, AVRational{1, rate_}, st->time_base);
    if (av_seek_frame(format_, stream_, ts, AVSEEK_FLAG_BACKWARD) < 0 &&
        av_seek_frame(format_, stream_, ts, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY) < 0)
      return false;
    avcodec_flush_buffers(codec_);
    pending_.clear();
    pendingPos_ = 0;
    ended_ = false;
    position_ = -1;  // taken from the first decoded frame
    skipTo_ = frame;
    return true;
  }

private:
  // Decodes the next frame into pending_, dropping what lies before a seek target.
  bool decodeFrame() {
    while (!ended_) {
      int rc = avcodec_receive_frame(codec_, frame_);
      if (rc == 0) {
        convertFrame();
        av_frame_unref(frame_);
        if (!pending_.empty()) return true;
        continue;
      }
      if (rc == AVERROR_EOF) { ended_ = true; break; }
      if (rc != AVERROR(EAGAIN)) { ended_ = true; break; }
      rc = av_read_frame(format_, packet_);
      if (rc < 0) {
        avcodec_send_packet(codec_, nullptr);
        continue;
      }
      if (packet_->stream_index == stream_) avcodec_send_packet(codec_, packet_);
      av_packet_unref(packet_);
    }
    return false;
  }

  void convertFrame() {
    pending_.resize(static_cast<size_t>(frame_->nb_samples) * channels_);
    auto* dst = reinterpret_cast<uint8_t*>(pending_.data());
    int n = swr_convert(resampler_, &dst, frame_->nb_samples,
                        const_cast<const uint8_t**>(frame_->extended_data), frame_->nb_samples);
    pending_.resize(n > 0 ? static_cast<size_t>(n) * channels_ : 0);
    pendingPos_ = 0;
    if (skipTo_ >= 0) {
      AVStream* st = format_->streams[stream_];
      int64_t pts = frame_->best_effort_timestamp;
      int64_t start = pts == AV_NOPTS_VALUE ? skipTo_
                                            : av_rescale_q(pts, st->time_base, AVRational{1, rate_});
      int64_t frames = static_cast<int64_t>(pending_.size() / channels_);
      if (start + frames <= skipTo_) { pending_.clear(); return; }
      if (start < skipTo_) pendingPos_ = static_cast<size_t>(skipTo_ - start);
      position_ = skipTo_;
      skipTo_ = -1;
    }
  }

  ByteReader* reader_;
  std::unique_ptr<ByteReader> owned_;
  AVIOContext* io_ = nullptr;
  AVFormatContext* format_ = nullptr;
  AVCodecContext* codec_ = nullptr;
  SwrContext* resampler_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVPacket* packet_ = nullptr;
  int stream_ = -1;
  int rate_ = 0, channels_ = 0;
  int64_t length_ = -1;
  int64_t position_ = 0;
  int64_t skipTo_ = -1;
  bool ended_ = false;
  SourceType type_ = SourceType::Other;
  std::vector<float> pending_;
  size_t pendingPos_ = 0;
};

}  // namespace

std::unique_ptr<Source> tryFfmpeg(std::unique_ptr<ByteReader>& reader) {
  reader->seek(0, SEEK_SET);
  av_log_set_level(AV_LOG_QUIET);
  auto source = std::make_unique<FfmpegSource>(reader.get());
  if (!source->open()) {
    source.reset();
    reader->seek(0, SEEK_SET);
    return nullptr;
  }
  source->adopt(std::move(reader));
  return source;
}

}  // namespace tarsk::audio
