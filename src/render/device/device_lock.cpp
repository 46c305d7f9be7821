#include "render/device/device_lock.h"

namespace kiv {

std::recursive_mutex& DeviceLock() {
  static std::recursive_mutex lock;
  return lock;
}

}  // namespace kiv
