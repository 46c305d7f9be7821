#pragma once
// Transitions that draw the slide the effecter holds in pieces onto the frame: masks
// and moving slides.
#include "render/transitions/effect_canvas.h"
#include "render/transitions/transition_filter.h"

namespace kiv {

class TCanvasFilter : public TTransitionFilter {
 public:
  using TTransitionFilter::TTransitionFilter;

  void DrawEffect(T3DDrawer& drawer, TEffectSlide slide) override;

 protected:
  virtual void Draw(TEffectCanvas& canvas) = 0;
};

}  // namespace kiv
