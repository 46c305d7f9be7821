#pragma once
// SDL's keys, modifiers and mouse buttons in the terms of the show's input: virtual key
// codes, modifier and button bits, the show's button numbers and event kinds.
#include <cstdint>

#include "engine/kiv_mouse.h"

namespace kiv {

// The virtual key code of an SDL key (SDL_Keycode); 0 for keys the show's tables have
// no number for.
int VirtualKeyOf(int32_t sdlKey);
// kStateShift … of SDL's key modifiers (SDL_Keymod).
uint32_t ModifierBitsOf(uint32_t sdlModifiers);
// kStateLeftButton … of SDL's button mask (SDL_BUTTON_LMASK …).
uint32_t ButtonBitsOf(uint32_t sdlButtons);
// The show's number of an SDL button (SDL_BUTTON_LEFT …); 0 for the others.
int32_t MouseButtonOf(uint8_t sdlButton);
// A press counted by SDL as the clicks-th in a row: every second one is a double
// click, and then not also a press.
TMouseEvent PressEventOf(uint8_t clicks);

}  // namespace kiv
