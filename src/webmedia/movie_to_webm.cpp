// Movies transcoded with FFmpeg's libraries to WebM: VP8 video and Opus audio.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/error.h"
#include "webmedia/web_media.h"

namespace webmedia {

namespace {

[[noreturn]] void Fail(const std::string& what) { throw platform::ConvertError("The movie cannot be converted: " + what); }

void Check(int rc, const char* what) {
  if (rc < 0) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(rc, text, sizeof text);
    Fail(std::string(what) + " (" + text + ")");
  }
}

// A file in the temporary folder that is deleted with this object.
struct TempFile {
  std::string path;
  explicit TempFile(const char* ext) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "lmcard-media-XXXXXX").string();
    int fd = mkstemp(tmpl.data());
    if (fd < 0) Fail("no temporary file");
    close(fd);
    std::filesystem::remove(tmpl);
    path = tmpl + ext;
  }
  ~TempFile() {
    std::error_code ec;
    std::filesystem::remove(path, ec);
  }
};

// One decoder-to-encoder path of a stream.
struct Lane {
  int input = -1;
  AVCodecContext* dec = nullptr;
  AVCodecContext* enc = nullptr;
  AVStream* out = nullptr;
  int64_t next = 0;  // the next frame's time in the encoder's time base
  ~Lane() {
    avcodec_free_context(&dec);
    avcodec_free_context(&enc);
  }
};

