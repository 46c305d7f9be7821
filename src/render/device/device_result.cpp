#include "render/device/device_result.h"

#include "base/log.h"

namespace kiv {

const char* DeviceErrorText(TDeviceError error) {
  switch (error) {
    case TDeviceError::Ok: return "Ok";
    case TDeviceError::Pending: return "";
    case TDeviceError::InvalidCall: return "InvalidCall";
    case TDeviceError::DeviceLost: return "DeviceLost";
    case TDeviceError::Other: return "Other";
  }
  return "Other";
}

bool T3DResultHolder::SetResult(TDeviceError result) {
  FLastError = result;
  if (result == TDeviceError::Ok) return true;
  if (result != TDeviceError::Pending) Log().WriteValue("Dx Error = ", int64_t(result));
  return false;
}

}  // namespace kiv
