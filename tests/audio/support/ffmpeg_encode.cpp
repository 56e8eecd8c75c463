// WMA and M4A test files through FFmpeg's encoders.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
}

#include <algorithm>

#include "sound_files.h"

namespace tarsk::audio::testing {

bool encodeWithFfmpeg(const std::string& path, FileFormat format, const Signal& signal) {
  const char* container = format == FileFormat::Wma ? "asf" : "ipod";
  AVCodecID id = format == FileFormat::Wma ? AV_CODEC_ID_WMAV2 : AV_CODEC_ID_AAC;
  const AVCodec* codec = avcodec_find_encoder(id);
  if (!codec) return false;
  AVFormatContext* fmt = nullptr;
  if (avformat_alloc_output_context2(&fmt, nullptr, container, path.c_str()) < 0) return false;
  AVStream* st = avformat_new_stream(fmt, nullptr);
  AVCodecContext* enc = avcodec_alloc_context3(codec);
  enc->sample_rate = signal.rate;
  av_channel_layout_default(&enc->ch_layout, signal.channels);
  enc->sample_fmt = codec->sample_fmts[0];
  enc->bit_rate = 128000;
  enc->time_base = AVRational{1, signal.rate};
  if (fmt->oformat->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  bool ok = avcodec_open2(enc, codec, nullptr) >= 0 &&
            avcodec_parameters_from_context(st->codecpar, enc) >= 0 &&
            avio_open(&fmt->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0;
  st->time_base = enc->time_base;
  ok = ok && avformat_write_header(fmt, nullptr) >= 0;
  SwrContext* swr = nullptr;
  ok = ok && swr_alloc_set_opts2(&swr, &enc->ch_layout, enc->sample_fmt, signal.rate, &enc->ch_layout,
                                 AV_SAMPLE_FMT_FLT, signal.rate, 0, nullptr) >= 0 &&
       swr_init(swr) >= 0;
  AVFrame* frame = av_frame_alloc();
  AVPacket* packet = av_packet_alloc();
  auto drain = [&]() {
    while (avcodec_receive_packet(enc, packet) == 0) {
      av_packet_rescale_ts(packet, enc->time_base, st->time_base);
      packet->stream_index = st->index;
      av_interleaved_write_frame(fmt, packet);
    }
  };
  int frameSize = enc->frame_size > 0 ? enc->frame_size : 1024;
  for (size_t at = 0; ok && at < signal.frames(); at += frameSize) {
    // Encoders without small last frames get the end padded with silence.
    int n = static_cast<int>(std::min<size_t>(frameSize, signal.frames() - at));
    bool small = codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME;
    std::vector<float> padded;
    const float* src = signal.samples.data() + at * signal.channels;
    if (n < frameSize && !small) {
      padded.assign(static_cast<size_t>(frameSize) * signal.channels, 0.0f);
      std::copy(src, src + static_cast<size_t>(n) * signal.channels, padded.begin());
      src = padded.data();
      n = frameSize;
    }
    frame->nb_samples = n;
    frame->format = enc->sample_fmt;
    av_channel_layout_copy(&frame->ch_layout, &enc->ch_layout);
    frame->sample_rate = signal.rate;
    ok = av_frame_get_buffer(frame, 0) >= 0;
    const uint8_t* in = reinterpret_cast<const uint8_t*>(src);
    swr_convert(swr, frame->data, n, &in, n);
    frame->pts = static_cast<int64_t>(at);
    ok = ok && avcodec_send_frame(enc, frame) >= 0;
    av_frame_unref(frame);
    drain();
  }
  avcodec_send_frame(enc, nullptr);
  drain();
  if (ok) av_write_trailer(fmt);
  av_frame_free(&frame);
  av_packet_free(&packet);
  swr_free(&swr);
  avcodec_free_context(&enc);
  if (fmt->pb) avio_closep(&fmt->pb);
  avformat_free_context(fmt);
  return ok;
}

}  // namespace tarsk::audio::testing
