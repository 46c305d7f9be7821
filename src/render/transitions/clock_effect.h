#pragma once
// The clock: a hand turns once round the middle of the slide area from twelve o'clock,
// the area it has swept showing the incoming slide; type 2 turns the other way. Both
// edges of the swept area are soft, and they harden over the second half of the turn
// so that the last sliver closes without a seam. (Moving the soft edges over to the side
// still to be swept instead, in a blend between 0.9π and 1.1π, leaves a stripe of
// half-mixed colour along both edges while the blend lasts.)
#include "render/transitions/canvas_filter.h"

namespace kiv {

class TClockEffect : public TCanvasFilter {
 public:
  using TCanvasFilter::TCanvasFilter;

  // How opaque the incoming slide is at point at the current time: 0 … 255.
  float AlphaAt(TPointF point) const;

 protected:
  void Draw(TEffectCanvas& canvas) override;

 private:
  TPointF Centre() const;
  // The hand's angle, clockwise from twelve o'clock: 0 … 2π.
  float HandAngle() const;
  // The soft edges' width in pixels at the current time.
  float SoftWidth() const;
  // AlphaAt for a point at angle (clockwise from twelve o'clock, mirrored for type 2)
  // and distance from the centre.
  float PolarAlpha(float angle, float radius) const;
  // point as seen from the centre: its angle clockwise from twelve o'clock (mirrored
  // for type 2) and its distance.
  TPointF Polar(TPointF point) const;
  TPointF FromPolar(float angle, float radius) const;
};

}  // namespace kiv
