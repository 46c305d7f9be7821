#include "base/clock.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace kiv {

namespace {
TSystemClock gSystemClock;
std::atomic<IClock*> gClock{&gSystemClock};
}  // namespace

uint32_t TSystemClock::NowMs() {
  auto since = std::chrono::steady_clock::now().time_since_epoch();
  return uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void TSystemClock::SleepMs(uint32_t ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void TSteppedClock::SleepMs(uint32_t ms) {
  // Long enough for other threads to work, short enough that nobody idles on a frame:
  // a render hands each step from thread to thread many times, and waits of a whole
  // millisecond made those hand-offs, not the drawing, set its pace.
  std::this_thread::sleep_for(std::chrono::microseconds(ms == 0 ? 0 : 200));
}

IClock& Clock() { return *gClock.load(); }

IClock* SetClock(IClock* clock) {
  IClock* previous = gClock.exchange(clock ? clock : &gSystemClock);
  return previous == &gSystemClock ? nullptr : previous;
}

}  // namespace kiv
