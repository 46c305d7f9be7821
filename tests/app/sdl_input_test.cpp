// SDL's input in the show's terms: the key table, and the message loop handing keys,
// buttons (double clicks as double clicks only) and the wheel on.
#include "app/sdl_input.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/sdl_message_loop.h"
#include "engine/show_keys.h"
#include "render/device/device_test_support.h"

namespace kiv {
namespace {

TEST(SdlInput, KeysHaveTheVirtualCodesOfTheShowsTables) {
  const struct {
    SDL_Keycode Key;
    int Code;
  } keys[] = {{SDLK_ESCAPE, 27},      {SDLK_SPACE, 32},       {SDLK_PAUSE, 19},      {SDLK_p, 80},
              {SDLK_a, 65},           {SDLK_z, 90},           {SDLK_7, 55},          {SDLK_PAGEUP, 33},
              {SDLK_PAGEDOWN, 34},    {SDLK_END, 35},         {SDLK_HOME, 36},       {SDLK_LEFT, 37},
              {SDLK_RIGHT, 39},       {SDLK_RETURN, 13},      {SDLK_KP_ENTER, 13},   {SDLK_F1, 112},
              {SDLK_F12, 123},        {SDLK_F13, 124},        {SDLK_AC_BACK, 166},   {SDLK_AC_FORWARD, 167},
              {SDLK_AUDIONEXT, 176},  {SDLK_AUDIOPREV, 177},  {SDLK_AUDIOSTOP, 178}, {SDLK_AUDIOPLAY, 179},
              {SDLK_VOLUMEUP, 175},   {SDLK_KP_4, 100},       {SDLK_COMMA, 188},     {SDLK_UNKNOWN, 0},
              {SDLK_AUDIOREWIND, 0}};
  for (const auto& key : keys) EXPECT_EQ(VirtualKeyOf(key.Key), key.Code) << SDL_GetKeyName(key.Key);
  EXPECT_EQ(ModifierBitsOf(KMOD_LCTRL | KMOD_RSHIFT), uint32_t(kStateCtrl | kStateShift));
  EXPECT_EQ(ModifierBitsOf(KMOD_RALT | KMOD_LGUI), uint32_t(kStateAlt | kStateWindows));
  EXPECT_EQ(ButtonBitsOf(SDL_BUTTON_LMASK | SDL_BUTTON_MMASK), uint32_t(kStateLeftButton | kStateMiddleButton));
}

SDL_Event Key(uint32_t type, SDL_Keycode key, uint16_t modifiers = 0) {
  SDL_Event event{};
  event.type = type;
  event.key.keysym.sym = key;
  event.key.keysym.mod = modifiers;
  return event;
}

SDL_Event Button(uint32_t type, uint8_t button, uint8_t clicks, int x) {
  SDL_Event event{};
  event.type = type;
  event.button.button = button;
  event.button.clicks = clicks;
  event.button.x = x;
  event.button.y = 20;
  return event;
}

SDL_Event Wheel(int y, uint32_t direction) {
  SDL_Event event{};
  event.type = SDL_MOUSEWHEEL;
  event.wheel.y = y;
  event.wheel.direction = direction;
  return event;
}

TEST(SdlInput, TheLoopHandsKeysButtonsAndTheWheelOn) {
  testing::TestEngine();  // SDL's video, for its event queue
  TSdlMessageLoop loop;
  std::vector<std::string> heard;
  TSdlMessageLoop::THandlers handlers;
  handlers.Key = [&](uint32_t modifiers, int key, uint8_t kind) {
    heard.push_back("key " + std::to_string(key) + " " + std::to_string(modifiers) + (kind == kKeyDownEvent ? " down" : " up"));
  };
  handlers.Mouse = [&](uint32_t state, int32_t x, TMouseEvent event, int32_t button, int32_t y) {
    heard.push_back("mouse " + std::to_string(int(event)) + " button " + std::to_string(button) + " state " +
                    std::to_string(state) + " at " + std::to_string(x) + "," + std::to_string(y));
  };
  handlers.Wheel = [&](uint32_t, int32_t, int32_t steps, int32_t) { heard.push_back("wheel " + std::to_string(steps)); };
  handlers.CloseRequest = [&] { loop.Quit(); };
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  SDL_Event events[] = {Key(SDL_KEYDOWN, SDLK_AUDIOPLAY, KMOD_LCTRL), Key(SDL_KEYUP, SDLK_AC_FORWARD),
                        Key(SDL_KEYDOWN, SDLK_AUDIOREWIND),  // no code: dropped
                        Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 10), Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 10),
                        Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2, 11), Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 3, 12),
                        Wheel(-2, SDL_MOUSEWHEEL_NORMAL), Wheel(1, SDL_MOUSEWHEEL_FLIPPED)};
  for (SDL_Event& event : events) ASSERT_EQ(SDL_PushEvent(&event), 1);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  loop.Run(handlers);
  EXPECT_EQ(heard, (std::vector<std::string>{"key 179 8 down", "key 167 0 up", "mouse 1 button 1 state 16 at 10,20",
                                             "mouse 2 button 1 state 0 at 10,20", "mouse 3 button 1 state 16 at 11,20",
                                             "mouse 1 button 2 state 32 at 12,20", "wheel -2", "wheel -1"}));
}

}  // namespace
}  // namespace kiv
