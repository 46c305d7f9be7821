#pragma once
// Keys and mouse buttons of the show's window turned into show actions, by the show's
// options: the key table (Esc exits, the arrows and media keys move through the show
// …), the mouse options "opt_leftmouse", "opt_rightmouse" and "opt_dblclick", and
// the screen saver's rule that any input ends the show.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/kiv_mouse.h"
#include "engine/mouse_move_detector.h"
#include "engine/show_keys.h"
#include "ini/ini_storage.h"
#include "model/action_info.h"

namespace kiv {

// One mapping of a key: it matches an event of its kind whose modifiers, masked, equal
// its value.
struct TKeyMap {
  uint8_t ModifierMask = 0;
  uint8_t ModifierValue = 0;
  uint8_t Kind = kKeyDownEvent;
  TKivActionInfo Action;
};

class TInputMappingClass {
 public:
  // From the show's "main" section.
  explicit TInputMappingClass(const TIniStorage& project);

  // The first mapping of the key that matches; none for key codes beyond 255. In a
  // screen saver every key exits.
  const TKeyMap* MapKey(uint32_t modifiers, int keyCode, uint8_t kind) const;
  // The action of a mouse event (x, y in client pixels): in a screen saver any button
  // exits; with a move detector a move away exits; else a left press, a right press
  // and a left double click take the show's mouse options.
  TKivActionInfo MapMouse(uint32_t keyState, int32_t x, TMouseEvent event, int32_t button, int32_t y);

  // The show lets the user move it ("opt_synchpermitcontrol").
  bool ControlPermitted() const { return FControlPermitted; }
  bool ScreenSaver() const { return FScreenSaver; }
  // The keys that go on from a stop point where the show does not let the user move it.
  static bool ReleasesStop(int keyCode);

 private:
  void Add(int keyCode, uint8_t modifierValue, TKivActionInfo action);

  std::array<std::vector<TKeyMap>, 256> FKeys;
  TKivActionInfo FLeftMouse;
  TKivActionInfo FRightMouse;
  TKivActionInfo FDoubleClick;
  std::optional<TMouseMoveDetector> FMoveDetector;
  bool FControlPermitted = true;
  bool FScreenSaver = false;
  TKeyMap FExitMapping;
};

// The action of a mouse option's value ("Exit", "Next slide", "Prev. slide", "Help",
// "Pause", "Go to first", compared exactly); any other value maps nothing.
TKivActionInfo MouseOptionAction(std::u16string_view value);

}  // namespace kiv
