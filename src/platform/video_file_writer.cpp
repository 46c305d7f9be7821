#include "platform/video_file_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

#include "platform/audio_output.h"

namespace kiv {

namespace {

struct TContainer {
  std::string_view Extension;
  const char* Muxer;
  bool FastStart;  // the index moved to the front once written, for playing while loading
};

constexpr std::array<TContainer, 4> kContainers = {{
    {".mp4", "mp4", true},
    {".m4v", "mp4", true},
    {".mov", "mov", true},
    {".mkv", "matroska", false},
}};

// Sound bit rate of the lossy sound encoders.
constexpr int64_t kSoundBitRate = 192000;
// The quantiser of MPEG-4 part 2 (2 is near transparent, 31 worst).
constexpr int kMpeg4Quantiser = 3;

const TContainer* ContainerOf(std::string_view path) {
  for (const TContainer& container : kContainers) {
    if (path.size() < container.Extension.size()) continue;
    const std::string_view tail = path.substr(path.size() - container.Extension.size());
    const bool same = std::equal(tail.begin(), tail.end(), container.Extension.begin(), [](char a, char b) {
      return (a >= 'A' && a <= 'Z' ? char(a - 'A' + 'a') : a) == b;
    });
    if (same) return &container;
  }
  return nullptr;
}

std::string AvError(int code) {
  std::array<char, AV_ERROR_MAX_STRING_SIZE> text{};
  av_strerror(code, text.data(), text.size());
  return text.data();
}

// The name people know the encoder's format by.
std::string CodecName(const AVCodec& codec) {
  switch (codec.id) {
    case AV_CODEC_ID_H264: return "H.264";
    case AV_CODEC_ID_MPEG4: return "MPEG-4 part 2";
    case AV_CODEC_ID_AAC: return "AAC";
    case AV_CODEC_ID_MP2: return "MPEG audio layer 2";
    default: {
      const AVCodecDescriptor* descriptor = avcodec_descriptor_get(codec.id);
      return descriptor && descriptor->long_name ? descriptor->long_name : codec.name;
    }
  }
}

// What the first encoder of a list would be called, found or not.
std::string WantedName(const std::vector<std::string>& encoders) {
  if (encoders.empty()) return "";
  const AVCodec* codec = avcodec_find_encoder_by_name(encoders.front().c_str());
  return codec ? CodecName(*codec) : encoders.front();
}

template <typename T, typename F>
bool Lists(const T* list, T end, F same) {
  if (!list) return true;  // the encoder takes any
  for (; *list != end; ++list)
    if (same(*list)) return true;
  return false;
}

struct TCodecContextFree {
  void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
using TCodecContextPtr = std::unique_ptr<AVCodecContext, TCodecContextFree>;

struct TFrameFree {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using TFramePtr = std::unique_ptr<AVFrame, TFrameFree>;

struct TPacketFree {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

AVPixelFormat SourceFormat(TPixelLayout layout) {
  switch (layout) {
    case TPixelLayout::Bgr24: return AV_PIX_FMT_BGR24;
    case TPixelLayout::Bgra32: return AV_PIX_FMT_BGRA;
    case TPixelLayout::Rgba32: return AV_PIX_FMT_RGBA;
  }
  return AV_PIX_FMT_NONE;
}

}  // namespace

struct TVideoFileWriter::TState {
  TVideoFileSettings Settings;
  const TContainer* Container = nullptr;
  AVFormatContext* Format = nullptr;
  TCodecContextPtr Video, Sound;
  AVStream* VideoStream = nullptr;
  AVStream* SoundStream = nullptr;
  TVideoFileCodec VideoCodec, SoundCodec;
  SwsContext* Scaler = nullptr;
  AVPixelFormat ScalerSource = AV_PIX_FMT_NONE;
  SwrContext* Resampler = nullptr;
  TFramePtr Picture;
  std::unique_ptr<AVPacket, TPacketFree> Packet{av_packet_alloc()};
  std::vector<int16_t> PendingSound;  // interleaved, less than one sound frame
  int SoundFrameSize = 0;             // sound frames per encoded frame
  int64_t Pictures = 0;
  int64_t SoundFrames = 0;
  bool HeaderWritten = false;
  bool Finished = false;
  std::string Error;

