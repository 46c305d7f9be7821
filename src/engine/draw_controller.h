#pragma once
// The drawing controller as the engine drives it: it ties the engine to the window's
// draw device and the slide drawer, and composes each frame from the slide list.
#include <cstdint>
#include <memory>

#include "base/rect.h"
#include "engine/slide_entry.h"
#include "engine/third_slide.h"
#include "graphics/bitmap.h"

namespace kiv {

// Flags of IKivDrawController::GetState.
enum TDrawStateFlag : uint32_t {
  kDrawerReady = 1,        // a drawer with a device exists (consumes a re-initialise request)
  kDeviceNeedsReinit = 2,  // the device was lost or changed: slides must rebuild their device objects
  kDeviceRefreshed = 4,    // the window needs repainting (cleared by the call)
  kWindowActive = 8,       // the show's window is the active one
};

// How the composed frame is finished.
struct TFrameStyle {
  uint32_t HiderColor = 0;
  double UnsharpAmount = 0;
  uint8_t UnsharpThreshold = 0;
};

class IKivDrawController {
 public:
  virtual ~IKivDrawController() = default;
  virtual uint32_t GetState() = 0;
  virtual TPixelSize DeviceSize() = 0;
  // Makes the drawer unless it exists.
  virtual void EnsureDrawer() = 0;
  // Composes the frame of show time from the slides and the overlay; false when there
  // is nothing to draw.
  virtual bool Compose(const TSlideList& slides, double time, IThirdSlide* overlay) = 0;
  // The composed frame differs from the one drawn last.
  virtual bool FrameChanged() = 0;
  // Draws the composed frame at size; failures are raised to the caller.
  virtual void Draw(TPixelSize size, const TFrameStyle& style) = 0;
  // A frame without slides, all in the hider colour.
  virtual void DrawEmpty(uint32_t hiderColor) = 0;
  // Prepares a slide's device objects, positioned at slideTime ms into the slide. Called
  // from the loader's thread as well as the engine's.
  virtual void PreloadSlide(IKivSlideEntry& slide, double slideTime) = 0;
  // The frame of show time as a picture; null when it cannot be rendered.
  virtual std::unique_ptr<TBitmap> RenderSnapshot(const TSlideList& slides, double time) = 0;
};

}  // namespace kiv
