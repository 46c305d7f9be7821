#include "render/transitions/common_filter.h"

#include "render/transitions/soft_band.h"

namespace kiv {

TCommonFilter::TCommonFilter(int effectClass, int effectType, const TEffectParams& params, const TRect& rect,
                             int softEdge, int32_t duration, TPointF centre)
    : TCanvasFilter(effectClass, effectType, params, rect, softEdge, duration), FCentre(centre) {}

TPointF TCommonFilter::Centre() const {
  const TRect& r = Rect();
  return {float(r.Left) + FCentre.X * float(r.Width()), float(r.Top) + FCentre.Y * float(r.Height())};
}

void TCommonFilter::Draw(TEffectCanvas& canvas) {
  const float soft = float(SoftEdge());
  const float maximum = ComputeExtent() + soft;
  const float grown = float(Progress()) * maximum;
  const float reach = Reverse() ? maximum - grown : grown;
  const float inner = reach - soft;
  if (inner > 0) canvas.Polygon(Outline(inner, 255));
  for (const TBandRing& ring : SoftBandRings(inner, reach, maximum))
    DrawRing(canvas, ring.From, ring.To, ring.AlphaInside, ring.AlphaOutside);
}

void TCommonFilter::DrawRing(TEffectCanvas& canvas, float from, float to, float alphaFrom, float alphaTo) const {
  const TMaskPolygon near = Outline(from, alphaFrom);
  const TMaskPolygon far = Outline(to, alphaTo);
  for (size_t k = 0; k < near.size(); ++k) {
    const size_t next = (k + 1) % near.size();
    canvas.Polygon({near[k], near[next], far[next], far[k]});
  }
}

}  // namespace kiv
