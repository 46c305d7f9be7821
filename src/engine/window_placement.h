#pragma once
// Where the show's window goes when the engine asks for a window of a size and mode:
// on the chosen monitor or the desktop work area, shrunk to fit with its frame, and
// centred. The screens and frame sizes are handed in, so the rule holds for any set of
// monitors.
#include <functional>
#include <vector>

#include "base/rect.h"

namespace kiv {

enum TWindowMode : int { kFullScreenWindow = 0, kBorderedWindow = 1, kBorderlessWindow = 2 };

// Frame styles of the show's window.
enum TWindowFrameStyle : int { kNoFrame = 0, kResizableFrame = 1, kFixedFrame = 5 };

struct TScreenLayout {
  std::vector<TRect> Monitors;  // the primary monitor first
  TRect WorkArea;               // the desktop without task bars
};

struct TPlacementOptions {
  int Display = 0;            // 1-based monitor; any other number means the primary one
  bool DesktopAlign = false;  // place within the work area instead of a monitor
  bool Resize = false;        // a bordered window may be resized
};

// The extra width and height a frame of that style adds around the client area.
using TFrameExtent = std::function<TPixelSize(TWindowFrameStyle style)>;

struct TWindowPlacement {
  TRect Bounds;  // the whole window, frame included
  TPixelSize Client;
  TWindowFrameStyle FrameStyle = kNoFrame;
  bool Windowed = false;
};

TWindowPlacement PlaceShowWindow(TPixelSize size, TWindowMode mode, const TScreenLayout& screens,
                                 const TPlacementOptions& options, const TFrameExtent& frameExtent);

}  // namespace kiv
