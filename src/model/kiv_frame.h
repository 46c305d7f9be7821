#pragma once
// A rectangular outline on a slide ("frame"): read like a box, drawn as four bars in
// colour 1 (with "Alpha1") along its edges.
//
// The project gives no thickness, so the bars take one fiftieth of the frame's smaller
// side: a frame keeps its proportions when it is scaled, like everything else on the
// slide. They are at least one own pixel, so that a small frame stays visible, and at
// most half of each side, so that the bars never overlap.
#include "model/kiv_box.h"

namespace kiv {

class TKivFrame : public TKivBox {
 public:
  using TKivBox::TKivBox;

  static constexpr float kThicknessDivisor = 50;

 protected:
  void DrawShape(TDeviceDrawer& drawer, const TQuadPlace& place) const override;
};

}  // namespace kiv
