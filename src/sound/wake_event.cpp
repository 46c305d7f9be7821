#include "sound/wake_event.h"

#include <algorithm>
#include <chrono>

#include "base/clock.h"

namespace kiv {

namespace {
// The longest real wait between two looks at the process clock.
constexpr uint32_t kSliceMs = 10;
}  // namespace

void TWakeEvent::Signal() {
  {
    std::lock_guard lock(FLock);
    FSignalled = true;
  }
  FWake.notify_all();
}

bool TWakeEvent::WaitMs(uint32_t ms) {
  const uint32_t start = Clock().NowMs();
  std::unique_lock lock(FLock);
  while (!FSignalled) {
    const uint32_t elapsed = Clock().NowMs() - start;
    if (elapsed >= ms) return false;
    FWake.wait_for(lock, std::chrono::milliseconds(std::min(ms - elapsed, kSliceMs)));
  }
  FSignalled = false;
  return true;
}

}  // namespace kiv
