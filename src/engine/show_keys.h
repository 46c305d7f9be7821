#pragma once
// Keys of the show's window and the actions they ask for. Keys are numbered by the
// virtual key codes the show's key tables use.
#include "model/action_info.h"

namespace kiv {

enum TVirtualKey : int {
  kKeyEscape = 27,
  kKeyLeft = 37,
  kKeyRight = 39,
};

// Esc always exits; Left and Right move to the previous and next slide unless the show
// forbids the user to move it ("opt_synchpermitcontrol" off). Other keys ask nothing.
TKivActionInfo KeyAction(int keyCode, bool controlPermitted);

}  // namespace kiv
