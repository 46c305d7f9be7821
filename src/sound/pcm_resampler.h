#pragma once
// Converts PCM between formats: 8, 16, 24 or 32-bit integer or 32 or 64-bit float
// input, mono, stereo or six channels (mixed down to stereo), into 8 or 16-bit mono or
// stereo PCM at another rate. A different rate is reached by quadratic interpolation
// through the last three input frames; the frames and the fractional position carry
// over between calls, so a stream converts seamlessly in pieces.
#include <cstddef>
#include <cstdint>

#include "sound/local_buffer.h"
#include "sound/media_info.h"

namespace kiv {

class TPcmResampler {
 public:
  // Whether input can be converted into output (with a logged reason when not).
  static bool CanConvert(const TWaveFormat& input, const TWaveFormat& output);

  // Starts converting input to output; false when CanConvert refuses.
  bool Setup(const TWaveFormat& input, const TWaveFormat& output);
  // Forgets the frames carried over (after a seek).
  void Reset();
  // Converts the whole frames of the count bytes at input, appending to output, and
  // answers the bytes taken (a trailing part of a frame is left).
  size_t Convert(const uint8_t* input, size_t count, TLocalBuffer& output);

  const TWaveFormat& Input() const { return FInput; }
  const TWaveFormat& Output() const { return FOutput; }

 private:
  enum class TSampleKind { U8, S16, S24, S32, F32, F64 };
  // The frame at input as left and right on a 16-bit scale.
  void ReadFrame(const uint8_t* frame, int32_t& left, int32_t& right) const;
  int32_t ReadSample(const uint8_t* sample) const;
  void WriteFrame(int32_t left, int32_t right, uint8_t*& out) const;

  TWaveFormat FInput;
  TWaveFormat FOutput;
  TSampleKind FKind = TSampleKind::S16;
  size_t FSampleBytes = 2;
  double FStep = 1;  // input frames per output frame
  // The last three input frames (oldest first) and where the next output frame lies,
  // in input frames after the middle one.
  int32_t FLeft[3] = {};
  int32_t FRight[3] = {};
  double FNext = 2;
};

}  // namespace kiv
