#pragma once
// Fills an outline into a Bgra32 picture with anti-aliased edges: each pixel row is
// sampled in 16 sub-rows, each sub-row covers spans of 1/16 pixel, and the coverage a
// pixel gathers (up to 256) scales the alpha of the colour blended over it.
//
// An edge's x at a sub-row is the edge's top x plus (sub-rows below its top + ½) × its
// slope, rounded half away from zero. The slope is a float, so that product is an
// integer times a power of two: it is stepped exactly in integers from sub-row to
// sub-row instead of being recomputed in floating point.
//
// The picture is filled a pixel row at a time. Where, in a row, the edges keep their
// left-to-right order through all 16 sub-rows and the winding only ever steps between
// 0 and one side (what glyphs and most shapes look like), a pixel's coverage is the sum
// of what each crossing adds to it and to the pixels right of it, so an edge that stays
// within one or two pixel columns costs one sum of its x's there, taken four sub-rows at
// a time. Each edge's crossings are added as the row's edges are met; the order and the
// winding are checked after, and any other row (overlaps, crossings, fill-rule cases)
// is cleared and walked sub-row by sub-row in x order.
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
  // Fills outline into picture, which must be Bgra32, with colour, or with fill's colour
  // at each pixel when fill is given.
  void Fill(const TOutline& outline, TBitmap& picture, uint32_t colour, const TFillFunction* fill = nullptr);

 private:
  // An edge made ready for stepping: At is Start + (j - Top) × Step at the top sub-row j
  // of the pixel row being filled (wrapped round when the edge starts lower), and at its
  // sub-row i the edge's x is X ± ((At + i × Step) >> Shift), minus when Negative is -1.
  // Edges too steep or too long for that (damaged shapes only) keep to the
  // floating-point formula.
  struct TStepEdge {
    uint64_t At;
    uint64_t Step;
    int32_t X;
    int32_t Top;   // the first sub-row
    int32_t End;   // the sub-row below the last
    int32_t Direction;
    int32_t Shift;
    int32_t Negative;  // 0 or -1
    float Slope;
    bool Exact;        // stepped in integers
  };
  // An edge crossing the pixel row being filled: the sub-rows it crosses there (bits 0
  // … 15), its direction and its least and greatest x there.
  struct TActive {
    int32_t Lo, Hi;
    uint32_t Mask;
    int32_t Direction;
    size_t Edge;  // in FEdges
  };

  // The x of edge at sub-row i (0 … 15) of the pixel row at FRowTop.
  int32_t XAt(const TStepEdge& edge, int32_t i) const;
  bool AddSegment(const TStepEdge& edge, TActive& slot, int32_t rowTop);
  bool SimpleRow(size_t count) const;
  void ClearRow();
  void WalkRow(size_t count, bool evenOdd);
  void BlendRow(TBitmap& picture, int y, uint32_t colour, const TFillFunction* fill, int sign);

  std::vector<TStepEdge> FEdges;
  std::vector<int32_t> FRowStart;  // per pixel row, where its edges start in FEdges
  std::vector<TActive> FActive;    // the edges crossing the row, sorted by Lo
  std::vector<int32_t> FCrossings;  // one sub-row's x's and directions
  // Per pixel of the current row: Cover[x] is what the crossings in the pixel add to it,
  // Carry[x] what they add to each pixel right of it (16 per sub-row crossed); a touched
  // pixel has its bit in FTouched, and all are within FMinColumn … FMaxColumn.
  std::vector<int32_t> FCover;
  std::vector<int32_t> FCarry;
  std::vector<uint64_t> FTouched;
  int32_t FMinColumn = 0;
  int32_t FMaxColumn = -1;
  int32_t FRowTop = 0;     // in sub-rows
  int32_t FClipWidth = 0;  // in 1/16 pixel
};

}  // namespace kiv
