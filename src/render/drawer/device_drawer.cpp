#include "render/drawer/device_drawer.h"

#include <cmath>
#include <exception>
#include <mutex>
#include <string>

#include "base/log.h"
#include "render/drawer/draw_filter.h"
#include "render/drawer/draw_item.h"
#include "render/drawer/kiv_filter.h"
#include "render/drawer/scoped_count.h"
#include "render/drawer/yuv_3d.h"

namespace kiv {

namespace {

// One frame is drawn at a time in the whole process.
std::recursive_mutex& DrawingLock() {
  static std::recursive_mutex lock;
  return lock;
}

}  // namespace

void TDeviceDrawer::Draw(TDrawItem& item) {
  if (FDrawDepth > 0) {
    TScopedCount nested(FDrawDepth);
    item.Draw(*this);
    return;
  }
  std::lock_guard lock(DrawingLock());
  TScopedCount outermost(FDrawDepth);
  if (!BeginFrame()) return;
  try {
    item.Draw(*this);
  } catch (const std::exception& failure) {
    Log().Write(std::string("TDeviceDrawer.Draw failed: ") + failure.what());
  }
  EndDraw();
  EndFrame();
}

bool TDeviceDrawer::BeginFrame() {
  // Nothing a frame before left behind moves this one.
  FOffset = {};
  switch (FContentMode) {
    case TContentMode::WholeTarget: FContentRect = FTargetRect; break;
    case TContentMode::Given: break;
    case TContentMode::Centred: {
      const int left = int(std::lround((FTargetRect.Left + FTargetRect.Right - FContentWidth) / 2.0));
      const int top = int(std::lround((FTargetRect.Top + FTargetRect.Bottom - FContentHeight) / 2.0));
      FContentRect = {left, top, left + FContentWidth, top + FContentHeight};
      break;
    }
  }
  if (FFrameCallback) FFrameCallback(kFrameBegun);
  return true;
}

void TDeviceDrawer::EndDraw() {
  if (FFrameCallback) FFrameCallback(kFrameDrawn);
}

void TDeviceDrawer::SetContentRect(const TRect& rect) {
  FContentMode = TContentMode::Given;
  FContentRect = rect;
}

void TDeviceDrawer::SetContentSize(int width, int height) {
  FContentMode = TContentMode::Centred;
  FContentWidth = width;
  FContentHeight = height;
}

void TDeviceDrawer::FillBorders(uint32_t colour) {
  const uint32_t opaque = colour | 0xFF000000u;
  const TRect& t = FTargetRect;
  const TRect c{FContentRect.Left - 1, FContentRect.Top - 1, FContentRect.Right + 1, FContentRect.Bottom + 1};
  const TRect bars[] = {{t.Left, t.Top, t.Right, c.Top},
                        {t.Left, c.Top, c.Left, c.Bottom},
                        {c.Right, c.Top, t.Right, c.Bottom},
                        {t.Left, c.Bottom, t.Right, t.Bottom}};
  for (const TRect& bar : bars)
    if (!bar.IsEmpty()) FillRect(opaque, bar);
}

void TDeviceDrawer::DrawTransition(TDrawItem& first, TDrawItem& second, bool noEffect, TKivFilter* filter) {
  if (noEffect || !filter) {
    Draw(first);
    return;
  }
  TDrawFilter* transition = filter->Transition(FContentRect);
  if (transition) transition->SetTime(filter->Time());
  if (!filter->Running()) {
    Draw(second);
    return;
  }
  if (!transition) {
    Draw(first);
    return;
  }
  DrawThroughTransition(first, second, *transition, filter->Progress());
}

std::unique_ptr<T3DYUV> TDeviceDrawer::CreateYUV(int, int) { return nullptr; }

TVector3 TDeviceDrawer::ToTarget(const TVector3& point) const {
  return point + TVector3{float(FContentRect.Left) + FOffset.X, float(FContentRect.Top) + FOffset.Y, 0};
}

TQuadPlace TDeviceDrawer::ToTarget(const TQuadPlace& place) const {
  return {ToTarget(place.Origin), place.AxisX, place.AxisY};
}

}  // namespace kiv
