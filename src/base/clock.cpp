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
  if (ms == 0) {
    std::this_thread::yield();
    return;
  }
  // Long enough for other threads to work, short enough that nobody idles on a frame:
  // a render hands each step from thread to thread many times. The hand-offs the
  // renderer waits for end the sleep at once.
  std::unique_lock lock(FLock);
  const uint64_t nudges = FNudges;
  FWake.wait_for(lock, std::chrono::microseconds(200), [&] { return FNudges != nudges; });
}

void TSteppedClock::Advance(uint32_t ms) {
  TVirtualClock::Advance(ms);
  Nudge();
}

void TSteppedClock::Nudge() {
  {
    std::lock_guard lock(FLock);
    ++FNudges;
  }
  FWake.notify_all();
}

IClock& Clock() { return *gClock.load(); }

IClock* SetClock(IClock* clock) {
  IClock* previous = gClock.exchange(clock ? clock : &gSystemClock);
  return previous == &gSystemClock ? nullptr : previous;
}

}  // namespace kiv
