#include "render/device/device_faults.h"

#include <atomic>

namespace kiv {

namespace {
std::atomic<bool> GLoseDevice{false};
}

void InjectDeviceLoss() { GLoseDevice.store(true); }

bool TakeInjectedDeviceLoss() { return GLoseDevice.exchange(false); }

}  // namespace kiv
