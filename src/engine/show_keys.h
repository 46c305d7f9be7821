#pragma once
// Keys and modifiers of the show's window. Keys are numbered by the virtual key codes
// the show's key tables use (0 … 255), whatever the window system calls them.
#include <cstdint>

namespace kiv {

enum TVirtualKey : int {
  kKeyEnter = 13,
  kKeyPause = 19,
  kKeyEscape = 27,
  kKeySpace = 32,
  kKeyPageUp = 33,
  kKeyPageDown = 34,
  kKeyEnd = 35,
  kKeyHome = 36,
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40,
  kKeyP = 80,  // letters and digits are their upper-case ASCII codes
  kKeyF1 = 112,
  kKeyBrowserBack = 166,
  kKeyBrowserForward = 167,
  kKeyMediaNext = 176,
  kKeyMediaPrevious = 177,
  kKeyMediaStop = 178,
  kKeyMediaPlayPause = 179,
};

// Bits of the modifier and button state that comes with keys and mouse events.
enum TInputStateBit : uint32_t {
  kStateWindows = 1,
  kStateShift = 2,
  kStateAlt = 4,
  kStateCtrl = 8,
  kStateLeftButton = 16,
  kStateRightButton = 32,
  kStateMiddleButton = 64,
};

// The kinds of key events.
enum TKeyEventKind : uint8_t {
  kKeyDownEvent = 1,
  kKeyUpEvent = 2,
};

// Buttons of mouse events.
enum TMouseButton : int32_t {
  kLeftButton = 1,
  kRightButton = 2,
  kMiddleButton = 4,
};

}  // namespace kiv
