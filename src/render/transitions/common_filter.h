#pragma once
// Transitions that reveal a slide through a shape growing from a centre (a circle, a
// rhomb, a square, a strip, diagonal bands): opaque up to the soft edge, then fading
// out over it. In reverse the shape shrinks over the outgoing slide.
#include "render/transitions/canvas_filter.h"

namespace kiv {

class TCommonFilter : public TCanvasFilter {
 public:
  // centre: fractions of the slide area's width and height.
  TCommonFilter(int effectClass, int effectType, const TEffectParams& params, const TRect& rect, int softEdge,
                int32_t duration, TPointF centre);

 protected:
  void Draw(TEffectCanvas& canvas) override;

  // The centre in frame pixels.
  TPointF Centre() const;
  // The reach at which the shape covers the whole slide area, soft edge not counted.
  virtual float ComputeExtent() const = 0;
  // The shape's outline at distance from its centre, every corner with alpha: a convex
  // polygon with the same number of corners for every distance, corner k of one
  // distance facing corner k of another.
  virtual TMaskPolygon Outline(float distance, float alpha) const = 0;

 private:
  // The band between the outlines at two distances.
  void DrawRing(TEffectCanvas& canvas, float from, float to, float alphaFrom, float alphaTo) const;

  TPointF FCentre;
};

}  // namespace kiv
