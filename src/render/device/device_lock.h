#pragma once
// One process-wide re-entrant lock around every device call, every store and resource
// list, and the creation and disposal of renderers.
#include <mutex>

namespace kiv {

std::recursive_mutex& DeviceLock();

class TDeviceLockGuard {
 public:
  TDeviceLockGuard() : FGuard(DeviceLock()) {}

 private:
  std::lock_guard<std::recursive_mutex> FGuard;
};

}  // namespace kiv
