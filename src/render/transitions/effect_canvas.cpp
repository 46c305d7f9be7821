#include "render/transitions/effect_canvas.h"

#include <algorithm>
#include <cmath>

#include "render/screen/screen_3d.h"
#include "render/screen/vertex_buffer.h"

namespace kiv {

namespace {

uint32_t WhiteWithAlpha(float alpha) {
  return uint32_t(std::lround(std::clamp(alpha, 0.0f, 255.0f))) << 24 | 0xFFFFFFu;
}

}  // namespace

TEffectCanvas::TEffectCanvas(T3DScreen& screen, TCustomTexture& slide, TPointF slideOrigin, const TRect& area)
    : FScreen(screen),
      FSlide(slide),
      FSlideOrigin(slideOrigin),
      FArea{float(area.Left), float(area.Top), float(area.Right), float(area.Bottom)} {}

void TEffectCanvas::Polygon(const TMaskPolygon& polygon) { Draw(polygon, {}); }

void TEffectCanvas::WholeSlide(TPointF offset, float alpha) {
  const TRectF& a = FArea;
  Draw({{a.Left + offset.X, a.Top + offset.Y, alpha},
        {a.Right + offset.X, a.Top + offset.Y, alpha},
        {a.Right + offset.X, a.Bottom + offset.Y, alpha},
        {a.Left + offset.X, a.Bottom + offset.Y, alpha}},
       offset);
}

void TEffectCanvas::Draw(const TMaskPolygon& polygon, TPointF offset) {
  if (!FScreen.IsReady()) return;
  const TMaskPolygon inside = ClipToRect(polygon, FArea);
  if (inside.empty()) return;
  TVertexBuffer& batch = FScreen.Batch();
  TCustomTexture* texture = &FSlide;
  batch.Begin(&texture, 1, true);
  // A fan from the first corner covers a convex polygon.
  const auto vertex = [&](const TMaskPoint& p, TVector3& point, TTexCoord& texel, uint32_t& colour) {
    point = {p.X, p.Y, 0};
    texel = {p.X - offset.X - FSlideOrigin.X, p.Y - offset.Y - FSlideOrigin.Y};
    colour = WhiteWithAlpha(p.Alpha);
  };
  for (size_t i = 1; i + 1 < inside.size(); ++i) {
    TVector3 points[3];
    TTexCoord texels[3];
    uint32_t colours[3];
    vertex(inside[0], points[0], texels[0], colours[0]);
    vertex(inside[i], points[1], texels[1], colours[1]);
    vertex(inside[i + 1], points[2], texels[2], colours[2]);
    batch.AddTriangle(points, texels, colours);
  }
}

}  // namespace kiv
