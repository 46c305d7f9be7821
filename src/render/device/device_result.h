#pragma once
// The last result every device object keeps. The device layer never raises: a failing
// call leaves its state here and returns false or no object.
#include <cstdint>

namespace kiv {

enum class TDeviceError : uint8_t {
  Ok = 0,
  Pending = 1,  // a renderer whose creation still runs on the main thread
  InvalidCall = 2,
  DeviceLost = 3,
  Other = 4,
};

// "Ok", "InvalidCall", "DeviceLost", "Other"; a pending renderer has no text.
const char* DeviceErrorText(TDeviceError error);

class T3DResultHolder {
 public:
  TDeviceError LastError() const { return FLastError; }
  const char* ErrorText() const { return DeviceErrorText(FLastError); }

 protected:
  // Keeps result; a failure is logged as "Dx Error = " and its number (log readers look
  // for that text, so it stays as it is). True for Ok.
  bool SetResult(TDeviceError result);

 private:
  TDeviceError FLastError = TDeviceError::Ok;
};

}  // namespace kiv
