#include "kivshow/frame_capture_controller.h"

#include <algorithm>
#include <cmath>

#include "model/kiv_source.h"
#include "render/drawer/drawer_3d.h"

namespace kiv {

namespace {

// Show times are whole milliseconds on the stepped clock; this absorbs rounding only.
bool SameTime(double a, double b) { return std::abs(a - b) < 0.5; }

}  // namespace

TFrameCaptureController::TFrameCaptureController(std::unique_ptr<IKivDrawController> inner, const TKivSource& show)
    : FInner(std::move(inner)), FShow(show), FVisible(show) {}

uint32_t TFrameCaptureController::GetState() { return FInner->GetState() | kWindowActive; }

bool TFrameCaptureController::Compose(const TSlideList& slides, double time, IThirdSlide* overlay) {
  const bool composed = FInner->Compose(slides, time, overlay);
  std::optional<double> wanted;
  {
    std::lock_guard lock(FLock);
    if (FWanting) wanted = FWanted;
  }
  const bool holdsWanted = wanted && HoldsSlidesShownAt(slides, *wanted);
  {
    std::lock_guard lock(FLock);
    FComposed = {FComposed.Count + 1, time};
    FComposedComplete = composed && holdsWanted && SameTime(*wanted, time) && IsWanted(time);
  }
  FCaught.notify_all();  // the renderer may move the clock on from here
  return composed;
}

bool TFrameCaptureController::HoldsSlidesShownAt(const TSlideList& slides, double time) {
  const TVisibleSlides visible = FVisible.VisibleSlides(time);
  for (int index = visible.First; index <= visible.Last; ++index) {
    const double start = FShow.SlideTiming(index).Info.StartTime;
    const bool listed = std::any_of(slides.begin(), slides.end(), [start](const std::shared_ptr<IKivSlideEntry>& slide) {
      return SameTime(slide->Timing().StartTime, start);
    });
    if (!listed) return false;
  }
  return true;
}

bool TFrameCaptureController::IsWanted(double time) const {
  return FWanting && !FFrame && SameTime(time, FWanted);
}

bool TFrameCaptureController::FrameChanged() {
  {
    std::lock_guard lock(FLock);
    if (FWanting) return FComposedComplete;
  }
  return FInner->FrameChanged();
}

void TFrameCaptureController::DrawEmpty(uint32_t hiderColor) {
  {
    std::lock_guard lock(FLock);
    FComposedComplete = false;
  }
  FInner->DrawEmpty(hiderColor);
}

void TFrameCaptureController::FrameDrawn(double showTime, T3DDrawer& drawer) {
  bool readBack;
  {
    std::lock_guard lock(FLock);
    if (!FComposedComplete || !IsWanted(showTime)) return;
    readBack = FReadBack;
  }
  std::unique_ptr<TBitmap> frame = readBack ? drawer.CaptureFrame() : nullptr;
  if (readBack && !frame) return;  // tried again with the next frame drawn
  std::lock_guard lock(FLock);
  FFrame = std::move(frame);
  FComposedComplete = false;
  FCaught.notify_all();
}

void TFrameCaptureController::Want(double ms, bool readBack) {
  std::lock_guard lock(FLock);
  FWanting = true;
  FWanted = ms;
  FReadBack = readBack;
  FFrame.reset();
  FComposedComplete = false;
}

TFrameCaptureController::TComposed TFrameCaptureController::LastComposed() const {
  std::lock_guard lock(FLock);
  return FComposed;
}

std::optional<std::unique_ptr<TBitmap>> TFrameCaptureController::TakeFrame(std::chrono::milliseconds wait) {
  std::unique_lock lock(FLock);
  const int64_t composed = FComposed.Count;
  FCaught.wait_for(lock, wait, [&] { return FFrame.has_value() || FComposed.Count != composed; });
  std::optional<std::unique_ptr<TBitmap>> taken = std::move(FFrame);
  FFrame.reset();
  if (taken) FWanting = false;
  return taken;
}

}  // namespace kiv
