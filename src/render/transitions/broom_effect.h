#pragma once
// The broom: a soft sweep line turns about a pivot outside the slide area, revealing
// the incoming slide behind it. Types 1 … 4 sweep from above the top, right of the
// right edge, below the bottom and left of the left edge; 5 … 8 from outside the
// top-right, bottom-right, bottom-left and top-left corners; 9 … 16 the same (played
// in reverse by the factory).
#include "render/transitions/canvas_filter.h"

namespace kiv {

class TBroomEffect : public TCanvasFilter {
 public:
  // offset: how far the pivot lies outside the slide area, in pixels.
  TBroomEffect(int effectClass, int effectType, const TEffectParams& params, const TRect& rect, int softEdge,
               int32_t duration, float offset);

 protected:
  void Draw(TEffectCanvas& canvas) override;

 private:
  // Angles are measured clockwise from straight up.
  TPointF FPivot;
  float FStart = 0;  // where the line stands at the beginning, soft edge included
  float FEnd = 0;
  float FSoft = 0;   // the soft edge's angular width
  float FRadius = 0;
};

}  // namespace kiv
