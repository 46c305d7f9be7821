#pragma once
// The show's window taking the user's input: SDL's pointer as the show sees it, and the
// message loop run with keys, mouse and wheel going to a main form on the viewer.
#include <SDL2/SDL.h>

#include <string>

#include "app/sdl_message_loop.h"
#include "app/sdl_show_window.h"
#include "engine/kiv_show_viewer.h"
#include "engine/show_pointer.h"

namespace kiv {

class T3DEngineGL;
class TPresentationRunner;

// The pointer over one SDL window. The cursor shape is changed only when it differs
// from the last one set; the cursor shows again when the object goes.
class TSdlPointer : public IShowPointer {
 public:
  explicit TSdlPointer(SDL_Window* window);
  ~TSdlPointer() override;
  TSdlPointer(const TSdlPointer&) = delete;
  TSdlPointer& operator=(const TSdlPointer&) = delete;

  TPointerState Read() const override;
  void SetShape(TCursorShape shape) override;

 private:
  SDL_Window* FWindow;
  SDL_Cursor* FArrow;
  SDL_Cursor* FHand;
  TCursorShape FShape = TCursorShape::Arrow;
};

// Runs the loop until the window closes, with the viewer's show answering the user's
// input and shows opening one another through shows; gl, when there is one, takes its
// device requests. Returns the process exit code.
int RunShowWindow(TSdlMessageLoop& loop, TSdlShowWindow& window, TKivShowViewer& viewer, T3DEngineGL* gl,
                  TPresentationRunner& shows);

}  // namespace kiv
