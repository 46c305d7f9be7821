#pragma once
// A 2D affine transform of points: x' = x·M11 + y·M21 + Dx, y' = x·M12 + y·M22 + Dy.
#include "graphics/vector_path.h"

namespace kiv {

struct TAffineMatrix {
  float M11 = 1, M12 = 0;
  float M21 = 0, M22 = 1;
  float Dx = 0, Dy = 0;

  TPointF Map(TPointF p) const { return {p.X * M11 + p.Y * M21 + Dx, p.X * M12 + p.Y * M22 + Dy}; }
  bool IsIdentity() const { return M11 == 1 && M12 == 0 && M21 == 0 && M22 == 1 && Dx == 0 && Dy == 0; }
  bool operator==(const TAffineMatrix&) const = default;
};

// The transform that maps by first, then by second.
inline TAffineMatrix Followed(const TAffineMatrix& first, const TAffineMatrix& second) {
  return {first.M11 * second.M11 + first.M12 * second.M21, first.M11 * second.M12 + first.M12 * second.M22,
          first.M21 * second.M11 + first.M22 * second.M21, first.M21 * second.M12 + first.M22 * second.M22,
          first.Dx * second.M11 + first.Dy * second.M21 + second.Dx,
          first.Dx * second.M12 + first.Dy * second.M22 + second.Dy};
}

}  // namespace kiv
