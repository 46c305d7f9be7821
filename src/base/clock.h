#pragma once
// The process clock: monotonic milliseconds, read by every timed piece through one
// interface so that tests and offline rendering can run the real code on virtual time.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace kiv {

class IClock {
 public:
  virtual ~IClock() = default;
  // Milliseconds since an arbitrary start; wraps like a 32-bit tick counter.
  virtual uint32_t NowMs() = 0;
  virtual void SleepMs(uint32_t ms) = 0;
};

class TSystemClock : public IClock {
 public:
  uint32_t NowMs() override;
  void SleepMs(uint32_t ms) override;
};

// Time moves only when told to; sleeping advances it by the time slept.
class TVirtualClock : public IClock {
 public:
  explicit TVirtualClock(uint32_t start = 0) : FNow(start) {}
  uint32_t NowMs() override { return FNow.load(); }
  void SleepMs(uint32_t ms) override { Advance(ms); }
  virtual void Advance(uint32_t ms) { FNow.fetch_add(ms); }

 private:
  std::atomic<uint32_t> FNow;
};

// Time moves only when told to; sleeping waits a moment of real time and leaves it
// standing. Rendering a show frame by frame runs on it: at a fixed time every waiting
// thread keeps looking until the frame for that time is complete, and only then does
// the renderer move the clock on. A sleep ends early when the clock moves, or when the
// renderer nudges the sleepers because it waits for one of them to look again: what
// the threads do at each time is the same, only sooner.
class TSteppedClock : public TVirtualClock {
 public:
  using TVirtualClock::TVirtualClock;
  void SleepMs(uint32_t ms) override;
  void Advance(uint32_t ms) override;
  // Wakes every thread sleeping on the clock.
  void Nudge();

 private:
  std::mutex FLock;
  std::condition_variable FWake;
  uint64_t FNudges = 0;  // under FLock
};

// The process-wide clock; the system clock unless a test or renderer installs another.
IClock& Clock();
// Installs clock (not owned; nullptr restores the system clock). Returns the previous one.
IClock* SetClock(IClock* clock);

}  // namespace kiv
