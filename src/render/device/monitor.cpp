#include "render/device/monitor.h"

#include "base/clock.h"
#include "base/errors.h"

namespace kiv {

namespace {
std::atomic<int> GRunningWorkers{0};
constexpr uint32_t kWorkerPollMs = 10;
}  // namespace

void TMonitor::Enter() {
  std::unique_lock<std::mutex> guard(FGuard);
  const std::thread::id me = std::this_thread::get_id();
  if (FOwner != me) {
    FChanged.wait(guard, [this] { return FDepth == 0; });
    FOwner = me;
  }
  ++FDepth;
  FSignalled = true;
  FChanged.notify_all();
}

void TMonitor::Leave() {
  std::lock_guard<std::mutex> guard(FGuard);
  KIV_ASSERT(FOwner == std::this_thread::get_id() && FDepth > 0);
  if (--FDepth > 0) return;
  FOwner = std::thread::id();
  FChanged.notify_all();
}

void TMonitor::Wait() {
  std::unique_lock<std::mutex> guard(FGuard);
  const std::thread::id me = std::this_thread::get_id();
  KIV_ASSERT(FOwner == me && FDepth > 0);
  const int depth = FDepth;
  FDepth = 0;
  FOwner = std::thread::id();
  FSignalled = false;
  FChanged.notify_all();
  FChanged.wait(guard, [this] { return FSignalled && FDepth == 0; });
  FOwner = me;
  FDepth = depth;
  FSignalled = true;
  FChanged.notify_all();
}

TActiveMonitor::~TActiveMonitor() {
  if (FWorker.joinable()) FWorker.join();
}

bool TActiveMonitor::Start(std::atomic<int>& runState, std::function<void()> routine) {
  if (FRunning.load()) return false;
  if (FWorker.joinable()) FWorker.join();
  FRunning.store(true);
  GRunningWorkers.fetch_add(1);
  FWorker = std::thread([this, &runState, routine = std::move(routine)] {
    {
      TMonitorLock lock(*this);
      routine();
      runState.store(kWorkerFinished);
      FRunning.store(false);
    }
    GRunningWorkers.fetch_sub(1);
  });
  return true;
}

int RunningWorkers() { return GRunningWorkers.load(); }

bool WaitForWorkers(uint32_t timeoutMs) {
  IClock& clock = Clock();
  const uint32_t start = clock.NowMs();
  while (GRunningWorkers.load() > 0) {
    if (clock.NowMs() - start >= timeoutMs) return false;
    clock.SleepMs(kWorkerPollMs);
  }
  return true;
}

}  // namespace kiv
