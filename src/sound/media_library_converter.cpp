#include "sound/media_library_converter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "base/log.h"
#include "sound/sound_streams.h"

namespace kiv {
namespace {

constexpr int kIoBuffer = 65536;
// Packets read without a decoded frame before the stream counts as ended.
constexpr int kMostEmptyPackets = 10000;

int ReadPacket(void* source, uint8_t* buffer, int size) {
  const int64_t got = LibraryRead(*static_cast<TStream*>(source), buffer, size);
  if (got < 0) return AVERROR(EIO);
  return got == 0 ? AVERROR_EOF : int(got);
}

int64_t SeekStream(void* source, int64_t offset, int whence) {
  TStream& stream = *static_cast<TStream*>(source);
  if (whence & AVSEEK_SIZE) {
    try {
      return stream.GetSize();
    } catch (const EKivError&) {
      return -1;
    }
  }
  return LibrarySeek(stream, offset, whence & ~AVSEEK_FORCE);
}

// A media file may name others (playlists, references); none is opened.
int RefuseOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) { return AVERROR(EPERM); }

bool IsWma(AVCodecID codec) {
  return codec == AV_CODEC_ID_WMAV1 || codec == AV_CODEC_ID_WMAV2 || codec == AV_CODEC_ID_WMAPRO ||
         codec == AV_CODEC_ID_WMALOSSLESS || codec == AV_CODEC_ID_WMAVOICE;
}

}  // namespace

// The library's reader of one audio stream of a stream, with its converter to 16 bits.
struct TMediaLibraryConverter::TDecoder {
  AVIOContext* Io = nullptr;
  AVFormatContext* Format = nullptr;
  AVCodecContext* Codec = nullptr;
  SwrContext* Resampler = nullptr;
  AVPacket* Packet = nullptr;
  AVFrame* Frame = nullptr;
  int Stream = -1;
  AVChannelLayout OutLayout{};
  int OutRate = 0;
  bool Draining = false;
  bool Fresh = true;  // nothing read since opening
  // The timestamp of the first decoded frame, which plays at 0 (decoders that hold back
  // their first frames, WMA among them, stamp it later than the stream's start), and its
  // length in samples: the grid coarse timestamps are placed on.
  int64_t OriginTs = AV_NOPTS_VALUE;
  int OriginSamples = 0;
  // Where the next frame starts, in samples from the origin, once a frame with a
  // timestamp has been placed since the last restart.
  bool Anchored = false;
  int64_t NextSample = 0;
  // The converter's input: format, rate and layout.
  int InFormat = -1, InRate = 0;
  AVChannelLayout InLayout{};

  ~TDecoder() {
    swr_free(&Resampler);
    av_channel_layout_uninit(&InLayout);
    av_channel_layout_uninit(&OutLayout);
    av_frame_free(&Frame);
    av_packet_free(&Packet);
    avcodec_free_context(&Codec);
    avformat_close_input(&Format);
    if (Io) av_freep(&Io->buffer);
    avio_context_free(&Io);
  }

