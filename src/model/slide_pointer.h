#pragma once
// The pointer over a slide's object tree. Texts and buttons with an action show whether
// the pointer is over them (hover look) or holds them down (click look); any object
// under the left button becomes pressed, and reports its action when the button is
// released over it while it is still pressed. So a click runs on release, and a press
// that is dragged away and released elsewhere runs nothing.
#include <cstdint>

#include "model/action_info.h"

namespace kiv {

class TKivObject;

enum class TPointerKind : uint8_t { Move, Press, Release };

// Modifier and button bits of a pointer state.
inline constexpr uint32_t kPointerLeftButton = 16;

struct TSlidePointer {
  TPointerKind Kind = TPointerKind::Move;
  int32_t Button = 0;  // of a press or release: 1 left, 2 right, 4 middle
  float X = 0;         // in the slide's own pixels
  float Y = 0;
  // The modifier and button bits held at the event (a left press holds 16, its release
  // 0). Looks and presses follow only the bare pointer or the left button alone.
  uint32_t State = 0;
  // Off: something above the slide has the pointer; the slide only drops its looks.
  bool Enabled = true;
};

struct TSlidePointerResult {
  TKivObject* Object = nullptr;  // the topmost object under the pointer that takes clicks
  TKivActionInfo Action;         // that object's action; empty when it has none
  TKivActionInfo Reported;       // to carry out now: a release over the object pressed
};

// One pointer event on the tree under root: every look goes back to normal, then the
// object under the pointer (objects with "TranspForClick" let it through) takes its
// look and pressed state. A left press or release elsewhere un-presses every object.
TSlidePointerResult PointerOnSlide(TKivObject& root, const TSlidePointer& pointer);

}  // namespace kiv
