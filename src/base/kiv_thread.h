#pragma once
// A worker thread with a request queue: the thread runs Iteration until it is told to
// end; other threads reach it through its queue.
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "base/thread_event_list.h"

namespace kiv {

class TKivThread {
 public:
  TKivThread();
  // Waits for the thread. A derived class must Stop in its own destructor, before its
  // Iteration is gone.
  virtual ~TKivThread();
  TKivThread(const TKivThread&) = delete;
  TKivThread& operator=(const TKivThread&) = delete;

  // Starts the thread unless it runs.
  virtual void Start();
  // Terminates and waits for the thread. From the thread itself it only terminates.
  virtual void Stop();
  // Asks the loop to end after the current turn; does not wait.
  virtual void Terminate();

  bool Terminated() const { return FTerminated.load(); }
  // True from Start until the thread body has returned.
  bool IsRunning() const { return FRunning.load(); }
  bool IsCurrentThread() const { return std::this_thread::get_id() == FThreadId.load(); }
  TThreadEventList& Events() { return FEvents; }

 protected:
  // The thread body: OnStart, Iteration until terminated, OnStop. A failing turn is
  // logged and the loop goes on after WaitAfterFailedTurn. A failure that repeats is
  // logged the first time and then at its 10th, 100th, 1000th … repetition.
  virtual void Execute();
  // The pause after a turn that raised, in place of the wait the turn did not reach:
  // 10 ms here; a thread with a pace of its own waits that.
  virtual void WaitAfterFailedTurn();
  // Handles the requests of the queue; nothing here.
  virtual void HandleEvent(int code, TMessageData* data);
  virtual void OnStart() {}
  virtual void OnStop() {}
  virtual void Iteration() = 0;

 private:
  void Join();
  void LogFailedTurn(const std::string& message);

  TThreadEventList FEvents;
  std::thread FThread;
  std::atomic<std::thread::id> FThreadId;
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FRunning{false};
  std::string FLastFailure;
  uint64_t FFailureRepeats = 0;
};

}  // namespace kiv
