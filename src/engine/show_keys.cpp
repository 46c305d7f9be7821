#include "engine/show_keys.h"

namespace kiv {

TKivActionInfo KeyAction(int keyCode, bool controlPermitted) {
  switch (keyCode) {
    case kKeyEscape:
      return {kActionExit, 0, {}};
    case kKeyLeft:
      return controlPermitted ? TKivActionInfo{kActionPrevSlide, 0, {}} : TKivActionInfo{};
    case kKeyRight:
      return controlPermitted ? TKivActionInfo{kActionNextSlide, 0, {}} : TKivActionInfo{};
    default:
      return {};
  }
}

}  // namespace kiv
