#include "app/sdl_input.h"

#include <SDL2/SDL.h>

#include "engine/show_keys.h"

namespace kiv {

namespace {

struct TKeyCode {
  SDL_Keycode Key;
  int Code;
};

// Keys whose virtual code is not their character's; letters and digits follow below.
constexpr TKeyCode kKeyCodes[] = {
    {SDLK_BACKSPACE, 8},        {SDLK_TAB, 9},           {SDLK_RETURN, kKeyEnter},   {SDLK_KP_ENTER, kKeyEnter},
    {SDLK_LSHIFT, 16},          {SDLK_RSHIFT, 16},       {SDLK_LCTRL, 17},           {SDLK_RCTRL, 17},
    {SDLK_LALT, 18},            {SDLK_RALT, 18},         {SDLK_PAUSE, kKeyPause},    {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, kKeyEscape},  {SDLK_SPACE, kKeySpace}, {SDLK_PAGEUP, kKeyPageUp},  {SDLK_PAGEDOWN, kKeyPageDown},
    {SDLK_END, kKeyEnd},        {SDLK_HOME, kKeyHome},   {SDLK_LEFT, kKeyLeft},      {SDLK_UP, kKeyUp},
    {SDLK_RIGHT, kKeyRight},    {SDLK_DOWN, kKeyDown},   {SDLK_PRINTSCREEN, 44},     {SDLK_INSERT, 45},
    {SDLK_DELETE, 46},          {SDLK_LGUI, 91},         {SDLK_RGUI, 92},            {SDLK_APPLICATION, 93},
    {SDLK_KP_0, 96},            {SDLK_KP_1, 97},         {SDLK_KP_2, 98},            {SDLK_KP_3, 99},
    {SDLK_KP_4, 100},           {SDLK_KP_5, 101},        {SDLK_KP_6, 102},           {SDLK_KP_7, 103},
    {SDLK_KP_8, 104},           {SDLK_KP_9, 105},        {SDLK_KP_MULTIPLY, 106},    {SDLK_KP_PLUS, 107},
    {SDLK_KP_MINUS, 109},       {SDLK_KP_PERIOD, 110},   {SDLK_KP_DIVIDE, 111},      {SDLK_NUMLOCKCLEAR, 144},
    {SDLK_SCROLLLOCK, 145},     {SDLK_AC_BACK, kKeyBrowserBack}, {SDLK_AC_FORWARD, kKeyBrowserForward},
    {SDLK_AC_REFRESH, 168},     {SDLK_AC_STOP, 169},     {SDLK_AC_SEARCH, 170},      {SDLK_AC_BOOKMARKS, 171},
    {SDLK_AC_HOME, 172},        {SDLK_MUTE, 173},        {SDLK_AUDIOMUTE, 173},      {SDLK_VOLUMEDOWN, 174},
    {SDLK_VOLUMEUP, 175},       {SDLK_AUDIONEXT, kKeyMediaNext}, {SDLK_AUDIOPREV, kKeyMediaPrevious},
    {SDLK_AUDIOSTOP, kKeyMediaStop}, {SDLK_AUDIOPLAY, kKeyMediaPlayPause}, {SDLK_MAIL, 180},
    {SDLK_MEDIASELECT, 181},    {SDLK_SEMICOLON, 186},   {SDLK_EQUALS, 187},         {SDLK_COMMA, 188},
    {SDLK_MINUS, 189},          {SDLK_PERIOD, 190},      {SDLK_SLASH, 191},          {SDLK_BACKQUOTE, 192},
    {SDLK_LEFTBRACKET, 219},    {SDLK_BACKSLASH, 220},   {SDLK_RIGHTBRACKET, 221},   {SDLK_QUOTE, 222},
};

}  // namespace

int VirtualKeyOf(int32_t sdlKey) {
  if (sdlKey >= SDLK_a && sdlKey <= SDLK_z) return 'A' + (sdlKey - SDLK_a);
  if (sdlKey >= SDLK_0 && sdlKey <= SDLK_9) return '0' + (sdlKey - SDLK_0);
  if (sdlKey >= SDLK_F1 && sdlKey <= SDLK_F12) return kKeyF1 + (sdlKey - SDLK_F1);
  if (sdlKey >= SDLK_F13 && sdlKey <= SDLK_F24) return kKeyF1 + 12 + (sdlKey - SDLK_F13);
  for (const TKeyCode& key : kKeyCodes)
    if (key.Key == sdlKey) return key.Code;
  return 0;
}

uint32_t ModifierBitsOf(uint32_t sdlModifiers) {
  uint32_t bits = 0;
  if (sdlModifiers & KMOD_GUI) bits |= kStateWindows;
  if (sdlModifiers & KMOD_SHIFT) bits |= kStateShift;
  if (sdlModifiers & KMOD_ALT) bits |= kStateAlt;
  if (sdlModifiers & KMOD_CTRL) bits |= kStateCtrl;
  return bits;
}

uint32_t ButtonBitsOf(uint32_t sdlButtons) {
  uint32_t bits = 0;
  if (sdlButtons & SDL_BUTTON_LMASK) bits |= kStateLeftButton;
  if (sdlButtons & SDL_BUTTON_RMASK) bits |= kStateRightButton;
  if (sdlButtons & SDL_BUTTON_MMASK) bits |= kStateMiddleButton;
  return bits;
}

int32_t MouseButtonOf(uint8_t sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT:
      return kLeftButton;
    case SDL_BUTTON_RIGHT:
      return kRightButton;
    case SDL_BUTTON_MIDDLE:
      return kMiddleButton;
    default:
      return 0;
  }
}

TMouseEvent PressEventOf(uint8_t clicks) { return clicks >= 2 && clicks % 2 == 0 ? TMouseEvent::DoubleClick : TMouseEvent::Press; }

}  // namespace kiv
