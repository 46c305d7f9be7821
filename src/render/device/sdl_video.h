#pragma once
// SDL's video subsystem and the windows that OpenGL ES draws into. With the environment
// variable SDL_VIDEODRIVER=offscreen SDL runs on EGL without a display.
#include <memory>

#include "render/device/geometry_3d.h"

struct SDL_Window;

namespace kiv {

// Holds the video subsystem open for its lifetime; Started() is false when SDL could
// not start it (no display and no offscreen driver).
class TSdlVideo {
 public:
  TSdlVideo();
  ~TSdlVideo();
  TSdlVideo(const TSdlVideo&) = delete;
  TSdlVideo& operator=(const TSdlVideo&) = delete;
  bool Started() const { return FStarted; }

 private:
  bool FStarted;
};

struct TSdlWindowDeleter {
  void operator()(SDL_Window* window) const;
};
using TSdlWindowPtr = std::unique_ptr<SDL_Window, TSdlWindowDeleter>;

// A hidden window at rect ready for an OpenGL ES 3.0 context; null on failure. Sets the
// context attributes every context of the program uses.
TSdlWindowPtr CreateDrawWindow(const TRect& rect, const char* title = "");

// Asks SDL for OpenGL ES 3.0 contexts without depth or stencil buffers.
void SetContextAttributes();

}  // namespace kiv