  ~TState() {
    sws_freeContext(Scaler);
    swr_free(&Resampler);
    Video.reset();
    Sound.reset();
    if (Format) {
      if (Format->pb && !(Format->oformat->flags & AVFMT_NOFILE)) avio_closep(&Format->pb);
      avformat_free_context(Format);
    }
  }

  bool Fail(std::string error) {
    Error = std::move(error);
    return false;
  }

  // Hands the encoder's finished packets to the container.
  bool Drain(AVCodecContext& encoder, AVStream& stream) {
    while (true) {
      const int got = avcodec_receive_packet(&encoder, Packet.get());
      if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return true;
      if (got < 0) return Fail("the " + std::string(encoder.codec->name) + " encoder failed: " + AvError(got));
      av_packet_rescale_ts(Packet.get(), encoder.time_base, stream.time_base);
      Packet->stream_index = stream.index;
      const int written = av_interleaved_write_frame(Format, Packet.get());
      if (written < 0) return Fail("writing " + Settings.Path + " failed: " + AvError(written));
    }
  }

  bool Encode(AVCodecContext& encoder, AVStream& stream, const AVFrame* frame) {
    const int sent = avcodec_send_frame(&encoder, frame);
    if (sent < 0 && sent != AVERROR_EOF)
      return Fail("the " + std::string(encoder.codec->name) + " encoder refused a frame: " + AvError(sent));
    return Drain(encoder, stream);
  }

