#include "render/device/device_lock.h"

namespace kiv {

namespace {
// How many guards of the device lock the thread holds.
thread_local int GHeldHere = 0;
}  // namespace

std::recursive_mutex& DeviceLock() {
  static std::recursive_mutex lock;
  return lock;
}

TDeviceLockGuard::TDeviceLockGuard() {
  DeviceLock().lock();
  ++GHeldHere;
}

TDeviceLockGuard::~TDeviceLockGuard() {
  --GHeldHere;
  DeviceLock().unlock();
}

TDeviceLockRelease::TDeviceLockRelease() : FHeld(GHeldHere) {
  for (int i = 0; i < FHeld; ++i) DeviceLock().unlock();
  GHeldHere = 0;
}

TDeviceLockRelease::~TDeviceLockRelease() {
  for (int i = 0; i < FHeld; ++i) DeviceLock().lock();
  GHeldHere = FHeld;
}

}  // namespace kiv
