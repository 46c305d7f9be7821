#include "app/sdl_message_loop.h"

#include <SDL2/SDL.h>

#include <stdexcept>
#include <string>

#include "engine/show_keys.h"

namespace kiv {

namespace {

// The virtual key code of the keys the show's window answers; 0 for the others.
int VirtualKeyCode(SDL_Keycode key) {
  switch (key) {
    case SDLK_ESCAPE:
      return kKeyEscape;
    case SDLK_LEFT:
      return kKeyLeft;
    case SDLK_RIGHT:
      return kKeyRight;
    default:
      return 0;
  }
}

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

void TSdlMessageLoop::Run(const THandlers& handlers) {
  SDL_Event event;
  while (!FQuit && SDL_WaitEvent(&event)) {
    if (event.type == FEventType) {
      if (std::unique_ptr<TKivEventData> message = MessageOf(event)) handlers.Message(*message);
    } else if (event.type == SDL_KEYDOWN) {
      if (const int key = VirtualKeyCode(event.key.keysym.sym)) handlers.Key(key);
    } else if (event.type == SDL_QUIT ||
               (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)) {
      handlers.CloseRequest();
    } else if (handlers.Other) {
      handlers.Other(event);
    }
  }
}

}  // namespace kiv
