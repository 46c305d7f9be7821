#include "render/device/sdl_video.h"

#include <SDL2/SDL.h>

#include "base/log.h"

namespace kiv {

TSdlVideo::TSdlVideo() : FStarted(SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
  if (!FStarted) Log().Write(std::string("SDL video: ") + SDL_GetError());
}

TSdlVideo::~TSdlVideo() {
  if (FStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void TSdlWindowDeleter::operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }

void SetContextAttributes() {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
}

TSdlWindowPtr CreateDrawWindow(const TRect& rect, const char* title) {
  SetContextAttributes();
  SDL_Window* window = SDL_CreateWindow(title, rect.Left, rect.Top, std::max(1, rect.Width()),
                                        std::max(1, rect.Height()),
                                        SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!window) Log().Write(std::string("SDL window: ") + SDL_GetError());
  return TSdlWindowPtr(window);
}

}  // namespace kiv
