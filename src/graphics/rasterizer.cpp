#include "graphics/rasterizer.h"

#include <algorithm>
#include <cmath>

#include "base/errors.h"
#include "graphics/pixel_blend.h"

namespace kiv {

namespace {

// The edge's x at the middle of sub-row j, in 1/16 pixel. Damaged shapes may have
// extreme slopes: the result is held far outside any picture instead of overflowing.
int32_t XAt(const TEdge& edge, int32_t j) {
  constexpr double kLimit = double(1 << 30);
  const double x = std::round((double(j) - edge.Y + 0.5) * double(edge.Slope)) + edge.X;
  return int32_t(std::clamp(x, -kLimit, kLimit));
}

}  // namespace

void TRasterizer::Fill(TOutline& outline, TBitmap& picture, uint32_t colour, const TFillFunction* fill) {
  KIV_ASSERT(picture.Format() == TPixelFormat::Bgra32);
  std::vector<TEdge>& edges = outline.Edges();
  if (edges.empty()) return;
  std::stable_sort(edges.begin(), edges.end(), [](const TEdge& a, const TEdge& b) { return a.Y < b.Y; });
  FClipWidth = picture.Width() * kSubPixels;
  const int32_t bottom = picture.Height() * kSubPixels;
  FCells.assign(size_t(picture.Width()), 0);
  FRuns.assign(size_t(picture.Width()) + 1, 0);
  FMinColumn = picture.Width();
  FMaxColumn = -1;
  FActive.clear();
  const bool evenOdd = outline.EvenOdd();
  size_t next = 0;
  int32_t j = std::max(edges[0].Y, 0);
  int32_t row = j / kSubPixels;
  while (j < bottom) {
    if (j / kSubPixels != row) {
      BlendRow(picture, row, colour, fill);
      row = j / kSubPixels;
    }
    while (next < edges.size() && edges[next].Y <= j) FActive.push_back({&edges[next++], 0});
    size_t kept = 0;
    for (const TActiveEdge& active : FActive) {
      if (j - active.Edge->Y >= active.Edge->Height) continue;  // passed its bottom
      FActive[kept++] = {active.Edge, XAt(*active.Edge, j)};
    }
    FActive.resize(kept);
    if (FActive.empty()) {
      if (next == edges.size()) break;
      j = edges[next].Y;
      continue;
    }
    // From one sub-row to the next the order barely changes: insertion sort.
    for (size_t i = 1; i < FActive.size(); ++i) {
      const TActiveEdge moving = FActive[i];
      size_t k = i;
      for (; k > 0 && FActive[k - 1].X > moving.X; --k) FActive[k] = FActive[k - 1];
      FActive[k] = moving;
    }
    int winding = 0, sign = 1;
    int32_t left = 0;
    for (const TActiveEdge& active : FActive) {
      if (winding == 0) sign = active.Edge->Direction;
      const int turns = winding * sign;
      if (evenOdd ? (turns & 1) != 0 : turns > 0) CoverSpan(std::max(left, 0), std::min(active.X, FClipWidth));
      if (active.X >= FClipWidth) break;
      left = active.X;
      winding += active.Edge->Direction;
    }
    ++j;
  }
  BlendRow(picture, row, colour, fill);
}

void TRasterizer::CoverSpan(int32_t x0, int32_t x1) {
  if (x0 >= x1) return;
  const int32_t first = x0 / kSubPixels, last = (x1 - 1) / kSubPixels;
  if (first == last) {
    FCells[size_t(first)] += uint16_t(x1 - x0);
  } else {
    FCells[size_t(first)] += uint16_t(kSubPixels - x0 % kSubPixels);
    FCells[size_t(last)] += uint16_t((x1 - 1) % kSubPixels + 1);
    // The whole pixels between get 16 each, summed up when the row is blended.
    ++FRuns[size_t(first) + 1];
    --FRuns[size_t(last)];
  }
  FMinColumn = std::min(FMinColumn, first);
  FMaxColumn = std::max(FMaxColumn, last);
}

void TRasterizer::BlendRow(TBitmap& picture, int y, uint32_t colour, const TFillFunction* fill) {
  if (FMinColumn > FMaxColumn) return;
  uint8_t* pixels = picture.Row(y);
  int runs = 0;
  for (int32_t x = FMinColumn; x <= FMaxColumn; ++x) {
    runs += FRuns[size_t(x)];
    FRuns[size_t(x)] = 0;
    const int coverage = FCells[size_t(x)] + runs * kSubPixels;
    if (coverage == 0) continue;
    FCells[size_t(x)] = 0;
    const uint32_t source = fill != nullptr ? (*fill)(x, y) : colour;
    uint8_t* pixel = pixels + size_t(x) * 4;
    if (coverage >= 256 && source >> 24 == 0xFF) {
      // The inside of an opaque shape, most of its pixels: the colour as it is.
      pixel[0] = uint8_t(source), pixel[1] = uint8_t(source >> 8), pixel[2] = uint8_t(source >> 16);
      pixel[3] = 0xFF;
    } else {
      BlendOver(pixel, WithCoverage(source, std::min(coverage, 256)));
    }
  }
  FMinColumn = picture.Width();
  FMaxColumn = -1;
}

}  // namespace kiv