  bool Start(TStream& stream, int32_t number) {
    // Damaged files are refused quietly; the library would write to standard error.
    static const bool quiet = (av_log_set_level(AV_LOG_QUIET), true);
    (void)quiet;
    try {
      stream.SetPosition(0);
    } catch (const EKivError&) {
      return false;
    }
    auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBuffer));
    if (!buffer) return false;
    Io = avio_alloc_context(buffer, kIoBuffer, 0, &stream, ReadPacket, nullptr, SeekStream);
    if (!Io) {
      av_free(buffer);
      return false;
    }
    Format = avformat_alloc_context();
    if (!Format) return false;
    Format->pb = Io;
    Format->flags |= AVFMT_FLAG_CUSTOM_IO;
    Format->io_open = RefuseOpen;
    if (avformat_open_input(&Format, nullptr, nullptr, nullptr) < 0) return false;  // frees Format on failure
    if (avformat_find_stream_info(Format, nullptr) < 0) return false;
    std::vector<int> audio;
    for (unsigned i = 0; i < Format->nb_streams; ++i)
      if (Format->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) audio.push_back(int(i));
    if (number >= 0)
      Stream = size_t(number) < audio.size() ? audio[size_t(number)] : -1;
    else
      Stream = av_find_best_stream(Format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (Stream < 0) return false;
    const AVCodecParameters* parameters = Format->streams[Stream]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    if (!codec || parameters->sample_rate <= 0 || parameters->ch_layout.nb_channels <= 0) return false;
    Codec = avcodec_alloc_context3(codec);
    if (!Codec || avcodec_parameters_to_context(Codec, parameters) < 0 || avcodec_open2(Codec, codec, nullptr) < 0)
      return false;
    for (unsigned i = 0; i < Format->nb_streams; ++i)
      if (int(i) != Stream) Format->streams[i]->discard = AVDISCARD_ALL;
    OutRate = Codec->sample_rate;
    av_channel_layout_default(&OutLayout, Codec->ch_layout.nb_channels == 1 ? 1 : 2);
    Packet = av_packet_alloc();
    Frame = av_frame_alloc();
    return Packet && Frame;
  }

  AVCodecID CodecId() const { return Format->streams[Stream]->codecpar->codec_id; }
  double DurationMs() const {
    const AVStream* stream = Format->streams[Stream];
    if (stream->duration > 0) return double(stream->duration) * av_q2d(stream->time_base) * 1000;
    return Format->duration > 0 ? double(Format->duration) / 1000 : 0;
  }

  // Readies the converter for frame's format.
  bool Fit(const AVFrame& frame) {
    if (Resampler && frame.format == InFormat && frame.sample_rate == InRate &&
        av_channel_layout_compare(&frame.ch_layout, &InLayout) == 0)
      return true;
    swr_free(&Resampler);
    av_channel_layout_uninit(&InLayout);
    if (av_channel_layout_copy(&InLayout, &frame.ch_layout) < 0) return false;
    InFormat = frame.format;
    InRate = frame.sample_rate;
    return swr_alloc_set_opts2(&Resampler, &OutLayout, AV_SAMPLE_FMT_S16, OutRate, &InLayout,
                               AVSampleFormat(InFormat), InRate, 0, nullptr) >= 0 &&
           swr_init(Resampler) >= 0;
  }

  // Moves to timestamp of the stream (or byte 0 with AVSEEK_FLAG_BYTE) and forgets
  // what was decoded.
  bool Restart(int64_t timestamp, int flags) {
    const bool moved = av_seek_frame(Format, flags & AVSEEK_FLAG_BYTE ? -1 : Stream, timestamp, flags) >= 0;
    avcodec_flush_buffers(Codec);
    swr_free(&Resampler);
    Draining = false;
    Anchored = false;
    return moved;
  }

  // Moves to the first frame of the stream.
  bool RestartAtStart() {
    const AVStream* stream = Format->streams[Stream];
    int64_t first = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    if (OriginTs != AV_NOPTS_VALUE) first = std::min(first, OriginTs);
    if (!Restart(first, AVSEEK_FLAG_BACKWARD) && !Restart(0, AVSEEK_FLAG_BYTE)) return false;
    // From the start, frames without timestamps count from the origin.
    Anchored = true;
    NextSample = 0;
    return true;
  }

  // The timestamp of the stream ms after the origin.
  int64_t TimestampAt(double ms) const {
    const AVStream* stream = Format->streams[Stream];
    const int64_t origin = OriginTs != AV_NOPTS_VALUE ? OriginTs : 0;
    return origin + av_rescale_q(int64_t(ms * 1000), AVRational{1, 1000000}, stream->time_base);
  }

  // Where the frame just decoded starts, in samples from the origin, at the codec's
  // rate; none when neither its timestamp nor the frames before it tell. A timestamp in a
  // time base coarser than a sample (ASF and Matroska count milliseconds) is only near
  // the frame's start: the count of samples decoded since the last placed frame, or the
  // origin's frame grid, places it exactly when it lies within one tick of the timestamp.
  std::optional<int64_t> PlaceFrame() {
    const int64_t pts = Frame->best_effort_timestamp;
    std::optional<int64_t> start;
    if (pts != AV_NOPTS_VALUE && OriginTs != AV_NOPTS_VALUE) {
      const double perTick = av_q2d(Format->streams[Stream]->time_base) * OutRate;
      const double exact = double(pts - OriginTs) * perTick;
      const double tolerance = perTick + 1;
      if (!std::isfinite(exact) || std::abs(exact) > 1e15) {
        start = Anchored ? std::optional(NextSample) : std::nullopt;
      } else if (Anchored && std::abs(exact - double(NextSample)) <= tolerance) {
        start = NextSample;
      } else {
        start = std::llround(exact);
        if (!Anchored && perTick > 1 && OriginSamples > 0) {
          const int64_t onGrid = std::llround(exact / OriginSamples) * OriginSamples;
          if (std::abs(exact - double(onGrid)) <= tolerance) start = onGrid;
        }
      }
    } else if (Anchored) {
      start = NextSample;
    }
    if (start) {
      Anchored = true;
      NextSample = *start + Frame->nb_samples;
    }
    return start;
  }

  // The next decoded frame; false at the end or on an error.
  bool NextFrame() {
    const bool first = Fresh;
    Fresh = false;
    for (int packets = 0; packets < kMostEmptyPackets; ++packets) {
      const int received = avcodec_receive_frame(Codec, Frame);
      if (received == 0) {
        if (first) {
          OriginTs = Frame->best_effort_timestamp;
          OriginSamples = Frame->nb_samples;
        }
        return true;
      }
      if (received != AVERROR(EAGAIN)) return false;
      const int read = av_read_frame(Format, Packet);
      if (read < 0) {
        if (Draining) return false;
        Draining = true;
        avcodec_send_packet(Codec, nullptr);
        continue;
      }
      if (Packet->stream_index == Stream) avcodec_send_packet(Codec, Packet);
      av_packet_unref(Packet);
    }
    return false;
  }
};

TMediaLibraryConverter::TMediaLibraryConverter() = default;
TMediaLibraryConverter::~TMediaLibraryConverter() = default;

