#pragma once
// Where a transition draws: pieces of the slide picture the drawer's effecter holds,
// placed on the frame inside the slide area, each corner with its own alpha.
#include <span>

#include "base/rect.h"
#include "model/keypoint_values.h"
#include "render/transitions/mask_polygon.h"

namespace kiv {

class T3DScreen;
class TCustomTexture;

class TEffectCanvas {
 public:
  // slide: the picture of a slide whose pixel (0, 0) is the frame's pixel at
  // slideOrigin; area: the slide area on the frame, outside which nothing is drawn.
  TEffectCanvas(T3DScreen& screen, TCustomTexture& slide, TPointF slideOrigin, const TRect& area);

  const TRectF& Area() const { return FArea; }
  // The slide where the convex polygon lies, with the polygon's alpha.
  void Polygon(const TMaskPolygon& polygon);
  // The slide as a whole, moved by offset, with one alpha.
  void WholeSlide(TPointF offset, float alpha);

 private:
  // The slide moved by offset where the convex polygon lies.
  void Draw(const TMaskPolygon& polygon, TPointF offset);

  T3DScreen& FScreen;
  TCustomTexture& FSlide;
  TPointF FSlideOrigin;
  TRectF FArea;
};

}  // namespace kiv
