#pragma once
// The show's window on SDL: made hidden and ready for OpenGL ES drawing, shown with the
// first frame, placed as the viewer says; the desktop's monitors and work area come from
// SDL's displays. Its draw device follows where the window is, and its drawing controller
// hears when the window was uncovered, resized or lost the focus.
#include <functional>
#include <memory>
#include <string_view>

#include "engine/show_window.h"
#include "render/device/draw_device.h"
#include "render/device/output_window.h"

union SDL_Event;
struct SDL_Window;

namespace kiv {

class TDrawingController;

class TSdlShowWindow : public IShowWindow {
 public:
  // SDL's video must be running; fails when SDL cannot make the window. onClose runs
  // when the show's window is to close.
  TSdlShowWindow(std::u16string_view title, std::function<void()> onClose);

  bool IsShown() const override { return FShown; }
  void Show() override;
  void Place(const TWindowPlacement& placement) override;
  // Hidden at once, so that a program started as the show ends is seen.
  void Close() override;
  // Display 0 is the primary monitor; the work area is its usable part.
  TScreenLayout Screens() const override;
  // The frame SDL reports for the window; nothing where the system cannot tell (no
  // window manager, or a window not yet framed).
  TPixelSize FrameExtent(TWindowFrameStyle style) const override;
  // A window on top is on top no more while a program starts, and a window that owns
  // the screen is minimised; both come back when the program did not start.
  void MakeRoomForLaunch() override;
  void LaunchFailed() override;

  // The device the window's renderers draw into: its rectangle is the client area on
  // the desktop, full screen while the window is placed so.
  TDrawDevice& Device() { return *FDevice; }
  // The controller drawing into the window (not owned; none: nobody to tell).
  void SetDrawing(TDrawingController* drawing) { FDrawing = drawing; }
  SDL_Window* SdlWindow() const;
  // An event of SDL's queue; the window takes those about itself.
  void TakeEvent(const SDL_Event& event);

 private:
  // The device takes the window's client rectangle as it is now.
  void FollowWindow();

  TOutputWindowPtr FWindow;
  // Destroyed before the window: its renderers' contexts belong to the window.
  std::unique_ptr<TDrawDevice> FDevice;
  std::function<void()> FOnClose;
  TDrawingController* FDrawing = nullptr;
  bool FShown = false;
  bool FClosed = false;
  bool FDroppedOnTop = false;  // by MakeRoomForLaunch
  bool FMinimised = false;     // by MakeRoomForLaunch
};

}  // namespace kiv
