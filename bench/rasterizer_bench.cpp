// Filling a glyph-like shape into a 256 × 256 picture: an outer and an inner contour of
// about 100 points each, wavy quadratic curves, as a large letter of a text.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "graphics/raster_helper.h"

namespace kiv {
namespace {

// A closed wavy ring round (128, 128) of one move and points / 2 quadratic curves,
// clockwise or, reversed, the other way round.
void AddContour(TPath& path, float radius, int points, bool reversed) {
  auto at = [&](int n) {
    const double angle = 2 * std::numbers::pi * (reversed ? -n : n) / points;
    const float r = radius + (n % 2 == 0 ? 12 : 20) * float(std::sin(angle * 7));
    return TPointF{128 + r * float(std::cos(angle)), 128 + r * float(std::sin(angle))};
  };
  path.MoveTo(at(0).X, at(0).Y);
  for (int i = 0; i < points; i += 2) {
    const TPointF control = at(i + 1), end = at(i + 2);
    path.QuadraticTo(control.X, control.Y, end.X, end.Y);
  }
}

void BM_FillGlyphLikePath(benchmark::State& state) {
  TPath glyph;
  AddContour(glyph, 110, 100, false);
  AddContour(glyph, 60, 100, true);
  TRasterHelper raster;
  raster.SetFillColour(0xFF202020);
  for (auto _ : state) {
    raster.BeginPaint(256, 256);
    raster.FillPath(glyph, false);
    benchmark::DoNotOptimize(raster.EndPaint());
  }
}
BENCHMARK(BM_FillGlyphLikePath)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kiv
