#include "render/device/output_window.h"

#include <SDL2/SDL.h>

#include <algorithm>

#include "base/log.h"
#include "render/device/sdl_window.h"

namespace kiv {

class TOutputWindow {
 public:
  explicit TOutputWindow(SDL_Window* window) : Window(window) {}
  ~TOutputWindow() { SDL_DestroyWindow(Window); }
  TOutputWindow(const TOutputWindow&) = delete;
  TOutputWindow& operator=(const TOutputWindow&) = delete;

  SDL_Window* const Window;
};

void TOutputWindowDeleter::operator()(TOutputWindow* window) const { delete window; }

SDL_Window* SdlWindowOf(const TOutputWindow* window) { return window ? window->Window : nullptr; }

void SetContextAttributes() {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
}

TOutputWindowPtr CreateDrawWindow(const TRect& rect, const char* title) {
  SetContextAttributes();
  SDL_Window* window = SDL_CreateWindow(title, rect.Left, rect.Top, std::max(1, rect.Width()),
                                        std::max(1, rect.Height()), SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!window) {
    Log().Write(std::string("SDL window: ") + SDL_GetError());
    return nullptr;
  }
  return TOutputWindowPtr(new TOutputWindow(window));
}

}  // namespace kiv
