#include "base/progress_hook.h"

#include <atomic>
#include <thread>

#include "base/clock.h"

namespace kiv {

namespace {
std::atomic<TProgressMode> gMode{TProgressMode::None};
constexpr uint32_t kYieldInterval = 5;
// Calls come every few hundred bytes of data; the clock is read on every 64th only.
constexpr uint32_t kCallsPerClockRead = 64;
// Each calling thread yields on its own schedule.
thread_local uint32_t tLastYield = 0;
thread_local uint32_t tCalls = 0;
}  // namespace

void SetProgressMode(TProgressMode mode) { gMode.store(mode); }

TProgressMode ProgressMode() { return gMode.load(); }

bool ProgressHook() {
  TProgressMode mode = gMode.load();
  if (mode == TProgressMode::Stop) return true;
  if (mode == TProgressMode::None || ++tCalls % kCallsPerClockRead != 0) return false;
  uint32_t now = Clock().NowMs();
  if (now - tLastYield > kYieldInterval) {
    if (mode == TProgressMode::Playing)
      Clock().SleepMs(1);
    else
      std::this_thread::yield();
    tLastYield = Clock().NowMs();
  }
  return false;
}

}  // namespace kiv
