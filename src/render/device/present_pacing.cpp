#include "render/device/present_pacing.h"

#include <algorithm>
#include <atomic>

#include "base/clock.h"
#include "base/frame_tally.h"

namespace kiv {

namespace {
std::atomic<uint32_t> GPreviousPresentMs{0};

int RateOf(int refreshRate) { return refreshRate > 0 ? refreshRate : 60; }
}  // namespace

uint32_t PresentSleepMs(int refreshRate, uint32_t elapsedMs) {
  const int64_t period = 1000 / RateOf(refreshRate);
  const int64_t rest = std::clamp<int64_t>(period - int64_t(elapsedMs), 1, period);
  return uint32_t(std::max<int64_t>(1, rest - 3));
}

bool MissedFrameTime(int refreshRate, uint32_t drawMs) { return int64_t(drawMs) * RateOf(refreshRate) > 1000; }

void WaitBeforePresent(int refreshRate) {
  IClock& clock = Clock();
  clock.SleepMs(PresentSleepMs(refreshRate, clock.NowMs() - GPreviousPresentMs.load()));
}

void MarkPresented(bool missedItsTime) {
  GPreviousPresentMs.store(Clock().NowMs());
  CountFrameDrawn(missedItsTime);
}

}  // namespace kiv
