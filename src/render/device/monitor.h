#pragma once
// A monitor for a worker and the threads that wait on it: a re-entrant lock whose waiters
// wake whenever another thread has entered it (something may have changed) and then
// check their condition again. TActiveMonitor adds one worker thread that runs a routine
// inside the monitor; the video frame extractor is its user.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace kiv {

class TMonitor {
 public:
  TMonitor() = default;
  TMonitor(const TMonitor&) = delete;
  TMonitor& operator=(const TMonitor&) = delete;

  // Takes the monitor (again, for the thread that holds it) and signals a change.
  void Enter();
  void Leave();
  // Gives the monitor up entirely, sleeps until another thread has entered it, and takes
  // it back as deeply as before. Only the holder may wait.
  void Wait();

 private:
  std::mutex FGuard;
  std::condition_variable FChanged;
  std::thread::id FOwner;
  int FDepth = 0;
  bool FSignalled = false;
};

// Scoped Enter and Leave.
class TMonitorLock {
 public:
  explicit TMonitorLock(TMonitor& monitor) : FMonitor(monitor) { FMonitor.Enter(); }
  ~TMonitorLock() { FMonitor.Leave(); }
  TMonitorLock(const TMonitorLock&) = delete;
  TMonitorLock& operator=(const TMonitorLock&) = delete;

 private:
  TMonitor& FMonitor;
};

// The run state a worker leaves when its routine has returned.
inline constexpr int kWorkerFinished = 3;

class TActiveMonitor : public TMonitor {
 public:
  TActiveMonitor() = default;
  // Waits for the worker.
  ~TActiveMonitor();

  // Runs routine on a new worker thread inside the monitor, then sets runState to
  // kWorkerFinished. Refused (false) while a worker is still running.
  bool Start(std::atomic<int>& runState, std::function<void()> routine);
  bool Running() const { return FRunning.load(); }

 private:
  std::thread FWorker;
  std::atomic<bool> FRunning{false};
};

// Workers of all active monitors still running.
int RunningWorkers();
// At shutdown: waits until no worker runs, at most timeoutMs in 10 ms steps on the
// process clock. True when none is left.
bool WaitForWorkers(uint32_t timeoutMs = 10000);

}  // namespace kiv
