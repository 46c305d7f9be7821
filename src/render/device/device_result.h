#pragma once
// The last result every device object keeps. The device layer never raises: a failing
// call leaves its state here and returns false or no object.
#include <cstdint>

namespace kiv {

enum class TDxError : uint8_t {
  Ok = 0,
  Pending = 1,  // a renderer whose creation still runs on the main thread
  InvalidCall = 2,
  DeviceLost = 3,
  Other = 4,
};

// "Ok", "InvalidCall", "DeviceLost", "Other"; a pending renderer has no text.
const char* DxErrorText(TDxError error);

class T3DResultHolder {
 public:
  TDxError LastError() const { return FLastError; }
  const char* ErrorText() const { return DxErrorText(FLastError); }

 protected:
  // Keeps result; a failure is logged as "Dx Error = " and its number. True for Ok.
  bool SetResult(TDxError result);

 private:
  TDxError FLastError = TDxError::Ok;
};

}  // namespace kiv
