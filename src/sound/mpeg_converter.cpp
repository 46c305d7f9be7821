#include "sound/mpeg_converter.h"

#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <mutex>

#include "base/log.h"
#include "sound/mpeg_info.h"

namespace kiv {
namespace {

constexpr size_t kOutputRoom = 8192;
// Decoding starts this long before a sought time (at least kPrerollFrames frames), so that
// the bit reservoir and the filter banks are full by then: a fresh decoder gives the same
// samples as one that ran from the start only a few frames after it began.
constexpr double kPreroll = 100;
constexpr double kPrerollFrames = 8;

bool LibraryReady() {
  static const bool ready = mpg123_init() == MPG123_OK;
  return ready;
}

}  // namespace

TMpegConverter::~TMpegConverter() {
  if (FHandle) mpg123_delete(FHandle);
}

bool TMpegConverter::StartDecoder() {
  if (FHandle) {
    mpg123_delete(FHandle);
    FHandle = nullptr;
  }
  if (!LibraryReady()) return false;
  int error = MPG123_OK;
  FHandle = mpg123_new(nullptr, &error);
  if (!FHandle) return false;
  const TWaveFormat& format = FMedia.Format;
  // Frames decode as they come: no gapless trimming (seeks restart in mid-stream), no
  // messages on standard error.
  const bool good = mpg123_param(FHandle, MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0) == MPG123_OK &&
                    mpg123_param(FHandle, MPG123_ADD_FLAGS, MPG123_QUIET, 0) == MPG123_OK &&
                    mpg123_format_none(FHandle) == MPG123_OK &&
                    mpg123_format(FHandle, long(format.Rate), format.Channels == 1 ? MPG123_MONO : MPG123_STEREO,
                                  MPG123_ENC_SIGNED_16) == MPG123_OK &&
                    mpg123_open_feed(FHandle) == MPG123_OK;
  if (!good) Log().Write(std::string("MPEG decoder not started: ") + mpg123_strerror(FHandle));
  return good;
}

bool TMpegConverter::Open(const TMediaInfo& media) {
  if (media.Format.Rate == 0 || (media.Format.Channels != 1 && media.Format.Channels != 2)) return false;
  FMedia = media;
  if (!StartDecoder()) return false;
  SetDecodedFormat(PcmFormat(media.Format.Rate, media.Format.Channels, 16));
  if (!TWavConverter::Open(media)) return false;
  return true;
}

void TMpegConverter::Seek(double ms) {
  FInput.Clear();
  FOutput.Clear();
  FPcm.Clear();
  ResetConversion();
  FFailed = !StartDecoder();
  ms = std::isfinite(ms) ? std::clamp(ms, 0.0, double(FMedia.Duration)) : 0;
  TMpegInfo::TFrame frame;
  const double frameMs = 1152000.0 / FMedia.Format.Rate;
  if (FStream) frame = TMpegInfo::FindFrame(*FStream, FMedia, std::max(0.0, ms - std::max(kPreroll, kPrerollFrames * frameMs)));
  SeekData(frame.Offset - FMedia.DataOffset);
  const TWaveFormat& decoded = DecodedFormat();
  const uint64_t dropFrames = uint64_t(std::llround(std::max(0.0, ms - frame.StartMs) * decoded.Rate / 1000));
  FDropBytes = dropFrames * decoded.BlockAlign;
  FPosition = frame.StartMs + double(dropFrames) * 1000 / decoded.Rate;
  // A chunk of about six frames.
  const double frameBytes = FMedia.BitRate / 8.0 * 1152 / decoded.Rate;
  FChunkSize = size_t(std::clamp(6 * frameBytes, 1024.0, 4096.0));
}

void TMpegConverter::Decode() {
  const uint8_t* input = FInput.Data();
  size_t inputSize = FInput.Size();
  for (;;) {
    size_t done = 0;
    const int result = mpg123_decode(FHandle, input, inputSize, FPcm.WriteSpace(kOutputRoom), kOutputRoom, &done);
    input = nullptr;
    inputSize = 0;
    FPcm.Commit(done);
    if (FDropBytes > 0) {
      const size_t drop = size_t(std::min<uint64_t>(FDropBytes, FPcm.Size()));
      FPcm.Consume(drop);
      FDropBytes -= drop;
    }
    if (result == MPG123_NEED_MORE || result == MPG123_DONE) break;
    if (result != MPG123_OK && result != MPG123_NEW_FORMAT) {
      // A damaged stretch ends this chunk; decoding goes on with the next.
      Log().Write(std::string("MPEG decoding: ") + mpg123_strerror(FHandle));
      break;
    }
  }
  FInput.Clear();
}

bool TMpegConverter::Process() {
  if (!FHandle) return false;
  Decode();
  FPcm.Consume(Deliver(FPcm.Data(), FPcm.Size()));
  return true;
}

}  // namespace kiv
