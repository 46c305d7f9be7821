#include "app/sdl_show_window.h"

#include <SDL2/SDL.h>

#include <stdexcept>
#include <string>

#include "base/text.h"
#include "engine/drawing_controller.h"
#include "render/device/sdl_window.h"

namespace kiv {

namespace {

TRect RectOf(const SDL_Rect& r) { return {r.x, r.y, r.x + r.w, r.y + r.h}; }

struct TBorders {
  int Top = 0;
  int Left = 0;
  int Bottom = 0;
  int Right = 0;
};

TBorders BordersOf(SDL_Window* window) {
  TBorders borders;
  if (SDL_GetWindowBordersSize(window, &borders.Top, &borders.Left, &borders.Bottom, &borders.Right) != 0) return {};
  return borders;
}

}  // namespace

constexpr TRect kFirstRect{0, 0, 640, 480};

TSdlShowWindow::TSdlShowWindow(std::u16string_view title, std::function<void()> onClose)
    : FWindow(CreateDrawWindow(kFirstRect, Utf16ToUtf8(title).c_str())), FOnClose(std::move(onClose)) {
  if (!FWindow) throw std::runtime_error(std::string("The show's window cannot be made: ") + SDL_GetError());
  FDevice = std::make_unique<TDrawDevice>(FWindow.get(), kFirstRect);
}

void TSdlShowWindow::Show() {
  SDL_ShowWindow(SdlWindowOf(FWindow.get()));
  FShown = true;
}

void TSdlShowWindow::Place(const TWindowPlacement& placement) {
  SDL_Window* window = SdlWindowOf(FWindow.get());
  SDL_SetWindowBordered(window, placement.FrameStyle == kNoFrame ? SDL_FALSE : SDL_TRUE);
  SDL_SetWindowResizable(window, placement.FrameStyle == kResizableFrame ? SDL_TRUE : SDL_FALSE);
  SDL_SetWindowSize(window, placement.Client.Width, placement.Client.Height);
  // SDL places the client area; the bounds include the frame.
  const TBorders borders = placement.FrameStyle == kNoFrame ? TBorders{} : BordersOf(window);
  SDL_SetWindowPosition(window, placement.Bounds.Left + borders.Left, placement.Bounds.Top + borders.Top);
  FDevice->SetFullScreen(!placement.Windowed);
  FollowWindow();
}

void TSdlShowWindow::Close() {
  FClosed = true;
  SDL_HideWindow(SdlWindowOf(FWindow.get()));
  FOnClose();
}

void TSdlShowWindow::MakeRoomForLaunch() {
  SDL_Window* window = SdlWindowOf(FWindow.get());
  const uint32_t flags = SDL_GetWindowFlags(window);
  FDroppedOnTop = !FClosed && (flags & SDL_WINDOW_ALWAYS_ON_TOP) != 0;
  FMinimised = !FClosed && (flags & SDL_WINDOW_FULLSCREEN) != 0 && (flags & SDL_WINDOW_MINIMIZED) == 0;
  if (FDroppedOnTop) SDL_SetWindowAlwaysOnTop(window, SDL_FALSE);
  if (FMinimised) SDL_MinimizeWindow(window);
}

void TSdlShowWindow::LaunchFailed() {
  SDL_Window* window = SdlWindowOf(FWindow.get());
  if (FClosed || (!FDroppedOnTop && !FMinimised)) return;
  if (FMinimised) SDL_RestoreWindow(window);
  if (FDroppedOnTop) SDL_SetWindowAlwaysOnTop(window, SDL_TRUE);
  SDL_RaiseWindow(window);
  FDroppedOnTop = FMinimised = false;
}

SDL_Window* TSdlShowWindow::SdlWindow() const { return SdlWindowOf(FWindow.get()); }

void TSdlShowWindow::FollowWindow() {
  int left = 0, top = 0, width = 0, height = 0;
  SDL_GetWindowPosition(SdlWindowOf(FWindow.get()), &left, &top);
  SDL_GetWindowSize(SdlWindowOf(FWindow.get()), &width, &height);
  FDevice->SetRect({left, top, left + width, top + height});
}

void TSdlShowWindow::TakeEvent(const SDL_Event& event) {
  if (event.type != SDL_WINDOWEVENT || event.window.windowID != SDL_GetWindowID(SdlWindowOf(FWindow.get()))) return;
  switch (event.window.event) {
    case SDL_WINDOWEVENT_MOVED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      FollowWindow();
      if (FDrawing) FDrawing->Refresh();
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      if (FDrawing) FDrawing->Refresh();
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST:
      if (FDrawing) FDrawing->SetWindowActive(event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED);
      break;
    default:
      break;
  }
}

TScreenLayout TSdlShowWindow::Screens() const {
  TScreenLayout layout;
  const int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(i, &bounds) == 0) layout.Monitors.push_back(RectOf(bounds));
  }
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) == 0)
    layout.WorkArea = RectOf(usable);
  else if (!layout.Monitors.empty())
    layout.WorkArea = layout.Monitors[0];
  return layout;
}

TPixelSize TSdlShowWindow::FrameExtent(TWindowFrameStyle style) const {
  if (style == kNoFrame) return {};
  const TBorders borders = BordersOf(SdlWindowOf(FWindow.get()));
  return {borders.Left + borders.Right, borders.Top + borders.Bottom};
}

}  // namespace kiv
