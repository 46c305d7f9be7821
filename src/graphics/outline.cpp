#include "graphics/outline.h"

#include <algorithm>
#include <cmath>

namespace kiv {

namespace {

// Far beyond the largest picture (20000 pixels = 320000 sub-pixels), small enough that
// differences and sums of two coordinates stay inside int32.
constexpr float kSubPixelLimit = float(1 << 28);

}  // namespace

int32_t ToSubPixels(float value) {
  if (std::isnan(value)) return 0;
  return int32_t(std::lround(std::clamp(value * kSubPixels, -kSubPixelLimit, kSubPixelLimit)));
}

void TOutline::Reset(bool evenOdd) {
  FEdges.clear();
  FEvenOdd = evenOdd;
  FStartX = FStartY = FLastX = FLastY = 0;
  FClosed = true;
}

void TOutline::MoveTo(float x, float y) {
  Close();
  FStartX = FLastX = ToSubPixels(x);
  FStartY = FLastY = ToSubPixels(y);
  FClosed = false;
}

void TOutline::LineTo(float x, float y) {
  const int32_t fx = ToSubPixels(x), fy = ToSubPixels(y);
  AddEdge(FLastX, FLastY, fx, fy);
  FLastX = fx;
  FLastY = fy;
}

void TOutline::Close() {
  if (FClosed) return;
  AddEdge(FLastX, FLastY, FStartX, FStartY);
  FLastX = FStartX;
  FLastY = FStartY;
  FClosed = true;
}

void TOutline::AddEdge(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  if (y0 == y1) return;  // covers no sub-row
  const float slope = float(double(x1 - x0) / double(y1 - y0));
  if (y0 < y1)
    FEdges.push_back({x0, y0, y1 - y0, slope, +1});
  else
    FEdges.push_back({x1, y1, y0 - y1, slope, -1});
}

}  // namespace kiv
