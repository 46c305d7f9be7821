#pragma once
// Where the lines of a vector text go at a scale s (pixels per outline unit) and a line
// spacing L: each line's rectangle and origin, the size of the whole text, and how far
// ink reaches beyond it.
#include <cstdint>
#include <vector>

#include "graphics/text_params.h"
#include "graphics/vector_text.h"

namespace kiv {

struct TTextLineLayout {
  // The line's rectangle about its origin, in whole pixels: left 0, top
  // floor(-ascent × s), right ceil(advance end × s), bottom ceil(descent × s).
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
  // The line's origin (x 0): the top of its rectangle band, ascent × s above the baseline.
  double OriginY = 0;
  TLineMetrics Metrics;  // in outline units
};

struct TTextLayout {
  double Scale = 1;
  std::vector<TTextLineLayout> Lines;
  // The widest line rectangle and the height of all lines with the spacing between.
  double Width = 0, Height = 0;
  // In pixels, never below 0: how far ink reaches left of the lines' origins and right of
  // their advance ends, and the greatest ink extent above and below a baseline.
  double LeftOverhang = 0, RightOverhang = 0;
  double TopExtent = 0, BottomExtent = 0;
};

// Lines follow each other at s × (ascent + descent), with s × (ascent + descent) × L /
// 200 more between two lines (L = 100 adds half a line).
// With style's underline or strike-out, the extents reach the bars' edges too.
TTextLayout LayoutText(const TVectorText& text, double scale, double lineSpacing, uint8_t style = 0);

}  // namespace kiv
