#pragma once
// Smooths the show time from frame to frame: after a reset it passes the time through
// while it learns the frame rhythm, then follows a prediction from the mean of the last
// frame steps, pulled a sixth of the way towards the real time.
#include <array>
#include <cstddef>
#include <cstdint>

namespace kiv {

class TFrameInterpolator {
 public:
  static constexpr int32_t kWarmUp = 16;  // frames passed through after a reset
  static constexpr int32_t kRing = 32;    // frame steps averaged

  TFrameInterpolator() { Reset(); }

  void Reset();
  // Once per frame: the time to show for the show time x.
  double Smooth(double x);
  // True: times pass through from the next call; false: after one more call they are
  // smoothed again.
  void SetPassThrough(bool value);

 private:
  double FOutput = 0;
  int32_t FWarmUp = kWarmUp;
  double FPrevious = 0;
  std::array<double, kRing> FSteps{};
  double FSum = 0;
  int32_t FIndex = 0;
  int64_t FCount = 0;
  bool FPassThrough = false;
  bool FEndPassThrough = false;
};

}  // namespace kiv
