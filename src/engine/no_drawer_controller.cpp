#include "engine/no_drawer_controller.h"

namespace kiv {

uint32_t TNoDrawerController::GetState() {
  // A new size is reported once, as a device to re-initialise; the engine acts on that
  // only together with a ready drawer, so both flags go out.
  uint32_t flags = FWindowActive ? uint32_t(kWindowActive) : 0u;
  // Taken in one step, so that a size set meanwhile is not lost.
  if (FNeedsReinit.exchange(false)) flags |= kDeviceNeedsReinit | kDrawerReady;
  return flags;
}

void TNoDrawerController::SetDeviceSize(TPixelSize size) {
  FWidth = size.Width;
  FHeight = size.Height;
  FNeedsReinit = true;
}

bool TNoDrawerController::Compose(const TSlideList& slides, double time, IThirdSlide*) {
  FChanged = time != FComposedTime;
  FComposedTime = time;
  return !slides.empty();
}

void TNoDrawerController::Draw(TPixelSize size, const TFrameStyle&) {
  FDrawWidth = size.Width;
  FDrawHeight = size.Height;
  ++FFramesDrawn;
}

void TNoDrawerController::PreloadSlide(IKivSlideEntry&, double) { ++FSlidesPreloaded; }

}  // namespace kiv
