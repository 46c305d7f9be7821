#pragma once
// What lies under the mouse pointer.
#include <string>

#include "model/action_info.h"

namespace kiv {

enum class THitKind { None, Object, NavPanel };

struct THitResult {
  THitKind Kind = THitKind::None;
  TKivActionInfo Action;  // the object's action, empty when it has none
  std::string ClassName;  // the object's class, "TKivButton" for buttons
};

}  // namespace kiv
