#pragma once
// What a pointer event met: the object under the pointer and what the event carries out.
#include <string>

#include "model/action_info.h"

namespace kiv {

enum class THitKind { None, Object, NavPanel };

struct THitResult {
  THitKind Kind = THitKind::None;
  TKivActionInfo Action;  // the action of what is under the pointer, empty when it has none
  std::string ClassName;  // the object's class, "TKivButton" for buttons
  // What the event carries out now: on a slide, the action of the object the left
  // button was released over after it was pressed there.
  TKivActionInfo Fire;
  // The press belongs to what was hit (a dialog, say), even without an action of its
  // own: the mouse's own action does not run. Presses on the navigation panel and on
  // objects with an action are always taken.
  bool Taken = false;
};

}  // namespace kiv
