#include "model/object_quad.h"

namespace kiv {

TQuadPlace ObjectQuad(const TKivObject& object) {
  const TPlacementFrame& frame = object.Frame();
  const TPointF offset = object.CentreOffset();
  const TSizeF size = object.Size();
  return {frame.PointAt({offset.X, offset.Y, 0}), frame.AxisX * size.Width, frame.AxisY * size.Height};
}

}  // namespace kiv
