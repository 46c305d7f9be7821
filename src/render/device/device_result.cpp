#include "render/device/device_result.h"

#include "base/log.h"

namespace kiv {

const char* DxErrorText(TDxError error) {
  switch (error) {
    case TDxError::Ok: return "Ok";
    case TDxError::Pending: return "";
    case TDxError::InvalidCall: return "InvalidCall";
    case TDxError::DeviceLost: return "DeviceLost";
    case TDxError::Other: return "Other";
  }
  return "Other";
}

bool T3DResultHolder::SetResult(TDxError result) {
  FLastError = result;
  if (result == TDxError::Ok) return true;
  if (result != TDxError::Pending) Log().WriteValue("Dx Error = ", int64_t(result));
  return false;
}

}  // namespace kiv
