#pragma once
// The window the show plays in, as the viewer drives it: shown with the first frame,
// placed where the show asks, closed when the show is over. What the screens look like
// comes from the window too, so the placement rule runs the same on any desktop.
#include "base/rect.h"
#include "engine/window_placement.h"

namespace kiv {

class IShowWindow {
 public:
  virtual ~IShowWindow() = default;
  virtual bool IsShown() const = 0;
  virtual void Show() = 0;
  virtual void Place(const TWindowPlacement& placement) = 0;
  // Ends the show's window; the main loop stops after the message being handled.
  virtual void Close() = 0;
  virtual TScreenLayout Screens() const = 0;
  // The extra width and height a frame of that style adds around the client area.
  virtual TPixelSize FrameExtent(TWindowFrameStyle style) const = 0;
  // Another program is about to start: a window kept over the others (full screen, or
  // on top) steps back so that the program's window can be seen.
  virtual void MakeRoomForLaunch() {}
  // The program did not start after all: the window is put back over the others.
  virtual void LaunchFailed() {}
};

}  // namespace kiv
