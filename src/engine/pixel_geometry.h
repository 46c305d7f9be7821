#pragma once
// Sizes and rectangles in screen pixels (right and bottom exclusive).
#include <cstdint>

namespace kiv {

struct TPixelSize {
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const TPixelSize&) const = default;
};

struct TPixelRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool operator==(const TPixelRect&) const = default;
};

}  // namespace kiv
