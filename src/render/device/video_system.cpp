#include "render/device/video_system.h"

#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>

#include "base/log.h"

namespace kiv {

namespace {

// Drivers that show nothing: a show plays on them only when the user asked for one by
// name (SDL_VIDEODRIVER), never because no display could be reached.
bool ShowsNothing(const char* driver) {
  return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0 ||
                    std::strcmp(driver, "evdev") == 0);
}

bool StartDisplay() {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  if (!ShowsNothing(SDL_GetCurrentVideoDriver()) || (asked && *asked)) return true;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  SDL_SetError("no display (DISPLAY and WAYLAND_DISPLAY name no server)");
  return false;
}

bool StartVideo(TVideoMode mode) {
  if (mode == TVideoMode::Display) return StartDisplay();
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
