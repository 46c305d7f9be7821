#pragma once
// One process-wide re-entrant lock around every device call, every store and resource
// list, and the creation and disposal of renderers.
#include <mutex>

namespace kiv {

std::recursive_mutex& DeviceLock();

class TDeviceLockGuard {
 public:
  TDeviceLockGuard();
  ~TDeviceLockGuard();
  TDeviceLockGuard(const TDeviceLockGuard&) = delete;
  TDeviceLockGuard& operator=(const TDeviceLockGuard&) = delete;
};

// Lets go of every hold the calling thread has on the device lock for its lifetime, and
// takes them all again at its end: other threads may use the device meanwhile.
class TDeviceLockRelease {
 public:
  TDeviceLockRelease();
  ~TDeviceLockRelease();
  TDeviceLockRelease(const TDeviceLockRelease&) = delete;
  TDeviceLockRelease& operator=(const TDeviceLockRelease&) = delete;

 private:
  int FHeld;
};

}  // namespace kiv
