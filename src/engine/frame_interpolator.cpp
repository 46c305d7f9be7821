#include "engine/frame_interpolator.h"

namespace kiv {

void TFrameInterpolator::Reset() {
  FWarmUp = kWarmUp;
  FSteps.fill(0);
  FSum = 0;
  FIndex = 0;
  FCount = 0;
}

double TFrameInterpolator::Smooth(double x) {
  if (FPassThrough || FWarmUp > 0) {
    if (FWarmUp > 0) --FWarmUp;
    if (FPassThrough && FEndPassThrough) FPassThrough = FEndPassThrough = false;
    FOutput = x;
  } else {
    const double step = x - FPrevious;
    if (FCount >= kRing) FSum -= FSteps[size_t(FIndex)];
    FSteps[size_t(FIndex)] = step;
    FSum += step;
    FIndex = (FIndex + 1) % kRing;
    ++FCount;
    if (FCount > kRing) {
      const double predicted = FOutput + FSum / kRing;
      FOutput = predicted + (x - predicted) / 6;
    } else {
      FOutput = x;
    }
  }
  FPrevious = x;
  return FOutput;
}

void TFrameInterpolator::SetPassThrough(bool value) {
  if (value) {
    FPassThrough = true;
    FEndPassThrough = false;
  } else if (FPassThrough) {
    FEndPassThrough = true;
  }
}

}  // namespace kiv
