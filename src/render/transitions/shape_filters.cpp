#include "render/transitions/shape_filters.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kiv {

namespace {

float Hypot(float x, float y) { return std::sqrt(x * x + y * y); }

// The rectangle [left, right] × [top, bottom] as an outline.
TMaskPolygon Box(float left, float top, float right, float bottom, float alpha) {
  return {{left, top, alpha}, {right, top, alpha}, {right, bottom, alpha}, {left, bottom, alpha}};
}

}  // namespace

// ---- Circle ------------------------------------------------------------------------

// How far the centre lies outside the slide area: the circle starts growing from there.
float TCircleFilter::Outside() const {
  const TPointF c = Centre();
  const TRect& r = Rect();
  const float outX = std::max({float(r.Left) - c.X, c.X - float(r.Right), 0.0f});
  const float outY = std::max({float(r.Top) - c.Y, c.Y - float(r.Bottom), 0.0f});
  return Hypot(outX, outY);
}

float TCircleFilter::ComputeExtent() const {
  const TPointF c = Centre();
  const TRect& r = Rect();
  const float farX = std::max(std::abs(c.X - float(r.Left)), std::abs(float(r.Right) - c.X));
  const float farY = std::max(std::abs(c.Y - float(r.Top)), std::abs(float(r.Bottom) - c.Y));
  return Hypot(farX, farY) - Outside();
}

TMaskPolygon TCircleFilter::Outline(float distance, float alpha) const {
  const TPointF c = Centre();
  const float outside = Outside();
  const float radius = distance + outside;
  const int sectors = outside > 0 ? 256 : 128;
  TMaskPolygon outline(size_t(sectors), {0, 0, alpha});
  for (int k = 0; k < sectors; ++k) {
    const double angle = 2 * std::numbers::pi * k / sectors;
    outline[size_t(k)].X = c.X + radius * float(std::cos(angle));
    outline[size_t(k)].Y = c.Y + radius * float(std::sin(angle));
  }
  return outline;
}

// ---- Rhomb and square ----------------------------------------------------------------

float TRhombFilter::ComputeExtent() const { return float(Rect().Width() + Rect().Height()) / 2; }

TMaskPolygon TRhombFilter::Outline(float distance, float alpha) const {
  const TPointF c = Centre();
  return {{c.X, c.Y - distance, alpha}, {c.X + distance, c.Y, alpha}, {c.X, c.Y + distance, alpha},
          {c.X - distance, c.Y, alpha}};
}

float TSquareFilter::ComputeExtent() const { return float(Rect().Width()) / 2; }

TMaskPolygon TSquareFilter::Outline(float distance, float alpha) const {
  const TPointF c = Centre();
  const float down = Rect().Width() > 0 ? distance * float(Rect().Height()) / float(Rect().Width()) : distance;
  return Box(c.X - distance, c.Y - down, c.X + distance, c.Y + down, alpha);
}

// ---- Strips --------------------------------------------------------------------------

float THLines::ComputeExtent() const {
  const float cx = Centre().X;
  return std::max(cx - float(Rect().Left), float(Rect().Right) - cx);
}

TMaskPolygon THLines::Outline(float distance, float alpha) const {
  const float cx = Centre().X;
  return Box(cx - distance, float(Rect().Top), cx + distance, float(Rect().Bottom), alpha);
}

float TVLines::ComputeExtent() const {
  const float cy = Centre().Y;
  return std::max(cy - float(Rect().Top), float(Rect().Bottom) - cy);
}

TMaskPolygon TVLines::Outline(float distance, float alpha) const {
  const float cy = Centre().Y;
  return Box(float(Rect().Left), cy - distance, float(Rect().Right), cy + distance, alpha);
}

// ---- Diagonal bands --------------------------------------------------------------------

TDiagLines::TDiagLines(int effectClass, int effectType, const TEffectParams& params, const TRect& rect, int softEdge,
                       int32_t duration, int mode, bool mirrored)
    : TCommonFilter(effectClass, effectType, params, rect, softEdge, duration, {0.5f, 0.5f}),
      FMode(std::clamp(mode, 0, 2)),
      FMirrored(mirrored) {}

float TDiagLines::Start() const {
  const float size = float(Rect().Width() + Rect().Height());
  return FMode == 0 ? 0 : FMode == 1 ? size / 2 : size;
}

float TDiagLines::ComputeExtent() const {
  return FMode == 1 ? Start() : float(Rect().Width() + Rect().Height());
}

TMaskPolygon TDiagLines::Outline(float distance, float alpha) const {
  const TRect& r = Rect();
  const float height = float(r.Height());
  // The band's middle crosses the top at top and the bottom at bottom.
  const float top = float(r.Left) + Start() - (FMirrored ? height : 0);
  const float bottom = float(r.Left) + Start() - (FMirrored ? 0 : height);
  // A side that is not seen stays beyond the area whatever the distance.
  const float beyond = float(r.Width()) + height + 1;
  const float leftTop = FMode == 0 ? float(r.Left) - beyond : top - distance;
  const float leftBottom = FMode == 0 ? float(r.Left) - beyond : bottom - distance;
  const float rightTop = FMode == 2 ? float(r.Right) + beyond : top + distance;
  const float rightBottom = FMode == 2 ? float(r.Right) + beyond : bottom + distance;
  return {{leftTop, float(r.Top), alpha}, {rightTop, float(r.Top), alpha}, {rightBottom, float(r.Bottom), alpha},
          {leftBottom, float(r.Bottom), alpha}};
}

}  // namespace kiv
