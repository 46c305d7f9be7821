#include "base/kiv_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "support/log_capture.h"

namespace kiv {
namespace {

// Handles its queue every turn and records what happened on which thread.
class TRecordingThread : public TKivThread {
 public:
  ~TRecordingThread() override { Stop(); }

  std::atomic<int> Turns = 0;
  std::atomic<int> Requests = 0;
  std::atomic<bool> FailEveryTurn = false;
  std::atomic<bool> StartedOnThread = false;
  std::atomic<bool> StoppedOnThread = false;

 protected:
  void OnStart() override { StartedOnThread = IsCurrentThread(); }
  void OnStop() override { StoppedOnThread = IsCurrentThread(); }
  void HandleEvent(int code, TMessageData*) override { Requests += code; }
  void Iteration() override {
    ++Turns;
    Events().Process();
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    if (FailEveryTurn) throw std::runtime_error("turn failed");
  }
};

template <class Condition>
bool WaitUntil(Condition condition) {
  for (int i = 0; i < 5000; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return condition();
}

TEST(KivThread, RunsItsTurnsAndRequestsOnItsOwnThreadUntilStopped) {
  TRecordingThread thread;
  EXPECT_FALSE(thread.IsRunning());
  thread.Start();
  EXPECT_TRUE(thread.IsRunning());
  EXPECT_FALSE(thread.IsCurrentThread());
  thread.Events().Post(3);
  EXPECT_TRUE(thread.Events().Send(4));  // waits for a turn of the thread
  EXPECT_EQ(thread.Requests, 7);

  thread.Stop();
  EXPECT_FALSE(thread.IsRunning());
  EXPECT_TRUE(thread.Terminated());
  EXPECT_TRUE(thread.StartedOnThread);
  EXPECT_TRUE(thread.StoppedOnThread);
  const int turns = thread.Turns;
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(thread.Turns, turns);

  thread.Start();  // a stopped thread may run again
  EXPECT_TRUE(WaitUntil([&] { return thread.Turns > turns; }));
}

TEST(KivThread, FailingTurnsDoNotEndTheThread) {
  TRecordingThread thread;
  thread.FailEveryTurn = true;
  thread.Start();
  EXPECT_TRUE(WaitUntil([&] { return thread.Turns > 3; }));
  EXPECT_TRUE(thread.IsRunning());
  thread.Terminate();  // does not wait
  EXPECT_TRUE(WaitUntil([&] { return !thread.IsRunning(); }));
}

// 300 ms of failing turns: each still waits its 10 ms step, and the log gets the failure
// once, then at its 10th repetition only.
TEST(KivThread, FailingTurnsKeepTheirPaceAndDoNotFloodTheLog) {
  testing::TLogCapture log;
  TRecordingThread thread;
  thread.FailEveryTurn = true;
  thread.Start();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  thread.Stop();
  EXPECT_GE(thread.Turns, 3);
  EXPECT_LE(thread.Turns, 31);
  EXPECT_EQ(log.Count("TKivThread: turn failed: turn failed"), thread.Turns >= 11 ? 2u : 1u);
}

}  // namespace
}  // namespace kiv