bool TMediaLibraryConverter::Recognise(TStream& stream, int32_t streamNumber, TMediaInfo& media) {
  TDecoder decoder;
  if (!decoder.Start(stream, streamNumber)) return false;
  media.Type = IsWma(decoder.CodecId()) ? TMediaType::Wma : TMediaType::MediaLibrary;
  media.DataOffset = 0;
  media.DataSize = uint32_t(std::clamp<int64_t>(stream.GetSize(), 0, UINT32_MAX));
  media.Duration = uint32_t(std::llround(std::clamp(decoder.DurationMs(), 0.0, double(UINT32_MAX))));
  media.Format = MixFormat();
  media.StreamNumber = streamNumber;
  return true;
}

bool TMediaLibraryConverter::Open(const TMediaInfo& media) {
  if (!FStream) return false;
  FDecoder = std::make_unique<TDecoder>();
  if (!FDecoder->Start(*FStream, media.StreamNumber)) return false;
  SetDecodedFormat(PcmFormat(uint32_t(FDecoder->OutRate), uint16_t(FDecoder->OutLayout.nb_channels), 16));
  SetTargetFormat(MixFormat());
  if (!TWavConverter::Open(media)) return false;
  // The first frame tells when the sound starts (seeks count from there).
  FillInput();
  return true;
}

void TMediaLibraryConverter::Seek(double ms) {
  FInput.Clear();
  FOutput.Clear();
  ResetConversion();
  FPosition = 0;
  if (!FDecoder) return;
  TDecoder& d = *FDecoder;
  ms = std::isfinite(ms) ? std::clamp(ms, 0.0, 1e12) : 0;
  if (const double duration = d.DurationMs(); duration > 0) ms = std::min(ms, duration);
  const int64_t target = std::llround(ms * d.OutRate / 1000);
  if (d.Fresh && target == 0) return;
  // The library lands at a packet near the time, not always before it, and the first
  // frames after a jump lack what overlaps them from before: decoding starts well
  // before the target and drops what comes before it. Where the landing is late anyway,
  // decoding starts further back, at last from the start.
  for (const double before : {500.0, 5000.0, -1.0}) {
    const bool fromStart = before < 0 || ms <= before;
    if (fromStart ? !d.RestartAtStart() : !d.Restart(d.TimestampAt(ms - before), AVSEEK_FLAG_BACKWARD)) continue;
    const TLanding landing = DecodeUpTo(target, fromStart);
    if (landing != TLanding::Late) {
      FPosition = landing == TLanding::Reached ? double(target) * 1000 / d.OutRate : ms;
      return;
    }
    FInput.Clear();
    if (fromStart) break;
  }
  d.RestartAtStart();
}

TMediaLibraryConverter::TLanding TMediaLibraryConverter::DecodeUpTo(int64_t target, bool fromStart) {
  TDecoder& d = *FDecoder;
  const size_t frameBytes = DecodedFormat().BlockAlign;
  bool decoded = false;
  while (d.NextFrame()) {
    decoded = true;
    std::optional<int64_t> start = d.PlaceFrame();
    if (!start && fromStart) start = 0;
    // A frame after the target (or one that cannot be placed) means the landing was late;
    // from the start there is nothing earlier, and the sound goes on from that frame.
    if (!start || (*start > target && !fromStart)) return TLanding::Late;
    const int64_t drop = std::max<int64_t>(target - *start, 0);
    if (drop >= d.Frame->nb_samples || !d.Fit(*d.Frame)) continue;
    const int most = swr_get_out_samples(d.Resampler, d.Frame->nb_samples);
    uint8_t* out = FInput.WriteSpace(size_t(std::max(most, 0)) * frameBytes);
    const int made =
        swr_convert(d.Resampler, &out, most, const_cast<const uint8_t**>(d.Frame->extended_data), d.Frame->nb_samples);
    if (made > 0) {
      FInput.Commit(size_t(made) * frameBytes);
      FInput.Consume(size_t(std::min<int64_t>(drop, made)) * frameBytes);
    }
    return TLanding::Reached;
  }
  // Decoding ended before the target: the target lies past the end, unless the landing
  // was past the end.
  return decoded || fromStart ? TLanding::Ended : TLanding::Late;
}

bool TMediaLibraryConverter::FillInput() {
  if (!FDecoder) return false;
  // What a seek left is delivered first.
  if (FInput.Size() >= DecodedFormat().BlockAlign) return true;
  TDecoder& d = *FDecoder;
  while (d.NextFrame()) {
    if (!d.Fit(*d.Frame)) {
      Log().Write("Media library sound ends where its format cannot be converted");
      return false;
    }
    const int most = swr_get_out_samples(d.Resampler, d.Frame->nb_samples);
    if (most <= 0) continue;
    uint8_t* out = FInput.WriteSpace(size_t(most) * DecodedFormat().BlockAlign);
    const int made =
        swr_convert(d.Resampler, &out, most, const_cast<const uint8_t**>(d.Frame->extended_data), d.Frame->nb_samples);
    if (made > 0) {
      FInput.Commit(size_t(made) * DecodedFormat().BlockAlign);
      return true;
    }
  }
  return false;
}

}  // namespace kiv
