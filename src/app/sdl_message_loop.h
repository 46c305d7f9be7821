#pragma once
// The main thread's message loop on SDL. The engine's messages travel as SDL user events
// of a type registered for them, so they arrive in order with the window's own events
// (keys, closing) on the thread that runs the loop.
#include <cstdint>
#include <functional>
#include <memory>

#include "engine/kiv_event_data.h"

union SDL_Event;

namespace kiv {

class TSdlMessageLoop : public IMainThreadPoster {
 public:
  struct THandlers {
    std::function<void(TKivEventData& message)> Message;  // a message of the engine
    std::function<void(int keyCode)> Key;                 // a key went down (virtual key code)
    std::function<void()> CloseRequest;                   // the user or the system closes the window
    std::function<void(const SDL_Event& event)> Other;    // any other event; none: dropped
  };

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
