#pragma once
// Fills an outline into a Bgra32 picture with anti-aliased edges: each pixel row is
// sampled in 16 sub-rows, each sub-row covers spans of 1/16 pixel, and the coverage a
// pixel gathers (up to 256) scales the alpha of the colour blended over it.
#include <cstdint>
#include <functional>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/outline.h"

namespace kiv {

// The colour (0xAARRGGBB) to paint at a pixel of the target picture.
using TFillFunction = std::function<uint32_t(int x, int y)>;

class TRasterizer {
 public:
  // Fills outline (its edges get sorted by top) into picture, which must be Bgra32,
  // with colour, or with fill's colour at each pixel when fill is given.
  void Fill(TOutline& outline, TBitmap& picture, uint32_t colour, const TFillFunction* fill = nullptr);

 private:
  struct TActiveEdge {
    const TEdge* Edge;
    int32_t X;  // at the current sub-row, in 1/16 pixel
  };

  void CoverSpan(int32_t x0, int32_t x1);
  void BlendRow(TBitmap& picture, int y, uint32_t colour, const TFillFunction* fill);

  std::vector<TActiveEdge> FActive;
  // Coverage of each pixel of the current row, 0 … 256, but for the pixels that spans
  // cross whole: those are counted by FRuns, per pixel how many more sub-rows cross it
  // whole than the pixel before (-16 … 16), so that a span costs the same at any length.
  std::vector<uint16_t> FCells;
  std::vector<int16_t> FRuns;
  int32_t FMinColumn = 0;        // the touched cells, FMinColumn > FMaxColumn when none
  int32_t FMaxColumn = -1;
  int32_t FClipWidth = 0;        // in 1/16 pixel
};

}  // namespace kiv
