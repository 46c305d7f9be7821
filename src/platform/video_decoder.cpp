#include "platform/video_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace kiv {

namespace {

constexpr int kIoBuffer = 65536;
// Packets read without a picture before the stream counts as ended: a damaged file
// stops instead of being read to its end for nothing.
constexpr int kMostEmptyPackets = 2000;
// A forward step shorter than this decodes on instead of seeking.
constexpr int64_t kForwardReach = 30;
// Seeking backwards: tries, each 20 frames before the last.
constexpr int kSeekTries = 21;
constexpr int64_t kSeekStep = 20;
// The largest picture side taken; larger is treated as damage.
constexpr int kMostSide = 8192;

bool Near(double value, double target) { return std::fabs(value - target) < 0.001; }

// Snaps a rate near 23.976 or 29.97 to its exact fraction; false when it is neither.
bool SnapNtsc(int num, int den, int& outNum, int& outDen) {
  if (num <= 0 || den <= 0) return false;
  const double rate = double(num) / double(den);
  if (Near(rate, 24000.0 / 1001)) {
    outNum = 24000, outDen = 1001;
    return true;
  }
  if (Near(rate, 30000.0 / 1001)) {
    outNum = 30000, outDen = 1001;
    return true;
  }
  return false;
}

bool IsStillPictureFormat(const char* name) {
  const std::string text = name ? name : "";
  return text.find("_pipe") != std::string::npos || text == "image2" || text == "gif" || text == "apng" ||
         text == "webp";
}

// A media file may name others (playlists, references); none is opened.
int RefuseOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) { return AVERROR(EPERM); }

int ReadPacket(void* opaque, uint8_t* buffer, int size) {
  auto& reader = *static_cast<TVideoReader*>(opaque);
  const int64_t got = reader.Read ? reader.Read(buffer, size) : -1;
  if (got < 0) return AVERROR(EIO);
  return got == 0 ? AVERROR_EOF : int(std::min<int64_t>(got, size));
}

int64_t SeekReader(void* opaque, int64_t offset, int whence) {
  auto& reader = *static_cast<TVideoReader*>(opaque);
  const int64_t size = reader.Size ? reader.Size() : -1;
  if (whence & AVSEEK_SIZE) return size >= 0 ? size : -1;
  whence &= ~AVSEEK_FORCE;
  // The library tracks the position itself and asks only from the start or the end.
  int64_t target = -1;
  if (whence == SEEK_SET) target = offset;
  else if (whence == SEEK_END && size >= 0) target = size + offset;
  if (target < 0 || !reader.Seek || !reader.Seek(target)) return -1;
  return target;
}

}  // namespace

TContainerFamily ContainerFamilyOf(const std::string& formatName) {
  if (formatName == "avi") return TContainerFamily::Avi;
  if (formatName == "matroska,webm") return TContainerFamily::Matroska;
  if (formatName == "mov,mp4,m4a,3gp,3g2,mj2") return TContainerFamily::Mp4;
  if (formatName == "mpeg" || formatName == "mpegvideo") return TContainerFamily::MpegProgram;
  if (formatName == "flv") return TContainerFamily::Flv;
  if (formatName == "mpegts") return TContainerFamily::MpegTs;
  if (formatName == "asf") return TContainerFamily::Asf;
  return TContainerFamily::Other;
}

std::string CodecLabelOf(const std::string& decoderName, uint32_t fourCC) {
  if (decoderName == "mpeg2video") return "MPEG2";
  if (decoderName == "h264") return "H264";
  if (decoderName == "mpeg4") {
    char tag[4];
    for (int i = 0; i < 4; ++i) tag[i] = char(std::toupper(int((fourCC >> (8 * i)) & 0xFF)));
    return std::memcmp(tag, "XVID", 4) == 0 ? "XVID" : "MPEG4";
  }
  return "OTHER";
}

void ChooseFrameRate(int nominalNum, int nominalDen, int averageNum, int averageDen, int& num, int& den) {
  if (SnapNtsc(nominalNum, nominalDen, num, den) || SnapNtsc(averageNum, averageDen, num, den)) return;
  if (nominalNum > 0 && nominalDen > 0) {
    num = nominalNum, den = nominalDen;
  } else if (averageNum > 0 && averageDen > 0) {
    num = averageNum, den = averageDen;
  } else {
    num = 25, den = 1;
  }
}