class Transcoder {
 public:
  Transcoder(const std::string& in, const std::string& outPath) {
    Check(avformat_open_input(&in_, in.c_str(), nullptr, nullptr), "the file is not a movie");
    Check(avformat_find_stream_info(in_, nullptr), "its streams cannot be read");
    Check(avformat_alloc_output_context2(&out_, nullptr, "webm", outPath.c_str()), "no WebM writer");
    video_.input = av_find_best_stream(in_, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    audio_.input = av_find_best_stream(in_, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (video_.input < 0 && audio_.input < 0) Fail("it has neither pictures nor sound");
    if (video_.input >= 0) OpenVideo();
    if (audio_.input >= 0) OpenAudio();
    Check(avio_open(&out_->pb, outPath.c_str(), AVIO_FLAG_WRITE), "the output cannot be written");
    Check(avformat_write_header(out_, nullptr), "the WebM header cannot be written");
  }
  ~Transcoder() {
    sws_freeContext(sws_);
    swr_free(&swr_);
    if (fifo_) av_audio_fifo_free(fifo_);
    av_frame_free(&frame_);
    av_frame_free(&scaled_);
    if (out_ && out_->pb) avio_closep(&out_->pb);
    avformat_free_context(out_);
    avformat_close_input(&in_);
  }

  void Run() {
    AVPacket* pkt = av_packet_alloc();
    while (av_read_frame(in_, pkt) >= 0) {
      if (pkt->stream_index == video_.input) Decode(video_, pkt);
      else if (pkt->stream_index == audio_.input) Decode(audio_, pkt);
      av_packet_unref(pkt);
    }
    av_packet_free(&pkt);
    if (video_.dec) Decode(video_, nullptr), Encode(video_, nullptr);
    if (audio_.dec) {
      Decode(audio_, nullptr);
      DrainFifo(true);
      Encode(audio_, nullptr);
    }
    Check(av_write_trailer(out_), "the WebM file cannot be finished");
  }

 private:
  AVCodecContext* OpenDecoder(Lane& lane) {
    AVStream* st = in_->streams[lane.input];
    const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
    if (!codec) Fail("no decoder for its " + std::string(avcodec_get_name(st->codecpar->codec_id)));
    lane.dec = avcodec_alloc_context3(codec);
    Check(avcodec_parameters_to_context(lane.dec, st->codecpar), "bad stream parameters");
    lane.dec->pkt_timebase = st->time_base;
    Check(avcodec_open2(lane.dec, codec, nullptr), "the decoder cannot be opened");
    return lane.dec;
  }

  void OpenEncoder(Lane& lane, const char* name) {
    const AVCodec* codec = avcodec_find_encoder_by_name(name);
    if (!codec) Fail(std::string("no ") + name + " encoder");
    lane.enc = avcodec_alloc_context3(codec);
    return;
  }

  void FinishEncoder(Lane& lane, AVDictionary** options) {
    if (out_->oformat->flags & AVFMT_GLOBALHEADER) lane.enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    Check(avcodec_open2(lane.enc, lane.enc->codec, options), "the encoder cannot be opened");
    av_dict_free(options);
    lane.out = avformat_new_stream(out_, nullptr);
    Check(avcodec_parameters_from_context(lane.out->codecpar, lane.enc), "bad encoder parameters");
    lane.out->time_base = lane.enc->time_base;
  }

  void OpenVideo() {
    AVCodecContext* dec = OpenDecoder(video_);
    OpenEncoder(video_, "libvpx");
    AVCodecContext* enc = video_.enc;
    AVRational rate = av_guess_frame_rate(in_, in_->streams[video_.input], nullptr);
    if (rate.num <= 0 || rate.den <= 0 || av_q2d(rate) > 120) rate = {25, 1};
    enc->width = (dec->width + 1) & ~1;
    enc->height = (dec->height + 1) & ~1;
    enc->pix_fmt = AV_PIX_FMT_YUV420P;
    enc->time_base = av_inv_q(rate);
    enc->framerate = rate;
    enc->sample_aspect_ratio = dec->sample_aspect_ratio;
    enc->bit_rate = std::min<int64_t>(2'000'000, std::max<int64_t>(300'000, int64_t(enc->width) * enc->height * 3));
    enc->gop_size = 120;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "deadline", "realtime", 0);
    av_dict_set(&options, "cpu-used", "8", 0);
    FinishEncoder(video_, &options);
    scaled_ = av_frame_alloc();
    scaled_->format = enc->pix_fmt;
    scaled_->width = enc->width;
    scaled_->height = enc->height;
    Check(av_frame_get_buffer(scaled_, 0), "out of memory");
  }

  void OpenAudio() {
    AVCodecContext* dec = OpenDecoder(audio_);
    OpenEncoder(audio_, "libopus");
    AVCodecContext* enc = audio_.enc;
    enc->sample_rate = 48000;
    enc->sample_fmt = AV_SAMPLE_FMT_S16;
    av_channel_layout_default(&enc->ch_layout, dec->ch_layout.nb_channels >= 2 ? 2 : 1);
    enc->bit_rate = 96000;
    enc->time_base = {1, 48000};
    AVDictionary* options = nullptr;
    FinishEncoder(audio_, &options);
    AVChannelLayout inLayout;
    if (dec->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) av_channel_layout_default(&inLayout, dec->ch_layout.nb_channels);
    else Check(av_channel_layout_copy(&inLayout, &dec->ch_layout), "bad channel layout");
    Check(swr_alloc_set_opts2(&swr_, &enc->ch_layout, enc->sample_fmt, enc->sample_rate, &inLayout, dec->sample_fmt,
                              dec->sample_rate, 0, nullptr), "no resampler");
    av_channel_layout_uninit(&inLayout);
    Check(swr_init(swr_), "the resampler cannot be started");
    fifo_ = av_audio_fifo_alloc(enc->sample_fmt, enc->ch_layout.nb_channels, 4096);
  }

  void Decode(Lane& lane, const AVPacket* pkt) {
    if (avcodec_send_packet(lane.dec, pkt) < 0 && pkt) return;  // a damaged packet is skipped
    if (!frame_) frame_ = av_frame_alloc();
    while (avcodec_receive_frame(lane.dec, frame_) >= 0) {
      if (&lane == &video_) Picture(frame_);
      else Sound(frame_);
      av_frame_unref(frame_);
    }
  }

  void Picture(AVFrame* frame) {
    AVCodecContext* enc = video_.enc;
    sws_ = sws_getCachedContext(sws_, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                enc->width, enc->height, enc->pix_fmt, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!sws_) Fail("the pictures cannot be scaled");
    Check(av_frame_make_writable(scaled_), "out of memory");
    sws_scale(sws_, frame->data, frame->linesize, 0, frame->height, scaled_->data, scaled_->linesize);
    int64_t pts = video_.next;
    if (frame->best_effort_timestamp != AV_NOPTS_VALUE) {
      AVStream* st = in_->streams[video_.input];
      int64_t start = st->start_time == AV_NOPTS_VALUE ? 0 : st->start_time;
      pts = std::max(video_.next, av_rescale_q(frame->best_effort_timestamp - start, st->time_base, enc->time_base));
    }
    scaled_->pts = pts;
    video_.next = pts + 1;
    Encode(video_, scaled_);
  }

  void Sound(AVFrame* frame) {
    AVCodecContext* enc = audio_.enc;
    int room = swr_get_out_samples(swr_, frame->nb_samples);
    uint8_t** data = nullptr;
    Check(av_samples_alloc_array_and_samples(&data, nullptr, enc->ch_layout.nb_channels, room, enc->sample_fmt, 0),
          "out of memory");
    int got = swr_convert(swr_, data, room, const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
    if (got > 0) av_audio_fifo_write(fifo_, reinterpret_cast<void**>(data), got);
    av_freep(&data[0]);
    av_freep(&data);
    DrainFifo(false);
  }

  void DrainFifo(bool all) {
    AVCodecContext* enc = audio_.enc;
    const int size = enc->frame_size > 0 ? enc->frame_size : 960;
    while (av_audio_fifo_size(fifo_) >= size || (all && av_audio_fifo_size(fifo_) > 0)) {
      AVFrame* f = av_frame_alloc();
      f->nb_samples = size;
      f->format = enc->sample_fmt;
      f->sample_rate = enc->sample_rate;
      av_channel_layout_copy(&f->ch_layout, &enc->ch_layout);
      Check(av_frame_get_buffer(f, 0), "out of memory");
      av_samples_set_silence(f->data, 0, size, enc->ch_layout.nb_channels, enc->sample_fmt);
      av_audio_fifo_read(fifo_, reinterpret_cast<void**>(f->data), size);
      f->pts = audio_.next;
      audio_.next += size;
      Encode(audio_, f);
      av_frame_free(&f);
    }
  }

  void Encode(Lane& lane, AVFrame* frame) {
    Check(avcodec_send_frame(lane.enc, frame), "the encoder refused a frame");
    AVPacket* pkt = av_packet_alloc();
    while (avcodec_receive_packet(lane.enc, pkt) >= 0) {
      av_packet_rescale_ts(pkt, lane.enc->time_base, lane.out->time_base);
      pkt->stream_index = lane.out->index;
      int rc = av_interleaved_write_frame(out_, pkt);
      if (rc < 0) {
        av_packet_free(&pkt);
        Check(rc, "the WebM file cannot be written");
      }
    }
    av_packet_free(&pkt);
  }

  AVFormatContext* in_ = nullptr;
  AVFormatContext* out_ = nullptr;
  Lane video_, audio_;
  SwsContext* sws_ = nullptr;
  SwrContext* swr_ = nullptr;
  AVAudioFifo* fifo_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVFrame* scaled_ = nullptr;
};

}  // namespace

std::vector<std::uint8_t> MovieToWebm(const std::vector<std::uint8_t>& movie) {
  av_log_set_level(AV_LOG_ERROR);
  TempFile in(".movie"), out(".webm");
  {
    std::ofstream f(in.path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(movie.data()), static_cast<std::streamsize>(movie.size()));
    if (!f) Fail("no room for a temporary file");
  }
  {
    Transcoder t(in.path, out.path);
    t.Run();
  }
  std::ifstream f(out.path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

}  // namespace webmedia
