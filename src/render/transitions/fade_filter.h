#pragma once
// The cross-fade: the incoming slide is drawn over the outgoing one, more opaque as the
// change goes on.
#include "render/transitions/canvas_filter.h"

namespace kiv {

class TFadeFilter : public TCanvasFilter {
 public:
  using TCanvasFilter::TCanvasFilter;

 protected:
  void Draw(TEffectCanvas& canvas) override;
};

}  // namespace kiv
