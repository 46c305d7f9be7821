#include "render/device/video_system.h"

#include <SDL2/SDL.h>

#include "base/log.h"

namespace kiv {

namespace {

bool StartVideo(TVideoMode mode) {
  if (mode == TVideoMode::Display) return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  // The offscreen choice is the program's own: it outranks SDL_VIDEODRIVER, and it is
  // forgotten once made so that a later display start sees the environment again.
  SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE);
  const bool started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  SDL_ResetHint(SDL_HINT_VIDEODRIVER);
  return started;
}

}  // namespace

TVideoSystem::TVideoSystem(TVideoMode mode) : FMode(mode), FStarted(StartVideo(mode)) {
  if (!FStarted) Log().Write(std::string("SDL video: ") + SDL_GetError());
}

TVideoSystem::~TVideoSystem() {
  if (FStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::string VideoError() { return SDL_GetError(); }

}  // namespace kiv