int64_t FrameCountOf(int64_t durationUs, int num, int den) {
  if (durationUs <= 0 || num <= 0 || den <= 0) return 0;
  return int64_t(std::llround(double(durationUs) / 1e6 * double(num) / double(den)));
}

double TVideoInfo::PixelAspect() const {
  if (Width <= 0 || Height <= 0) return 1;
  if (AspectCode == 1) return Height * 1.333333 / Width;
  if (AspectCode == 2) return Height * 1.777778 / Width;
  return 1;
}

struct TVideoDecoder::TState {
  TVideoReader Reader;
  AVIOContext* Io = nullptr;
  AVFormatContext* Format = nullptr;
  AVCodecContext* Codec = nullptr;
  AVPacket* Packet = nullptr;
  AVFrame* Work = nullptr;   // being decoded
  AVFrame* Shown = nullptr;  // the picture in the planes when no conversion is needed
  SwsContext* Scaler = nullptr;
  std::array<uint8_t*, 4> Converted{};
  std::array<int, 4> ConvertedPitch{};
  int Stream = -1;
  TVideoInfo Info;
  TYuvPlanes Planes;
  int64_t Index = -1;
  int64_t StartTs = AV_NOPTS_VALUE;  // the stream's first timestamp
  bool Draining = false;
  bool Ended = false;
  int64_t Decoded = 0;

  ~TState() {
    sws_freeContext(Scaler);
    av_freep(&Converted[0]);
    av_frame_free(&Shown);
    av_frame_free(&Work);
    av_packet_free(&Packet);
    avcodec_free_context(&Codec);
    avformat_close_input(&Format);
    if (Io) av_freep(&Io->buffer);
    avio_context_free(&Io);
  }

