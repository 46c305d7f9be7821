#pragma once
// Slide in: the incoming slide moves in whole from one side (direction 1 from the left,
// 2 from the right, 3 from the top, 4 from the bottom). Push: the same, while the
// outgoing slide is moved out ahead of it.
#include "render/transitions/canvas_filter.h"

namespace kiv {

class TSlideFilter : public TCanvasFilter {
 public:
  // The direction is the effect type, 1 … 4.
  using TCanvasFilter::TCanvasFilter;

 protected:
  void Draw(TEffectCanvas& canvas) override;
  // The side the incoming slide comes from: (−1, 0) for the left, and so on.
  TPointF From() const;
  // part of the slide area's size towards that side, in pixels.
  TPointF Across(float part) const;
};

class TPushFilter : public TSlideFilter {
 public:
  using TSlideFilter::TSlideFilter;

  TEffectPass Pass() const override { return TEffectPass::Push; }
  TPointF PushOffset() const override;
};

}  // namespace kiv
