#pragma once
// Rectangles, points and matrices shared by the device layer and everything drawn on it.
#include <algorithm>
#include <cstdint>

#include "base/rect.h"
#include "base/vector3.h"

namespace kiv {

// A rectangle in fractional pixels, for texture and picture areas.
struct TRectF {
  float Left = 0;
  float Top = 0;
  float Right = 0;
  float Bottom = 0;

  float Width() const { return Right - Left; }
  float Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
};

// A transform for row vectors: v' = v · M, translation in row 4. M[r][c] is the element
// of row r + 1 and column c + 1.
struct TMatrix4 {
  float M[4][4] = {};

  static TMatrix4 Identity() {
    TMatrix4 m;
    for (int i = 0; i < 4; ++i) m.M[i][i] = 1;
    return m;
  }
};

}  // namespace kiv