  bool Open(const char* path, std::string& error) {
    static const bool quiet = (av_log_set_level(AV_LOG_QUIET), true);
    (void)quiet;
    Format = avformat_alloc_context();
    if (!Format) return (error = "out of memory", false);
    if (!path) {
      Format->io_open = RefuseOpen;
      auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBuffer));
      if (!buffer) return (error = "out of memory", false);
      Io = avio_alloc_context(buffer, kIoBuffer, 0, &Reader, ReadPacket, nullptr, Reader.Seek ? SeekReader : nullptr);
      if (!Io) {
        av_free(buffer);
        return (error = "out of memory", false);
      }
      Format->pb = Io;
      Format->flags |= AVFMT_FLAG_CUSTOM_IO;
    }
    if (avformat_open_input(&Format, path, nullptr, nullptr) < 0)  // frees Format on failure
      return (error = "not a media file", false);
    Format->io_open = RefuseOpen;
    if (IsStillPictureFormat(Format->iformat ? Format->iformat->name : nullptr))
      return (error = "a picture, not a video", false);
    if (avformat_find_stream_info(Format, nullptr) < 0) return (error = "the streams cannot be read", false);
    Stream = av_find_best_stream(Format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (Stream < 0) return (error = "no video stream", false);
    AVStream* stream = Format->streams[Stream];
    const AVCodecParameters* parameters = stream->codecpar;
    if (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) return (error = "only a cover picture", false);
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    if (!codec) return (error = "no decoder for the video", false);
    if (parameters->width <= 0 || parameters->height <= 0 || parameters->width > kMostSide ||
        parameters->height > kMostSide)
      return (error = "the picture size is unusable", false);
    Codec = avcodec_alloc_context3(codec);
    if (!Codec || avcodec_parameters_to_context(Codec, parameters) < 0) return (error = "out of memory", false);
    Codec->thread_count = 0;  // as many as the machine has
    if (avcodec_open2(Codec, codec, nullptr) < 0) return (error = "the decoder does not open", false);
    for (unsigned i = 0; i < Format->nb_streams; ++i) {
      if (int(i) != Stream) Format->streams[i]->discard = AVDISCARD_ALL;
      if (Format->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) ++Info.AudioStreams;
    }
    Packet = av_packet_alloc();
    Work = av_frame_alloc();
    Shown = av_frame_alloc();
    if (!Packet || !Work || !Shown) return (error = "out of memory", false);
    StartTs = stream->start_time;

    Info.Width = parameters->width;
    Info.Height = parameters->height;
    Info.Decoder = codec->name;
    Info.Codec = CodecLabelOf(Info.Decoder, parameters->codec_tag);
    Info.Format = Format->iformat->name;
    Info.Family = ContainerFamilyOf(Info.Format);
    ChooseFrameRate(stream->r_frame_rate.num, stream->r_frame_rate.den, stream->avg_frame_rate.num,
                    stream->avg_frame_rate.den, Info.RateNum, Info.RateDen);
    if (stream->duration > 0 && stream->time_base.num > 0)
      Info.DurationUs = av_rescale_q(stream->duration, stream->time_base, AVRational{1, 1000000});
    else if (Format->duration > 0)
      Info.DurationUs = Format->duration;
    Info.FrameCount = FrameCountOf(Info.DurationUs, Info.RateNum, Info.RateDen);
    const AVRational sar = av_guess_sample_aspect_ratio(Format, stream, nullptr);
    if (sar.num > 0 && sar.den > 0 && sar.num != sar.den) {
      const double shape = double(Info.Width) * av_q2d(sar) / double(Info.Height);
      if (std::fabs(shape - 4.0 / 3) < 0.05) Info.AspectCode = 1;
      else if (std::fabs(shape - 16.0 / 9) < 0.05) Info.AspectCode = 2;
    }
    Info.Interlaced = parameters->field_order != AV_FIELD_PROGRESSIVE && parameters->field_order != AV_FIELD_UNKNOWN;
    Info.TopFieldFirst = parameters->field_order == AV_FIELD_TT || parameters->field_order == AV_FIELD_TB;
    // A video is one whose first picture decodes.
    if (!DecodeNext()) return (error = "no picture could be decoded", false);
    if (Work->interlaced_frame) {
      Info.Interlaced = true;
      Info.TopFieldFirst = Work->top_field_first != 0;
    }
    if (!Show()) return (error = "the picture cannot be converted", false);
    return true;
  }

  // The frame number of the picture in Work.
  int64_t IndexOf(const AVFrame& frame) const {
    const int64_t pts = frame.best_effort_timestamp;
    if (pts == AV_NOPTS_VALUE) return Index + 1;
    const AVStream* stream = Format->streams[Stream];
    const int64_t from = pts - (StartTs != AV_NOPTS_VALUE ? StartTs : 0);
    const double seconds = double(from) * av_q2d(stream->time_base);
    return int64_t(std::llround(seconds * Info.Rate()));
  }

  // The next picture into Work; false at the end (or where damage ends the stream).
  bool DecodeNext() {
    if (Ended) return false;
    int emptyPackets = 0;
    for (;;) {
      const int received = avcodec_receive_frame(Codec, Work);
      if (received >= 0) {
        if (Work->width > 0 && Work->height > 0 && Work->data[0]) {
          ++Decoded;
          return true;
        }
        av_frame_unref(Work);
        continue;
      }
      if (received == AVERROR_EOF || (received != AVERROR(EAGAIN) && Draining)) {
        Ended = true;
        return false;
      }
      // Damage in one picture is skipped; the decoder goes on with the next packet.
      if (Draining) continue;
      if (++emptyPackets > kMostEmptyPackets) {
        Ended = true;
        return false;
      }
      int read;
      while ((read = av_read_frame(Format, Packet)) >= 0 && Packet->stream_index != Stream) av_packet_unref(Packet);
      if (read < 0) {
        Draining = true;
        avcodec_send_packet(Codec, nullptr);
        continue;
      }
      avcodec_send_packet(Codec, Packet);  // a damaged packet is dropped
      av_packet_unref(Packet);
    }
  }

  // Work becomes the picture in the planes; false (the planes unchanged) when it cannot be
  // turned into 4:2:0.
  bool Show() {
    const int width = Work->width, height = Work->height;
    if (width > kMostSide || height > kMostSide) return false;
    const int64_t index = IndexOf(*Work);
    if (Work->format == AV_PIX_FMT_YUV420P) {
      av_frame_unref(Shown);
      av_frame_move_ref(Shown, Work);
      for (int p = 0; p < 3; ++p) {
        Planes.Plane[p] = Shown->data[p];
        Planes.Pitch[p] = Shown->linesize[p];
      }
    } else {
      if (Planes.Width != width || Planes.Height != height || !Converted[0]) {
        av_freep(&Converted[0]);
        if (av_image_alloc(Converted.data(), ConvertedPitch.data(), width, height, AV_PIX_FMT_YUV420P, 32) < 0)
          return false;
      }
      Scaler = sws_getCachedContext(Scaler, width, height, AVPixelFormat(Work->format), width, height,
                                    AV_PIX_FMT_YUV420P, SWS_POINT, nullptr, nullptr, nullptr);
      if (!Scaler) return false;
      sws_scale(Scaler, Work->data, Work->linesize, 0, height, Converted.data(), ConvertedPitch.data());
      av_frame_unref(Work);
      for (int p = 0; p < 3; ++p) {
        Planes.Plane[p] = Converted[size_t(p)];
        Planes.Pitch[p] = ConvertedPitch[size_t(p)];
      }
    }
    Planes.Width = width;
    Planes.Height = height;
    Index = index;
    return true;
  }

  // Decodes on until the picture's number reaches target (or the stream ends).
  void DecodeUpTo(int64_t target) {
    while (Index < target && DecodeNext()) {
      // An overshoot past target still shows: it is the nearest picture the file has.
      Show();
    }
  }

  void SeekTo(int64_t frame) {
    const AVStream* stream = Format->streams[Stream];
    const int64_t start = StartTs != AV_NOPTS_VALUE ? StartTs : 0;
    const int64_t timestamp = start + av_rescale_q(frame, AVRational{Info.RateDen, Info.RateNum}, stream->time_base);
    if (frame <= 0 || av_seek_frame(Format, Stream, timestamp, AVSEEK_FLAG_BACKWARD) < 0) {
      if (av_seek_frame(Format, Stream, start, AVSEEK_FLAG_BACKWARD) < 0) av_seek_frame(Format, -1, 0, AVSEEK_FLAG_BYTE);
    }
    avcodec_flush_buffers(Codec);
    Draining = false;
    Ended = false;
  }

  void Seek(int64_t target) {
    int64_t from = target;
    for (int attempt = 0; attempt < kSeekTries; ++attempt) {
      SeekTo(from);
      const int64_t before = Index;
      // Without timestamps, frames count from the first.
      Index = -1;
      if (!DecodeNext()) {
        Index = before;
        if (from == 0) return;
      } else {
        Show();
        if (Index <= target || from == 0) break;
      }
      from = std::max<int64_t>(0, from - kSeekStep);
    }
    DecodeUpTo(target);
  }

  bool Decode(int64_t target) {
    target = std::max<int64_t>(0, target);
    if (Index < 0) return false;
    if (target == Index) return true;
    if (target > Index && target - Index < kForwardReach) {
      DecodeUpTo(target);
      return true;
    }
    if (target > Index && Ended) return true;
    Seek(target);
    return true;
  }
};

