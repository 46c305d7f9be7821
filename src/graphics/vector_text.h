#pragma once
// A text laid out as glyphs: lines of glyph pointers (where each glyph sits on the line
// and which glyph of which font it is) over the outlines and advances of glyph caches,
// in the outline units of the text's font. Stored in a show (TCachedVectorText) or
// built from the installed fonts (TSimpleVectorText); drawn alike by the text producer.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "graphics/glyph_cache.h"
#include "graphics/vector_path.h"

namespace kiv {

// The measures of the text's font, in outline units: ascent and descent (both positive),
// and the top edge of the underline and strike-out bars above the baseline (the
// underline's is negative) with their thickness.
struct TFontMetrics {
  int32_t Ascent = 0;
  int32_t Descent = 0;
  float UnderlinePosition = 0;
  float UnderlineSize = 0;
  float StrikeoutPosition = 0;
  float StrikeoutSize = 0;
  bool operator==(const TFontMetrics&) const = default;
};

struct TGlyphPointer {
  int32_t PenX = 0;  // the glyph's origin on the line, in outline units
  float Size = 0;    // the text's outline units per em; the glyph is scaled by Size / its capture size
  uint16_t Index = 0;
  std::u16string FontSpec;  // the glyph cache that has the glyph
  bool operator==(const TGlyphPointer&) const = default;
};

struct TGlyphLine {
  std::vector<TGlyphPointer> Glyphs;
  bool operator==(const TGlyphLine&) const = default;
};

// What a vector text is made of, as stored.
struct TVectorTextData {
  TFontMetrics Metrics;
  std::vector<TGlyphLine> Lines;
  bool operator==(const TVectorTextData&) const = default;
};

// A glyph's record with the factor (pointer size / capture size) that brings it to the
// text's units.
struct TScaledGlyph {
  const TGlyphData* Data = nullptr;
  double Scale = 1;
};

// Where glyph j of line i sits, in the text's units.
struct TGlyphPlacement {
  double PenX = 0;
  double Size = 0;
  double A = 0, B = 0, C = 0;
  double Above = 0, Below = 0;
};

// The measures of a line in outline units: the least and greatest of every glyph's
// origin and its ink and advance ends, the greatest advance end, and the greatest
// extents above and below the baseline. An empty line has the font's ascent and descent
// as extents and 0 for the rest.
struct TLineMetrics {
  double LeftExtent = 0;
  double RightExtent = 0;
  double AdvanceEnd = 0;
  double Above = 0;
  double Below = 0;
};

class TVectorText {
 public:
  virtual ~TVectorText() = default;
  TVectorText(const TVectorText&) = delete;
  TVectorText& operator=(const TVectorText&) = delete;

  const TVectorTextData& Data() const { return FData; }
  const TFontMetrics& Metrics() const { return FData.Metrics; }
  int LineCount() const { return int(FData.Lines.size()); }
  int GlyphCount(int line) const { return int(FData.Lines[size_t(line)].Glyphs.size()); }
  const TGlyphPointer& Pointer(int line, int glyph) const { return FData.Lines[size_t(line)].Glyphs[size_t(glyph)]; }

  // The glyph's record and scale; none for a glyph its cache lacks or whose sizes do not
  // give a usable scale (such glyphs are left out of the text).
  std::optional<TScaledGlyph> Glyph(int line, int glyph) const;
  std::optional<TGlyphPlacement> Placement(int line, int glyph) const;
  // The glyph's outline in the text's units (x and y times the scale; commands kept);
  // empty for a glyph left out.
  TPath GlyphOutline(int line, int glyph) const;
  TLineMetrics LineMetrics(int line) const;

 protected:
  explicit TVectorText(TVectorTextData data) : FData(std::move(data)) {}
  // The record the pointer names; null when there is none.
  virtual const TGlyphData* FindGlyph(const TGlyphPointer& pointer) const = 0;

 private:
  TVectorTextData FData;
};

}  // namespace kiv