  void OpenVideo(const AVOutputFormat& muxer, std::string& reasons);
  void OpenSound(const AVOutputFormat& muxer, std::string& reasons);
  bool EncodeSound(const int16_t* samples, int frameCount);
};

namespace {

// The first encoder of names that the container carries and that opens with setUp
// (which fills the context and the options); the reasons others failed go to reasons.
template <typename TSetUp>
TCodecContextPtr OpenFirst(const std::vector<std::string>& names, const AVOutputFormat& muxer, TVideoFileCodec& chosen,
                           std::string& reasons, TSetUp setUp) {
  for (size_t i = 0; i < names.size(); ++i) {
    const AVCodec* codec = avcodec_find_encoder_by_name(names[i].c_str());
    if (!codec) {
      reasons += "; no " + names[i] + " encoder";
      continue;
    }
    if (avformat_query_codec(&muxer, codec->id, FF_COMPLIANCE_NORMAL) != 1) {
      reasons += "; the " + std::string(muxer.name) + " container does not carry " + CodecName(*codec);
      continue;
    }
    TCodecContextPtr context(avcodec_alloc_context3(codec));
    AVDictionary* options = nullptr;
    if (!context || !setUp(*codec, *context, options)) {
      av_dict_free(&options);
      reasons += "; " + names[i] + " does not take these pictures or this sound";
      continue;
    }
    if (muxer.flags & AVFMT_GLOBALHEADER) context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const int opened = avcodec_open2(context.get(), codec, &options);
    av_dict_free(&options);
    if (opened < 0) {
      reasons += "; " + names[i] + " does not open: " + AvError(opened);
      continue;
    }
    chosen = {CodecName(*codec), codec->name, i > 0, WantedName(names)};
    return context;
  }
  return nullptr;
}

}  // namespace

void TVideoFileWriter::TState::OpenVideo(const AVOutputFormat& muxer, std::string& reasons) {
  const TVideoFileSettings& s = Settings;
  Video = OpenFirst(s.VideoEncoders, muxer, VideoCodec, reasons,
                    [&s](const AVCodec& codec, AVCodecContext& context, AVDictionary*& options) {
                      if (!Lists(codec.pix_fmts, AV_PIX_FMT_NONE, [](AVPixelFormat f) { return f == AV_PIX_FMT_YUV420P; }))
                        return false;
                      context.width = s.Width;
                      context.height = s.Height;
                      context.pix_fmt = AV_PIX_FMT_YUV420P;
                      context.time_base = {s.RateDenominator, s.RateNumerator};
                      context.framerate = {s.RateNumerator, s.RateDenominator};
                      context.color_range = AVCOL_RANGE_MPEG;
                      context.colorspace = AVCOL_SPC_BT709;
                      context.color_primaries = AVCOL_PRI_BT709;
                      context.color_trc = AVCOL_TRC_BT709;
                      if (std::string_view(codec.name) == "libx264") {
                        av_dict_set(&options, "preset", kH264Preset, 0);
                        av_dict_set_int(&options, "crf", kH264Quality, 0);
                      } else if (codec.id == AV_CODEC_ID_MPEG4) {
                        context.flags |= AV_CODEC_FLAG_QSCALE;
                        context.global_quality = FF_QP2LAMBDA * kMpeg4Quantiser;
                        context.gop_size = 25;
                      } else {
                        context.bit_rate = int64_t(s.Width) * s.Height * 4;  // about 3.7 Mbit/s at 1280 × 720
                      }
                      return true;
                    });
}

void TVideoFileWriter::TState::OpenSound(const AVOutputFormat& muxer, std::string& reasons) {
  Sound = OpenFirst(Settings.SoundEncoders, muxer, SoundCodec, reasons,
                    [](const AVCodec& codec, AVCodecContext& context, AVDictionary*&) {
                      if (!Lists(codec.supported_samplerates, 0, [](int rate) { return rate == int(kOutputRate); }))
                        return false;
                      if (!codec.sample_fmts) return false;
                      // Our own samples when the encoder takes them, else its first choice.
                      context.sample_fmt = codec.sample_fmts[0];
                      for (const AVSampleFormat* f = codec.sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f)
                        if (*f == AV_SAMPLE_FMT_S16) context.sample_fmt = AV_SAMPLE_FMT_S16;
                      context.sample_rate = int(kOutputRate);
                      av_channel_layout_default(&context.ch_layout, int(kOutputChannels));
                      context.time_base = {1, int(kOutputRate)};
                      context.bit_rate = kSoundBitRate;
                      return true;
                    });
}

std::vector<std::string> VideoFileExtensions() {
  std::vector<std::string> extensions;
  for (const TContainer& container : kContainers) extensions.emplace_back(container.Extension);
  return extensions;
}

bool IsVideoFileName(std::string_view path) { return ContainerOf(path) != nullptr; }

std::unique_ptr<TVideoFileWriter> TVideoFileWriter::Open(const TVideoFileSettings& settings, std::string& error) {
  // The library's own chatter (encoder statistics) stays off the terminal; failures come
  // back as codes and are told in our words.
  static const bool quiet = (av_log_set_level(AV_LOG_QUIET), true);
  (void)quiet;
  auto state = std::make_unique<TState>();
  state->Settings = settings;
  const std::string& path = settings.Path;
  state->Container = ContainerOf(path);
  if (!state->Container) {
    error = path + ": unknown extension; name a video file ending in";
    for (const std::string& extension : VideoFileExtensions()) error += " " + extension;
    return nullptr;
  }
  if (settings.Width <= 0 || settings.Height <= 0 || settings.Width % 2 || settings.Height % 2 ||
      settings.RateNumerator <= 0 || settings.RateDenominator <= 0) {
    error = "a video needs even sides and a frame rate above 0";
    return nullptr;
  }
  const int made = avformat_alloc_output_context2(&state->Format, nullptr, state->Container->Muxer, path.c_str());
  if (made < 0 || !state->Format) {
    error = "this FFmpeg has no " + std::string(state->Container->Muxer) + " container: " + AvError(made);
    return nullptr;
  }
  const AVOutputFormat& muxer = *state->Format->oformat;

  std::string reasons;
  state->OpenVideo(muxer, reasons);
  if (!state->Video) {
    error = "no video encoder for " + path + reasons;
    return nullptr;
  }
  if (settings.Sound) {
    state->OpenSound(muxer, reasons);
    if (!state->Sound) {
      error = "no sound encoder for " + path + reasons;
      return nullptr;
    }
  }

  state->VideoStream = avformat_new_stream(state->Format, nullptr);
  if (!state->VideoStream) return error = "out of memory", nullptr;
  avcodec_parameters_from_context(state->VideoStream->codecpar, state->Video.get());
  state->VideoStream->time_base = state->Video->time_base;
  state->VideoStream->avg_frame_rate = state->Video->framerate;
  if (state->Sound) {
    state->SoundStream = avformat_new_stream(state->Format, nullptr);
    if (!state->SoundStream) return error = "out of memory", nullptr;
    avcodec_parameters_from_context(state->SoundStream->codecpar, state->Sound.get());
    state->SoundStream->time_base = state->Sound->time_base;
    const bool fixedFrames = !(state->Sound->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
    state->SoundFrameSize = fixedFrames && state->Sound->frame_size > 0 ? state->Sound->frame_size : 1024;
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    if (swr_alloc_set_opts2(&state->Resampler, &state->Sound->ch_layout, state->Sound->sample_fmt, int(kOutputRate),
                            &stereo, AV_SAMPLE_FMT_S16, int(kOutputRate), 0, nullptr) < 0 ||
        swr_init(state->Resampler) < 0)
      return error = "the sound cannot be converted for " + state->SoundCodec.Encoder, nullptr;
  }

  state->Picture.reset(av_frame_alloc());
  state->Picture->format = AV_PIX_FMT_YUV420P;
  state->Picture->width = settings.Width;
  state->Picture->height = settings.Height;
  if (av_frame_get_buffer(state->Picture.get(), 0) < 0) return error = "out of memory", nullptr;

  if (!(muxer.flags & AVFMT_NOFILE)) {
    const int opened = avio_open(&state->Format->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (opened < 0) {
      error = "cannot write " + path + ": " + AvError(opened);
      return nullptr;
    }
  }
  AVDictionary* options = nullptr;
  if (state->Container->FastStart) av_dict_set(&options, "movflags", "+faststart", 0);
  const int header = avformat_write_header(state->Format, &options);
  av_dict_free(&options);
  if (header < 0) {
    error = "cannot write " + path + ": " + AvError(header);
    state.reset();
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::path(path), ignored);
    return nullptr;
  }
  state->HeaderWritten = true;
  return std::unique_ptr<TVideoFileWriter>(new TVideoFileWriter(std::move(state)));
}

TVideoFileWriter::TVideoFileWriter(std::unique_ptr<TState> state) : F(std::move(state)) {}

TVideoFileWriter::~TVideoFileWriter() {
  if (!F->Finished) Finish();
}

bool TVideoFileWriter::WritePicture(const uint8_t* pixels, ptrdiff_t stride, TPixelLayout layout) {
  if (F->Finished) return F->Fail("the file is already complete");
  const TVideoFileSettings& s = F->Settings;
  const AVPixelFormat source = SourceFormat(layout);
  if (!F->Scaler || F->ScalerSource != source) {
    sws_freeContext(F->Scaler);
    F->Scaler = sws_getContext(s.Width, s.Height, source, s.Width, s.Height, AV_PIX_FMT_YUV420P,
                               SWS_BILINEAR | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    if (!F->Scaler) return F->Fail("the pictures cannot be converted for the encoder");
    F->ScalerSource = source;
    // Full-range RGB in, BT.709 video range out, as the stream is labelled.
    const int* rgb = sws_getCoefficients(SWS_CS_DEFAULT);
    sws_setColorspaceDetails(F->Scaler, rgb, 1, sws_getCoefficients(SWS_CS_ITU709), 0, 0, 1 << 16, 1 << 16);
  }
  // The encoder may still hold the previous picture.
  if (av_frame_make_writable(F->Picture.get()) < 0) return F->Fail("out of memory");
  const uint8_t* planes[1] = {pixels};
  const int strides[1] = {int(stride)};
  sws_scale(F->Scaler, planes, strides, 0, s.Height, F->Picture->data, F->Picture->linesize);
  F->Picture->pts = F->Pictures;
  if (!F->Encode(*F->Video, *F->VideoStream, F->Picture.get())) return false;
  ++F->Pictures;
  return true;
}

bool TVideoFileWriter::TState::EncodeSound(const int16_t* samples, int frameCount) {
  TFramePtr frame(av_frame_alloc());
  frame->nb_samples = frameCount;
  frame->format = Sound->sample_fmt;
  frame->sample_rate = Sound->sample_rate;
  if (av_channel_layout_copy(&frame->ch_layout, &Sound->ch_layout) < 0 || av_frame_get_buffer(frame.get(), 0) < 0)
    return Fail("out of memory");
  const uint8_t* in[1] = {reinterpret_cast<const uint8_t*>(samples)};
  if (swr_convert(Resampler, frame->data, frameCount, in, frameCount) != frameCount)
    return Fail("the sound could not be converted for " + SoundCodec.Encoder);
  frame->pts = SoundFrames;
  SoundFrames += frameCount;
  return Encode(*Sound, *SoundStream, frame.get());
}

bool TVideoFileWriter::WriteSound(const int16_t* frames, size_t frameCount) {
  if (F->Finished) return F->Fail("the file is already complete");
  if (!F->Sound) return true;
  std::vector<int16_t>& pending = F->PendingSound;
  pending.insert(pending.end(), frames, frames + frameCount * kOutputChannels);
  const size_t chunk = size_t(F->SoundFrameSize) * kOutputChannels;
  size_t used = 0;
  for (; pending.size() - used >= chunk; used += chunk)
    if (!F->EncodeSound(pending.data() + used, F->SoundFrameSize)) return false;
  pending.erase(pending.begin(), pending.begin() + ptrdiff_t(used));
  return true;
}

bool TVideoFileWriter::Finish() {
  if (F->Finished) return F->Fail("the file is already complete");
  F->Finished = true;
  bool ok = true;
  // The last, shorter piece of sound, then the frames the encoders still hold.
  if (F->Sound && !F->PendingSound.empty())
    ok = F->EncodeSound(F->PendingSound.data(), int(F->PendingSound.size() / kOutputChannels)) && ok;
  ok = F->Encode(*F->Video, *F->VideoStream, nullptr) && ok;
  if (F->Sound) ok = F->Encode(*F->Sound, *F->SoundStream, nullptr) && ok;
  const int trailer = av_write_trailer(F->Format);
  if (trailer < 0) ok = F->Fail("completing " + F->Settings.Path + " failed: " + AvError(trailer));
  if (!(F->Format->oformat->flags & AVFMT_NOFILE)) {
    const int closed = avio_closep(&F->Format->pb);
    if (closed < 0) ok = F->Fail("closing " + F->Settings.Path + " failed: " + AvError(closed));
  }
  return ok;
}

const TVideoFileCodec& TVideoFileWriter::VideoCodec() const { return F->VideoCodec; }
const TVideoFileCodec& TVideoFileWriter::SoundCodec() const { return F->SoundCodec; }
int64_t TVideoFileWriter::PicturesWritten() const { return F->Pictures; }
const std::string& TVideoFileWriter::Error() const { return F->Error; }

}  // namespace kiv
