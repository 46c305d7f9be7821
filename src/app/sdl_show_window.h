#pragma once
// The show's window on SDL: made hidden and ready for OpenGL ES drawing, shown with the
// first frame, placed as the viewer says; the desktop's monitors and work area come from
// SDL's displays.
#include <functional>
#include <string_view>

#include "engine/show_window.h"
#include "render/device/sdl_video.h"

namespace kiv {

class TSdlShowWindow : public IShowWindow {
 public:
  // SDL's video must be running; fails when SDL cannot make the window. onClose runs
  // when the show's window is to close.
  TSdlShowWindow(std::u16string_view title, std::function<void()> onClose);

  bool IsShown() const override { return FShown; }
  void Show() override;
  void Place(const TWindowPlacement& placement) override;
  void Close() override { FOnClose(); }
  // Display 0 is the primary monitor; the work area is its usable part.
  TScreenLayout Screens() const override;
  // The frame SDL reports for the window; nothing where the system cannot tell (no
  // window manager, or a window not yet framed).
  TPixelSize FrameExtent(TWindowFrameStyle style) const override;

 private:
  TSdlWindowPtr FWindow;
  std::function<void()> FOnClose;
  bool FShown = false;
};

}  // namespace kiv
