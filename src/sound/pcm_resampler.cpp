#include "sound/pcm_resampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "base/log.h"

namespace kiv {
namespace {

int32_t Clip16(int64_t value) { return int32_t(std::clamp<int64_t>(value, -32768, 32767)); }

int32_t FloatSample(double value) {
  if (!(value == value)) return 0;  // NaN
  return Clip16(std::llround(std::clamp(value, -2.0, 2.0) * 32767));
}

}  // namespace

bool TPcmResampler::CanConvert(const TWaveFormat& input, const TWaveFormat& output) {
  std::string reason;
  const bool floats = input.Tag == 3;
  if (input.Tag != 1 && !floats)
    reason = "format tag " + std::to_string(input.Tag);
  else if (floats ? input.Bits != 32 && input.Bits != 64
                  : input.Bits != 8 && input.Bits != 16 && input.Bits != 24 && input.Bits != 32)
    reason = std::to_string(input.Bits) + " bits";
  else if (input.Channels != 1 && input.Channels != 2 && input.Channels != 6)
    reason = std::to_string(input.Channels) + " channels";
  else if (input.BlockAlign != input.Channels * (input.Bits / 8))
    reason = "block alignment " + std::to_string(input.BlockAlign);
  else if (input.Rate == 0 || output.Rate == 0 || input.Rate > 1000000 || output.Rate > 1000000)
    reason = "rate " + std::to_string(input.Rate) + " to " + std::to_string(output.Rate);
  else if (output.Tag != 1 || (output.Bits != 8 && output.Bits != 16) ||
           (output.Channels != 1 && output.Channels != 2) || output.BlockAlign != output.Channels * output.Bits / 8)
    reason = "output format";
  if (reason.empty()) return true;
  Log().Write("Sound format not converted: " + reason);
  return false;
}

bool TPcmResampler::Setup(const TWaveFormat& input, const TWaveFormat& output) {
  if (!CanConvert(input, output)) return false;
  FInput = input;
  FOutput = output;
  FSampleBytes = input.Bits / 8;
  if (input.Tag == 3)
    FKind = input.Bits == 32 ? TSampleKind::F32 : TSampleKind::F64;
  else
    FKind = input.Bits == 8 ? TSampleKind::U8 : input.Bits == 16 ? TSampleKind::S16
          : input.Bits == 24 ? TSampleKind::S24 : TSampleKind::S32;
  FStep = double(input.Rate) / double(output.Rate);
  Reset();
  return true;
}

void TPcmResampler::Reset() {
  std::fill(std::begin(FLeft), std::end(FLeft), 0);
  std::fill(std::begin(FRight), std::end(FRight), 0);
  FNext = 2;
}

int32_t TPcmResampler::ReadSample(const uint8_t* s) const {
  switch (FKind) {
    case TSampleKind::U8:
      return (int32_t(s[0]) - 128) * 256;
    case TSampleKind::S16:
      return int16_t(uint16_t(s[0] | s[1] << 8));
    case TSampleKind::S24:
      return int16_t(uint16_t(s[1] | s[2] << 8));
    case TSampleKind::S32:
      return int16_t(uint16_t(s[2] | s[3] << 8));
    case TSampleKind::F32: {
      float value;
      std::memcpy(&value, s, 4);
      return FloatSample(value);
    }
    case TSampleKind::F64: {
      double value;
      std::memcpy(&value, s, 8);
      return FloatSample(value);
    }
  }
  return 0;
}

void TPcmResampler::ReadFrame(const uint8_t* frame, int32_t& left, int32_t& right) const {
  if (FInput.Channels == 1) {
    left = right = ReadSample(frame);
  } else if (FInput.Channels == 2) {
    left = ReadSample(frame);
    right = ReadSample(frame + FSampleBytes);
  } else {
    // Six channels in the WAV order: front left, front right, centre, low frequency,
    // back left, back right.
    int32_t c[6];
    for (int i = 0; i < 6; ++i) c[i] = ReadSample(frame + i * FSampleBytes);
    left = Clip16(int64_t(c[0]) + c[2] + c[3] + c[4]);
    right = Clip16(int64_t(c[1]) + c[2] + c[3] + c[5]);
  }
}

void TPcmResampler::WriteFrame(int32_t left, int32_t right, uint8_t*& out) const {
  if (FOutput.Channels == 1) left = (left + right) >> 1;
  if (FOutput.Bits == 8) {
    *out++ = uint8_t(left / 256 + 128);
    if (FOutput.Channels == 2) *out++ = uint8_t(right / 256 + 128);
  } else {
    *out++ = uint8_t(left);
    *out++ = uint8_t(left >> 8);
    if (FOutput.Channels == 2) {
      *out++ = uint8_t(right);
      *out++ = uint8_t(right >> 8);
    }
  }
}

size_t TPcmResampler::Convert(const uint8_t* input, size_t count, TLocalBuffer& output) {
  const size_t frameBytes = FInput.BlockAlign;
  if (frameBytes == 0) return 0;
  const size_t frames = count / frameBytes;
  if (frames == 0) return 0;
  if (FInput.Rate == FOutput.Rate) {
    uint8_t* out = output.WriteSpace(frames * FOutput.BlockAlign);
    uint8_t* start = out;
    for (size_t i = 0; i < frames; ++i) {
      int32_t left, right;
      ReadFrame(input + i * frameBytes, left, right);
      WriteFrame(left, right, out);
    }
    output.Commit(size_t(out - start));
    return frames * frameBytes;
  }
  // At most this many output frames can follow from frames more input frames.
  const size_t most = size_t(double(frames) / FStep) + 2;
  uint8_t* out = output.WriteSpace(most * FOutput.BlockAlign);
  uint8_t* start = out;
  for (size_t i = 0; i < frames; ++i) {
    FLeft[0] = FLeft[1], FLeft[1] = FLeft[2];
    FRight[0] = FRight[1], FRight[1] = FRight[2];
    ReadFrame(input + i * frameBytes, FLeft[2], FRight[2]);
    FNext -= 1;
    while (FNext < 1 && size_t(out - start) < most * FOutput.BlockAlign) {
      // Lagrange through x0, x1, x2 at t = 1 + FNext.
      const double t = 1 + FNext;
      const double w0 = (t - 1) * (t - 2) / 2, w1 = -t * (t - 2), w2 = t * (t - 1) / 2;
      const int32_t left = Clip16(std::llround(w0 * FLeft[0] + w1 * FLeft[1] + w2 * FLeft[2]));
      const int32_t right = Clip16(std::llround(w0 * FRight[0] + w1 * FRight[1] + w2 * FRight[2]));
      WriteFrame(left, right, out);
      FNext += FStep;
    }
  }
  output.Commit(size_t(out - start));
  return frames * frameBytes;
}

}  // namespace kiv