TVideoDecoder::TVideoDecoder(std::unique_ptr<TState> state) : F(std::move(state)) {}
TVideoDecoder::~TVideoDecoder() = default;

std::unique_ptr<TVideoDecoder> TVideoDecoder::OpenFile(const std::string& path, std::string& error) {
  auto state = std::make_unique<TState>();
  // Always the file protocol: a name like "concat:…" or "http:…" is a file name here.
  const std::string file = "file:" + path;
  if (!state->Open(file.c_str(), error)) return nullptr;
  return std::unique_ptr<TVideoDecoder>(new TVideoDecoder(std::move(state)));
}

std::unique_ptr<TVideoDecoder> TVideoDecoder::OpenReader(TVideoReader reader, std::string& error) {
  auto state = std::make_unique<TState>();
  state->Reader = std::move(reader);
  if (!state->Open(nullptr, error)) return nullptr;
  return std::unique_ptr<TVideoDecoder>(new TVideoDecoder(std::move(state)));
}

const TVideoInfo& TVideoDecoder::Info() const { return F->Info; }
bool TVideoDecoder::DecodeFrame(int64_t index) { return F->Decode(index); }
int64_t TVideoDecoder::FrameIndex() const { return F->Index; }
const TYuvPlanes& TVideoDecoder::Planes() const { return F->Planes; }
int64_t TVideoDecoder::PicturesDecoded() const { return F->Decoded; }

}  // namespace kiv
