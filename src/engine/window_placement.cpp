#include "engine/window_placement.h"

#include <algorithm>
#include <cmath>

namespace kiv {

namespace {

TRect PlacementArea(const TScreenLayout& screens, const TPlacementOptions& options) {
  if (options.DesktopAlign || screens.Monitors.empty()) return screens.WorkArea;
  const bool valid = options.Display >= 1 && size_t(options.Display) <= screens.Monitors.size();
  return screens.Monitors[valid ? size_t(options.Display - 1) : 0];
}

}  // namespace

TWindowPlacement PlaceShowWindow(TPixelSize size, TWindowMode mode, const TScreenLayout& screens,
                                 const TPlacementOptions& options, const TFrameExtent& frameExtent) {
  TWindowPlacement placement;
  const bool bordered = mode == kBorderedWindow;
  placement.FrameStyle = bordered ? (options.Resize ? kResizableFrame : kFixedFrame) : kNoFrame;
  placement.Windowed = mode != kFullScreenWindow;

  const TRect area = PlacementArea(screens, options);
  const TPixelSize frame = bordered ? frameExtent(placement.FrameStyle) : TPixelSize{};
  TPixelSize client = mode == kFullScreenWindow ? TPixelSize{area.Width(), area.Height()} : size;

  if (client.Width <= 0 || client.Height <= 0) {
    client = {area.Width() - frame.Width, area.Height() - frame.Height};
  } else if (client.Width + frame.Width > area.Width() || client.Height + frame.Height > area.Height()) {
    const double scale = std::min(double(area.Height() - frame.Height) / client.Height,
                                  double(area.Width() - frame.Width) / client.Width);
    client = {int32_t(std::lround(client.Width * scale)), int32_t(std::lround(client.Height * scale))};
  }
  placement.Client = client;

  const int32_t width = client.Width + frame.Width;
  const int32_t height = client.Height + frame.Height;
  const int32_t left = area.Left + (area.Width() - width) / 2;
  const int32_t top = area.Top + (area.Height() - height) / 2;
  placement.Bounds = {left, top, left + width, top + height};
  return placement;
}

}  // namespace kiv
