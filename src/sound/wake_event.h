#pragma once
// An auto-reset event whose waits are measured on the process clock, so that a thread
// that waits "100 ms" waits 100 ms of virtual time under a test or renderer clock.
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace kiv {

class TWakeEvent {
 public:
  void Signal();
  // Waits until signalled (true, and the signal is taken) or ms have passed on the
  // process clock (false).
  bool WaitMs(uint32_t ms);

 private:
  std::mutex FLock;
  std::condition_variable FWake;
  bool FSignalled = false;
};

}  // namespace kiv
