#include "render/transitions/random_filter.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace kiv {

TRandomFilter::TRandomFilter(int effectClass, int effectType, const TEffectParams& params, const TRect& rect,
                             int softEdge, int32_t duration, int columns, int rows, int spread, uint32_t seed)
    : TCanvasFilter(effectClass, effectType, params, rect, softEdge, duration),
      // A cell narrower or lower than a pixel shows nothing of its own: at most one cell
      // per pixel of the slide area, whatever the show asks for.
      FColumns(std::clamp(columns, 1, std::max(1, rect.Width()))),
      FRows(std::clamp(rows, 1, std::max(1, rect.Height()))),
      FSpread(std::max(0, spread)) {
  // The engine's output is fixed by the standard; the top 24 bits make u in [0, 1).
  std::mt19937 generator(seed);
  const double range = std::round(FSpread * 100.0);
  FThresholds.resize(size_t(FColumns) * size_t(FRows));
  for (int& threshold : FThresholds) {
    const double u = double(generator() >> 8) / double(1u << 24);
    threshold = int(std::lround(u * range));
  }
}

float TRandomFilter::CellAlpha(int column, int row) const {
  const long level = std::lround(Progress() * (FSpread * 100.0 + 256) - 256);
  const long wait = FThresholds[size_t(row) * size_t(FColumns) + size_t(column)] - level;
  if (wait >= 255) return 0;
  return wait < 0 ? 255.0f : float(255 - wait);
}

void TRandomFilter::Draw(TEffectCanvas& canvas) {
  const TRectF& area = canvas.Area();
  const float width = area.Width() / float(FColumns);
  const float height = area.Height() / float(FRows);
  for (int row = 0; row < FRows; ++row)
    for (int column = 0; column < FColumns; ++column) {
      const float alpha = CellAlpha(column, row);
      if (alpha <= 0) continue;
      const float left = area.Left + float(column) * width;
      const float top = area.Top + float(row) * height;
      canvas.Polygon({{left, top, alpha}, {left + width, top, alpha}, {left + width, top + height, alpha},
                      {left, top + height, alpha}});
    }
}

}  // namespace kiv
