#pragma once
// The page roll: the incoming slide lies rolled up on a cylinder at one edge (class 14)
// or corner (class 15) of the slide area and unrolls across it; types 5 … 8 roll the
// outgoing slide up instead. The roll's side facing away shows the slide or a back
// colour, shaded by how it faces the viewer; in the 3D variant the roll rises towards
// the viewer.
#include "render/transitions/transition_filter.h"

namespace kiv {

class TRollEffect : public TTransitionFilter {
 public:
  // diameter: the roll's radius in pixels (at least 2); variants: the paper wraps three
  // quarters of a turn instead of half a turn; backColour: with useBackColour the
  // roll's back is drawn in it; curving: how far the 3D roll rises, in radii.
  TRollEffect(int effectClass, int effectType, const TEffectParams& params, const TRect& rect, int softEdge,
              int32_t duration, float diameter, bool variants, bool useBackColour, TRgb backColour, bool roll3D,
              float curving);

  void DrawEffect(T3DDrawer& drawer, TEffectSlide slide) override;

  // The direction the roll travels in, as a unit vector.
  TPointF Direction() const { return FDirection; }
  // Where a point of the slide at distance along the direction lies at the current time
  // (distance and depth): flat behind the roll's front, wrapped round the roll past it.
  TPointF Wrapped(float along) const;

 private:
  float Front() const;
  // Angle round the roll of a point at distance along: 0 flat … the wrap limit.
  float TurnAt(float along) const;

  TPointF FDirection;
  float FRadius;
  float FWrap;  // how far the paper wraps round: π or 3π/2
  bool FUseBackColour;
  TRgb FBackColour;
  bool F3D;
  float FCurving;
  float FStart = 0;  // the front's way along the direction
  float FEnd = 0;
};

}  // namespace kiv
