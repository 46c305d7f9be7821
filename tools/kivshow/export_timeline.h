#pragma once
// The clock of kivshow export: which show time each video frame shows and how much
// sound belongs to it. Everything is counted from the export's first frame in whole
// numbers, so frame k lies at from + k × 1000 / fps however long the export runs, and
// the sound of the first k frames is always the same number of samples.
#include <cstdint>
#include <string>
#include <string_view>

namespace kiv {

// The most frames per second an export is made at.
inline constexpr int kMaxExportFramesPerSecond = 240;

// Frames per second as a fraction in lowest terms.
struct TFrameRate {
  int Numerator = 25;
  int Denominator = 1;

  double PerSecond() const { return double(Numerator) / Denominator; }
  // "25", or "30000/1001" for a rate that is not whole.
  std::string Text() const;
};

// "25", "29.97" (at most three decimals) or "30000/1001"; above 0 and at most
// kMaxExportFramesPerSecond. Raises EUsageError naming the text otherwise.
TFrameRate ParseFrameRate(std::string_view text);

class TExportTimeline {
 public:
  // The frames from fromMs on whose time lies before toMs (toMs > fromMs).
  TExportTimeline(TFrameRate rate, int32_t fromMs, int32_t toMs);

  TFrameRate Rate() const { return FRate; }
  int64_t FrameCount() const { return FFrameCount; }
  // The show time of frame k, rounded to the millisecond the show clock steps by.
  int32_t FrameTime(int64_t frame) const;
  // Sound frames (at kOutputRate) from the start up to frame k's picture time.
  int64_t SoundBefore(int64_t frame) const;
  // The sound frames that play while frame k is shown.
  int64_t SoundOf(int64_t frame) const { return SoundBefore(frame + 1) - SoundBefore(frame); }
  // How long the first frames frames last, in milliseconds.
  double DurationMs(int64_t frames) const;

 private:
  TFrameRate FRate;
  int32_t FFrom;
  int64_t FFrameCount;
};

}  // namespace kiv
