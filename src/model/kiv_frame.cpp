#include "model/kiv_frame.h"

#include <algorithm>

namespace kiv {

void TKivFrame::DrawShape(TDeviceDrawer& drawer, const TQuadPlace& place) const {
  const TSizeF size = Size();
  const float thickness = std::max(std::min(size.Width, size.Height) / kThicknessDivisor, 1.0f);
  TFrameParams frame;
  frame.Color = BoxPaint(BoxKeys()).Color1;
  frame.Opacity = EffectiveOpacity();
  frame.ThicknessX = std::min(thickness, size.Width / 2);
  frame.ThicknessY = std::min(thickness, size.Height / 2);
  frame.Soft = BoxKeys().Antialiased;
  drawer.DrawFrame(place, frame);
}

}  // namespace kiv
