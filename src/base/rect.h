#pragma once
// A rectangle of whole pixels, shared by the show model, the engine and the device layer.
#include <algorithm>
#include <cstdint>

namespace kiv {

// A size in whole pixels: of a window, a slide area, a picture to be made.
struct TPixelSize {
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const TPixelSize&) const = default;
};

// A point in fractional pixels.
struct TPointF {
  float X = 0;
  float Y = 0;
  bool operator==(const TPointF&) const = default;
};

// Right and bottom are exclusive.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool operator==(const TRect&) const = default;
};

inline TRect Intersection(const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
  return r.IsEmpty() ? TRect{} : r;
}

inline int64_t Area(const TRect& r) { return r.IsEmpty() ? 0 : int64_t(r.Width()) * r.Height(); }

inline TRect OffsetRect(const TRect& r, int32_t dx, int32_t dy) {
  return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

}  // namespace kiv
