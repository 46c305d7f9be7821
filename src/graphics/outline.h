#pragma once
// The edges of a shape to fill, in fixed point of 1/16 pixel, gathered contour by
// contour from points already mapped to the target picture.
#include <algorithm>
#include <cstdint>
#include <vector>

namespace kiv {

inline constexpr int kSubPixels = 16;  // sub-columns and sub-rows per pixel

// One straight edge with a height of at least one sub-row.
struct TEdge {
  int32_t X = 0;       // at the top, in 1/16 pixel
  int32_t Y = 0;       // the top, in 1/16 pixel
  int32_t Height = 0;  // in sub-rows
  float Slope = 0;     // dx / dy
  int32_t Direction = 0;  // +1 when drawn downwards, -1 when drawn upwards
};

// Far beyond the largest picture (20000 pixels = 320000 sub-pixels), small enough that
// differences and sums of two coordinates stay inside int32.
inline constexpr float kSubPixelLimit = float(1 << 28);

// A coordinate in 1/16 pixel: rounded half away from zero, kept well inside int32 so
// later sums cannot overflow; not-a-number counts as 0.
inline int32_t ToSubPixels(float value) {
  if (value != value) return 0;
  const float scaled = std::clamp(value * kSubPixels, -kSubPixelLimit, kSubPixelLimit);
  // Truncated, then the fraction (exact: both are floats of the same binade or the
  // value is whole already) decides the rounding.
  const int32_t whole = int32_t(scaled);
  const float fraction = scaled - float(whole);
  return whole + (fraction >= 0.5f ? 1 : 0) - (fraction <= -0.5f ? 1 : 0);
}

class TOutline {
 public:
  // Empty, even-odd or not; the edge list keeps its memory for the next shape.
  void Reset(bool evenOdd);
  // Closes the open contour and starts a new one at (x, y), in pixels.
  void MoveTo(float x, float y);
  // An edge from the last point to (x, y), in pixels.
  void LineTo(float x, float y) {
    const int32_t fx = ToSubPixels(x), fy = ToSubPixels(y);
    AddEdge(FLastX, FLastY, fx, fy);
    FLastX = fx;
    FLastY = fy;
  }
  // An edge back to the contour's start point, if the contour is open.
  void Close();

  bool EvenOdd() const { return FEvenOdd; }
  std::vector<TEdge>& Edges() { return FEdges; }
  const std::vector<TEdge>& Edges() const { return FEdges; }

 private:
  void AddEdge(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    if (y0 == y1) return;  // covers no sub-row
    const float slope = float(double(x1 - x0) / double(y1 - y0));
    FEdges.push_back(y0 < y1 ? TEdge{x0, y0, y1 - y0, slope, +1} : TEdge{x1, y1, y0 - y1, slope, -1});
  }

  std::vector<TEdge> FEdges;
  bool FEvenOdd = false;
  int32_t FStartX = 0, FStartY = 0;  // in 1/16 pixel
  int32_t FLastX = 0, FLastY = 0;    // in 1/16 pixel
  bool FClosed = true;
};

}  // namespace kiv
