#include "sound/wav_converter.h"

#include <algorithm>
#include <cmath>

#include "base/log.h"
#include "sound/pcm_resampler.h"

namespace kiv {
namespace {

// The most output one conversion makes from a piece of decoded PCM: with a sound of a few
// hertz, a chunk of input would otherwise become hundreds of megabytes at once.
constexpr double kMostConverted = 262144;

}  // namespace

struct TWavConverter::TConversion {
  std::optional<TWaveFormat> Target;
  TPcmResampler Resampler;
  bool Active = false;   // the target differs from the decoded format
  bool Refused = false;  // ... and cannot be reached
};

TWavConverter::TWavConverter() : FConversion(std::make_unique<TConversion>()) {}
TWavConverter::~TWavConverter() = default;

void TWavConverter::SetTargetFormat(const TWaveFormat& format) {
  FConversion->Target = format;
  if (FDecodedSet) SetupConversion();
}

void TWavConverter::SetDecodedFormat(const TWaveFormat& format) {
  FDecoded = format;
  FDecodedSet = true;
}

void TWavConverter::SetupConversion() {
  TConversion& c = *FConversion;
  c.Active = c.Target && *c.Target != FDecoded;
  c.Refused = c.Active && !c.Resampler.Setup(FDecoded, *c.Target);
}

void TWavConverter::ResetConversion() {
  FConversion->Resampler.Reset();
  FPending.Clear();
}

const TWaveFormat& TWavConverter::OutputFormat() const {
  return FConversion->Active && !FConversion->Refused ? *FConversion->Target : FDecoded;
}

bool TWavConverter::Open(const TMediaInfo& media) {
  FMedia = media;
  FFailed = false;
  if (!FDecodedSet) {
    TWaveFormat format = media.Format;
    if (format.Tag != 3) format.Tag = 1;
    format.ExtraSize = 0;
    format.BytesPerSecond = format.Rate * format.BlockAlign;
    SetDecodedFormat(format);
  }
  const TWaveFormat& decoded = FDecoded;
  if (decoded.Channels == 0 || decoded.BlockAlign == 0 || decoded.Rate == 0) return false;
  if (decoded.Channels != 1 && decoded.Channels != 2 && decoded.Channels != 6) {
    Log().WriteValue("Sound not played, channels: ", int64_t(decoded.Channels));
    return false;
  }
  FChunkSize = decoded.Bits == 24 ? 12288 : 4096;
  // Float, wide and six-channel samples other than 16-bit go out in the mix format.
  if (!FConversion->Target &&
      (decoded.Tag == 3 || decoded.Bits > 16 || (decoded.Channels == 6 && decoded.Bits != 16)))
    FConversion->Target = MixFormat();
  SetupConversion();
  if (FConversion->Refused) return false;
  FInput.Reserve(FChunkSize);
  FOutput.Reserve(FChunkSize);
  Seek(0);
  return true;
}

void TWavConverter::Seek(double ms) {
  FInput.Clear();
  FOutput.Clear();
  ResetConversion();
  const TWaveFormat& format = FDecoded;
  if (format.BlockAlign == 0 || format.Rate == 0) return;
  const uint64_t frames = FMedia.DataSize / format.BlockAlign;
  const double wanted = std::isfinite(ms) ? std::max(0.0, ms) * format.Rate / 1000 : 0;
  const uint64_t frame = std::min<uint64_t>(frames, uint64_t(std::llround(std::min(wanted, 1e15))));
  SeekData(frame * format.BlockAlign);
  FPosition = double(frame) * 1000 / format.Rate;
}

bool TWavConverter::SeekData(uint64_t offset) {
  offset = std::min<uint64_t>(offset, FMedia.DataSize);
  FDataLeft = FMedia.DataSize - offset;
  try {
    if (!FStream) throw EStreamError("No stream");
    FStream->SetPosition(int64_t(FMedia.DataOffset) + int64_t(offset));
    return true;
  } catch (const EKivError&) {
    FDataLeft = 0;
    return false;
  }
}

bool TWavConverter::ReadData(size_t count) {
  const size_t wanted = size_t(std::min<uint64_t>(count, FDataLeft));
  if (wanted == 0 || !FStream) return false;
  int64_t got = 0;
  try {
    got = FStream->Read(FInput.WriteSpace(wanted), int64_t(wanted));
  } catch (const EKivError&) {
    got = 0;
  }
  if (got <= 0) {
    FDataLeft = 0;
    return false;
  }
  FInput.Commit(size_t(got));
  FDataLeft -= uint64_t(got);
  return true;
}

bool TWavConverter::FillInput() {
  return FInput.Size() < FChunkSize && ReadData(FChunkSize - FInput.Size());
}

bool TWavConverter::Process() {
  FInput.Consume(Deliver(FInput.Data(), FInput.Size()));
  return true;
}

size_t TWavConverter::Deliver(const uint8_t* pcm, size_t count) {
  const size_t whole = count - count % FDecoded.BlockAlign;
  const size_t taken = Convert(pcm, whole);
  if (taken < whole) FPending.Append(pcm + taken, whole - taken);
  return whole;
}

size_t TWavConverter::Convert(const uint8_t* pcm, size_t count) {
  const size_t before = FOutput.Size();
  size_t taken = 0;
  if (FConversion->Active) {
    if (FConversion->Refused) return count;
    const TWaveFormat& target = *FConversion->Target;
    const double perFrame = double(target.BlockAlign) * (double(target.Rate) / FDecoded.Rate + 1);
    const size_t most = std::max<size_t>(1, size_t(kMostConverted / perFrame)) * FDecoded.BlockAlign;
    taken = FConversion->Resampler.Convert(pcm, std::min(count, most), FOutput);
  } else {
    taken = count - count % FDecoded.BlockAlign;
    FOutput.Append(pcm, taken);
  }
  const uint32_t rate = OutputFormat().BytesPerSecond;
  if (rate > 0) FPosition += double(FOutput.Size() - before) * 1000 / rate;
  return taken;
}

bool TWavConverter::Read(size_t count) {
  while (!FFailed && FOutput.Size() < count) {
    if (FPending.Size() >= FDecoded.BlockAlign && FDecoded.BlockAlign > 0) {
      FPending.Consume(Convert(FPending.Data(), FPending.Size()));
      continue;
    }
    if (FillInput()) {
      if (!Process()) {
        FFailed = true;
        Log().Write("Sound decoding failed");
      }
      continue;
    }
    const bool remained = !FOutput.Empty();
    FOutput.AppendFill(OutputFormat().Bits == 8 ? 128 : 0, count - FOutput.Size());
    return remained;
  }
  if (FFailed) {
    if (FOutput.Size() < count) FOutput.AppendFill(0, count - FOutput.Size());
    return false;
  }
  return true;
}

}  // namespace kiv
