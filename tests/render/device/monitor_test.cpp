// The monitor: nested entry, waiting for a change, and a worker inside the monitor.
#include <gtest/gtest.h>

#include <thread>

#include "base/clock.h"
#include "render/device/monitor.h"

namespace kiv {
namespace {

TEST(Monitor, WaiterWakesWhenAnotherThreadEntersAndRechecks) {
  TMonitor monitor;
  int stage = 0;
  std::thread producer([&] {
    for (int i = 1; i <= 3; ++i) {
      TMonitorLock outer(monitor);
      TMonitorLock nested(monitor);
      stage = i;
    }
  });
  {
    TMonitorLock lock(monitor);
    TMonitorLock nested(monitor);
    while (stage < 3) monitor.Wait();
    EXPECT_EQ(stage, 3);
  }
  producer.join();
  // Fully left: another thread can take it.
  std::thread other([&] { TMonitorLock lock(monitor); });
  other.join();
}

TEST(Monitor, WorkerRunsInsideTheMonitorOnceAtATime) {
  TActiveMonitor monitor;
  std::atomic<int> state{1};
  std::atomic<bool> release{false};
  bool ran = false;
  ASSERT_TRUE(monitor.Start(state, [&] {
    while (!release.load()) std::this_thread::yield();
    ran = true;
  }));
  EXPECT_TRUE(monitor.Running());
  EXPECT_EQ(RunningWorkers(), 1);
  std::atomic<int> otherState{1};
  EXPECT_FALSE(monitor.Start(otherState, [] {}));
  release.store(true);
  {
    // The worker holds the monitor while it runs: once in, the routine is done.
    TMonitorLock lock(monitor);
    while (state.load() != kWorkerFinished) monitor.Wait();
    EXPECT_TRUE(ran);
  }
  EXPECT_TRUE(WaitForWorkers(5000));
  EXPECT_EQ(RunningWorkers(), 0);
  EXPECT_TRUE(monitor.Start(otherState, [] {}));
}

TEST(Monitor, ShutdownWaitGivesUpAfterItsTime) {
  TVirtualClock clock;
  IClock* previous = SetClock(&clock);
  TActiveMonitor monitor;
  std::atomic<int> state{1};
  std::atomic<bool> release{false};
  ASSERT_TRUE(monitor.Start(state, [&] {
    while (!release.load()) std::this_thread::yield();
  }));
  EXPECT_FALSE(WaitForWorkers(50));
  EXPECT_GE(clock.NowMs(), 50u);
  release.store(true);
  SetClock(previous);
}

}  // namespace
}  // namespace kiv
