#pragma once
// The video system the program draws with: a display, or none at all. Held open for
// the lifetime of the object that made it.
#include <string>

namespace kiv {

enum class TVideoMode {
  Display,    // the desktop the user sits at (a driver named by SDL_VIDEODRIVER is honoured)
  Offscreen,  // no display: windows exist only to draw into, on EGL
};

class TVideoSystem {
 public:
  explicit TVideoSystem(TVideoMode mode = TVideoMode::Display);
  ~TVideoSystem();
  TVideoSystem(const TVideoSystem&) = delete;
  TVideoSystem& operator=(const TVideoSystem&) = delete;
  // False when the video system could not start (no display and no offscreen driver).
  bool Started() const { return FStarted; }
  TVideoMode Mode() const { return FMode; }

 private:
  TVideoMode FMode;
  bool FStarted;
};

// Why the last video call of this thread failed.
std::string VideoError();

}  // namespace kiv
