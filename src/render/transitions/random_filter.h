#pragma once
// The mosaic: the slide area is cut into a grid of cells, each fading in at its own
// moment, drawn from a seeded generator so that one seed gives one grid.
#include <vector>

#include "render/transitions/canvas_filter.h"

namespace kiv {

class TRandomFilter : public TCanvasFilter {
 public:
  // Columns and rows of the grid (at least 1 each, at most one cell per pixel of rect),
  // how widely the cells' moments spread, and the seed of their order.
  TRandomFilter(int effectClass, int effectType, const TEffectParams& params, const TRect& rect, int softEdge,
                int32_t duration, int columns, int rows, int spread, uint32_t seed);

  int Columns() const { return FColumns; }
  int Rows() const { return FRows; }
  // How opaque cell (column, row) is at the current time: 0 … 255.
  float CellAlpha(int column, int row) const;

 protected:
  void Draw(TEffectCanvas& canvas) override;

 private:
  int FColumns;
  int FRows;
  int FSpread;
  std::vector<int> FThresholds;  // per cell, row by row
};

}  // namespace kiv
