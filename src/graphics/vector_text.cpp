#include "graphics/vector_text.h"

#include <algorithm>
#include <cmath>

namespace kiv {

namespace {

// Pointer and capture sizes come from show data: a scale outside this range is damage.
constexpr double kLargestGlyphScale = 1e4;

}  // namespace

std::optional<TScaledGlyph> TVectorText::Glyph(int line, int glyph) const {
  const TGlyphPointer& pointer = Pointer(line, glyph);
  const TGlyphData* data = FindGlyph(pointer);
  if (!data) return std::nullopt;
  const double scale = double(pointer.Size) / double(data->CaptureSize);
  if (!std::isfinite(scale) || !(scale > 0) || scale > kLargestGlyphScale) return std::nullopt;
  return TScaledGlyph{data, scale};
}

std::optional<TGlyphPlacement> TVectorText::Placement(int line, int glyph) const {
  const std::optional<TScaledGlyph> scaled = Glyph(line, glyph);
  if (!scaled) return std::nullopt;
  const TGlyphData& d = *scaled->Data;
  const double s = scaled->Scale;
  const TGlyphPointer& pointer = Pointer(line, glyph);
  return TGlyphPlacement{double(pointer.PenX), double(pointer.Size), s * d.A, s * d.B, s * d.C, s * d.Above,
                         s * d.Below};
}

TPath TVectorText::GlyphOutline(int line, int glyph) const {
  TPath path;
  const std::optional<TScaledGlyph> scaled = Glyph(line, glyph);
  if (!scaled) return path;
  const float s = float(scaled->Scale);
  path.Points = scaled->Data->Outline.Points;
  for (TPathPoint& p : path.Points) {
    p.X *= s;
    p.Y *= s;
  }
  return path;
}

TLineMetrics TVectorText::LineMetrics(int line) const {
  TLineMetrics m;
  bool any = false;
  for (int j = 0; j < GlyphCount(line); ++j) {
    const std::optional<TGlyphPlacement> g = Placement(line, j);
    if (!g) continue;
    const double ends[] = {g->PenX, g->PenX + g->A, g->PenX + g->A + g->B, g->PenX + g->A + g->B + g->C};
    const auto [least, greatest] = std::minmax_element(std::begin(ends), std::end(ends));
    if (!any) {
      m = {*least, *greatest, ends[3], g->Above, g->Below};
      any = true;
      continue;
    }
    m.LeftExtent = std::min(m.LeftExtent, *least);
    m.RightExtent = std::max(m.RightExtent, *greatest);
    m.AdvanceEnd = std::max(m.AdvanceEnd, ends[3]);
    m.Above = std::max(m.Above, g->Above);
    m.Below = std::max(m.Below, g->Below);
  }
  if (!any) {
    m.Above = Metrics().Ascent;
    m.Below = Metrics().Descent;
  }
  return m;
}

}  // namespace kiv
