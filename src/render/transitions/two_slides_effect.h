#pragma once
// Two slides: the outgoing and the incoming slide move as cards, one swinging out to
// the side and back while the other comes forward from the opposite side; type 1 to
// the right, 2 to the left, 3 down, 4 up. The sideways kinds stand on a floor that
// reflects them.
#include "render/transitions/transition_filter.h"

namespace kiv {

class TTwoSlidesEffect : public TTransitionFilter {
 public:
  // width: how far a card swings aside, in slide widths (heights for 3 and 4); depth:
  // how far it goes back, in slide heights; maxAngle: its largest tilt in degrees.
  TTwoSlidesEffect(int effectClass, int effectType, const TEffectParams& params, const TRect& rect, int softEdge,
                   int32_t duration, float width, float depth, float maxAngle);

  TEffectPass Pass() const override { return TEffectPass::TwoSlides; }
  void DrawEffect(T3DDrawer& drawer, TEffectSlide slide) override;

 private:
  // The card of a slide that has gone x (0 … 1) of its way out, to the side of sense.
  void DrawCard(T3DDrawer& drawer, float x, float sense);

  float FWidth;
  float FDepth;
  float FMaxAngle;  // radians
};

}  // namespace kiv
