#include "render/transitions/mask_polygon.h"

namespace kiv {

namespace {

// One side of the clipping rectangle: how far inside a point lies (negative outside).
using TInside = float (*)(const TMaskPoint&, const TRectF&);

TMaskPoint Between(const TMaskPoint& a, const TMaskPoint& b, float t) {
  return {a.X + (b.X - a.X) * t, a.Y + (b.Y - a.Y) * t, a.Alpha + (b.Alpha - a.Alpha) * t};
}

TMaskPolygon ClipToSide(const TMaskPolygon& polygon, const TRectF& rect, TInside inside) {
  TMaskPolygon kept;
  for (size_t i = 0; i < polygon.size(); ++i) {
    const TMaskPoint& a = polygon[i];
    const TMaskPoint& b = polygon[(i + 1) % polygon.size()];
    const float da = inside(a, rect);
    const float db = inside(b, rect);
    if (da >= 0) kept.push_back(a);
    if ((da >= 0) != (db >= 0)) kept.push_back(Between(a, b, da / (da - db)));
  }
  return kept;
}

}  // namespace

TMaskPolygon ClipToRect(const TMaskPolygon& polygon, const TRectF& rect) {
  static constexpr TInside kSides[] = {
      [](const TMaskPoint& p, const TRectF& r) { return p.X - r.Left; },
      [](const TMaskPoint& p, const TRectF& r) { return r.Right - p.X; },
      [](const TMaskPoint& p, const TRectF& r) { return p.Y - r.Top; },
      [](const TMaskPoint& p, const TRectF& r) { return r.Bottom - p.Y; },
  };
  TMaskPolygon clipped = polygon;
  for (TInside side : kSides) {
    if (clipped.size() < 3) return {};
    clipped = ClipToSide(clipped, rect, side);
  }
  return clipped.size() < 3 ? TMaskPolygon{} : clipped;
}

}  // namespace kiv
