#include "app/sdl_message_loop.h"

#include <SDL2/SDL.h>

#include <stdexcept>
#include <string>

#include "app/sdl_input.h"
#include "base/clock.h"
#include "engine/show_keys.h"

namespace kiv {

namespace {

std::unique_ptr<TKivEventData> MessageOf(const SDL_Event& event) {
  return std::unique_ptr<TKivEventData>(static_cast<TKivEventData*>(event.user.data1));
}

}  // namespace

TSdlMessageLoop::TSdlMessageLoop() : FEventType(SDL_RegisterEvents(1)) {
  if (FEventType == uint32_t(-1)) throw std::runtime_error(std::string("SDL events: ") + SDL_GetError());
}

TSdlMessageLoop::~TSdlMessageLoop() {
  SDL_Event event;
  while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, FEventType, FEventType) == 1) MessageOf(event);
}

void TSdlMessageLoop::PostToMain(std::unique_ptr<TKivEventData> message) {
  SDL_Event event{};
  event.type = FEventType;
  event.user.data1 = message.get();
  if (SDL_PushEvent(&event) == 1) message.release();  // the loop owns it now
}

namespace {

// The keyboard's modifiers and the mouse's buttons as they are now.
uint32_t HeldState() { return ModifierBitsOf(SDL_GetModState()) | ButtonBitsOf(SDL_GetMouseState(nullptr, nullptr)); }

void HandOn(const SDL_Event& event, const TSdlMessageLoop::THandlers& handlers) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (const int key = VirtualKeyOf(event.key.keysym.sym); key && handlers.Key)
        handlers.Key(ModifierBitsOf(event.key.keysym.mod), key, event.type == SDL_KEYDOWN ? kKeyDownEvent : kKeyUpEvent);
      break;
    case SDL_MOUSEMOTION:
      if (handlers.Mouse)
        handlers.Mouse(ModifierBitsOf(SDL_GetModState()) | ButtonBitsOf(event.motion.state), event.motion.x,
                       TMouseEvent::Move, 0, event.motion.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const bool down = event.type == SDL_MOUSEBUTTONDOWN;
      const uint32_t own = ButtonBitsOf(SDL_BUTTON(event.button.button));
      const uint32_t state = down ? HeldState() | own : HeldState() & ~own;
      if (handlers.Mouse && event.button.which != SDL_TOUCH_MOUSEID)
        handlers.Mouse(state, event.button.x, down ? PressEventOf(event.button.clicks) : TMouseEvent::Release,
                       MouseButtonOf(event.button.button), event.button.y);
      break;
    }
    case SDL_MOUSEWHEEL: {
      int x = 0, y = 0;
      SDL_GetMouseState(&x, &y);
      const int32_t steps = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
      if (handlers.Wheel && steps != 0) handlers.Wheel(HeldState(), x, steps, y);
      break;
    }
    default:
      if (handlers.Other) handlers.Other(event);
      break;
  }
}

}  // namespace

void TSdlMessageLoop::Run(const THandlers& handlers) {
  SDL_Event event;
  uint32_t lastTick = Clock().NowMs();
  while (!FQuit) {
    if (handlers.TickWanted && handlers.Tick && handlers.TickWanted()) {
      const uint32_t since = Clock().NowMs() - lastTick;
      if (since >= kTickInterval) {
        lastTick = Clock().NowMs();
        handlers.Tick();
        continue;
      }
      if (!SDL_WaitEventTimeout(&event, int(kTickInterval - since))) continue;
    } else if (!SDL_WaitEvent(&event)) {
      break;
    }
    if (event.type == FEventType) {
      if (std::unique_ptr<TKivEventData> message = MessageOf(event)) handlers.Message(*message);
    } else if (event.type == SDL_QUIT ||
               (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)) {
      handlers.CloseRequest();
    } else {
      HandOn(event, handlers);
    }
  }
}

}  // namespace kiv
