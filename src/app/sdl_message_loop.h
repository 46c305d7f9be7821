#pragma once
// The main thread's message loop on SDL. The engine's messages travel as SDL user events
// of a type registered for them, so they arrive in order with the window's own events
// (keys, the mouse, closing) on the thread that runs the loop. Keys and the mouse are
// handed on in the show's terms (sdl_input.h).
#include <cstdint>
#include <functional>
#include <memory>

#include "engine/kiv_event_data.h"
#include "engine/kiv_mouse.h"

union SDL_Event;

namespace kiv {

class TSdlMessageLoop : public IMainThreadPoster {
 public:
  struct THandlers {
    std::function<void(TKivEventData& message)> Message;  // a message of the engine
    // A key event: modifier bits, virtual key code (keys without one are dropped), TKeyEventKind.
    std::function<void(uint32_t modifiers, int keyCode, uint8_t kind)> Key;
    // A mouse move, press or release in client pixels, with the modifier and button bits
    // held at it (a press holds its own button, a release no longer does).
    std::function<void(uint32_t keyState, int32_t x, TMouseEvent event, int32_t button, int32_t y)> Mouse;
    // The wheel turned steps notches away from the user (negative: towards).
    std::function<void(uint32_t modifiers, int32_t x, int32_t steps, int32_t y)> Wheel;
    std::function<void()> CloseRequest;                 // the user or the system closes the window
    std::function<void(const SDL_Event& event)> Other;  // any other event; none: dropped
    // Called every TickInterval ms while TickWanted says so.
    std::function<bool()> TickWanted;
    std::function<void()> Tick;
  };
  static constexpr uint32_t kTickInterval = 20;  // ms

  // SDL's video, and with it its event queue, must be running. Fails when no event type
  // is left to register.
  TSdlMessageLoop();
  // Frees the messages that were never delivered.
  ~TSdlMessageLoop() override;
  TSdlMessageLoop(const TSdlMessageLoop&) = delete;
  TSdlMessageLoop& operator=(const TSdlMessageLoop&) = delete;

  // Any thread. A message SDL cannot queue is dropped.
  void PostToMain(std::unique_ptr<TKivEventData> message) override;

  // Delivers events to the handlers until Quit.
  void Run(const THandlers& handlers);
  // Main thread: the loop ends after the event being handled.
  void Quit() { FQuit = true; }

 private:
  uint32_t FEventType;
  bool FQuit = false;
};

}  // namespace kiv
