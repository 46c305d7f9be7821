#pragma once
// The outlines and advances of the glyphs of one font (name and style) that a show's
// texts use, as the show stores them under "VectTextCache: " + font name with style, so
// that its texts draw the same on machines without the font.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/stream.h"
#include "graphics/vector_path.h"

namespace kiv {

struct TGlyphData {
  uint16_t Index = 0;
  // The advance in three parts: space before the ink, ink width, space after the ink;
  // then the ink's extent above and below the baseline. In the units of the outline.
  int32_t A = 0, B = 0, C = 0;
  int32_t Above = 0, Below = 0;
  // The size the outline was taken at: a glyph pointer of size s uses the outline and
  // the measures above times s / CaptureSize.
  float CaptureSize = 1;
  TPath Outline;  // y pointing down; empty for a blank glyph
};

class TGlyphCache {
 public:
  explicit TGlyphCache(std::u16string fontSpec) : FFontSpec(std::move(fontSpec)) {}

  // "Arial:Bold": the font name and style text the glyphs were taken from.
  const std::u16string& FontSpec() const { return FFontSpec; }
  // The glyph of index; null when the cache does not have it.
  const TGlyphData* Find(uint16_t index) const;
  // Adds the glyph unless one of its index is there already (that one is kept); true
  // when added.
  bool Add(TGlyphData glyph);
  // In the order they were added.
  const std::vector<TGlyphData>& Glyphs() const { return FGlyphs; }

 private:
  std::u16string FFontSpec;
  std::vector<TGlyphData> FGlyphs;
  std::unordered_map<uint16_t, size_t> FPositions;  // index → place in FGlyphs
};

// Largest counts a stored glyph cache may hold; more is damage.
inline constexpr int32_t kMaxCachedGlyphs = 65536;
inline constexpr int32_t kMaxGlyphPoints = 100000;
inline constexpr int32_t kMaxFontSpecUnits = 4096;
// Outline coordinates beyond this (and ones that are not numbers) are damage.
inline constexpr float kMaxOutlineCoordinate = 1e6f;

// Stored form: glyph count (int32), font name with style (text), then per glyph: index
// (u16), A, B, C, above, below (int32 each), capture size (float), point count (int32)
// and the points (x and y as floats, command as int32); little-endian throughout.
// None when the stream is short or a count is out of range. A glyph whose outline holds
// coordinates out of range or unknown commands is kept without its outline.
std::optional<TGlyphCache> ReadGlyphCache(TStream& stream);
void WriteGlyphCache(TStream& stream, const TGlyphCache& cache);

}  // namespace kiv
