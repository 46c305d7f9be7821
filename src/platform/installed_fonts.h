#pragma once
// The fonts installed on this machine, as outlines. A family and style is matched to a
// font file by the system's font configuration; glyphs are read unhinted in the font's
// own units with y pointing down; a line of text is turned into glyphs and pen positions
// by a text shaper, so kerning, ligatures and scripts that need shaping come out right,
// and characters the chosen font lacks come from an installed font that has them.
//
// Fonts are shared and safe to use from any thread (texts are rendered on the slide
// loader's thread and on the drawing thread alike).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// Style bits as texts carry them; bold and italic pick the font, underline and
// strike-out are drawn by the text renderer.
enum TInstalledFontStyle : uint8_t {
  kInstalledBold = 1,
  kInstalledItalic = 2,
};

// A point of a glyph outline in font units, y pointing down. Command: 0 starts a
// contour, 1 a line to the point, 2 two points in a row (control point, end point) of a
// quadratic curve, 3 three points in a row (two control points, end point) of a cubic.
struct TFontPoint {
  float X = 0;
  float Y = 0;
  int32_t Command = 0;

  friend bool operator==(const TFontPoint&, const TFontPoint&) = default;
};

// The font's measures in its own units. Ascent and descent are OS/2's usWinAscent and
// usWinDescent (what the text metrics of the slideshows' original platform report), or
// hhea's ascender and descender for a font without them; the underline is post's
// underlinePosition and underlineThickness, the strike-out OS/2's yStrikeoutPosition and
// yStrikeoutSize. A font without an underline gets one em/20 thick centred em/10 below
// the baseline; without a strike-out, one as thick as the underline with its top edge
// 0.26 em above the baseline.
struct TInstalledFontMetrics {
  int32_t UnitsPerEm = 0;
  int32_t Ascent = 0;   // above the baseline, positive
  int32_t Descent = 0;  // below the baseline, positive
  // The top edge of the underline and strike-out bars, above the baseline (so the
  // underline's is negative), and their thickness.
  float UnderlinePosition = 0;
  float UnderlineSize = 0;
  float StrikeoutPosition = 0;
  float StrikeoutSize = 0;
};

struct TInstalledGlyph {
  uint16_t Index = 0;
  // The advance in three parts: space before the ink, ink width, space after the ink
  // (A + B + C is the advance); the ink's extent above and below the baseline.
  int32_t A = 0, B = 0, C = 0;
  int32_t Above = 0, Below = 0;
  std::vector<TFontPoint> Outline;  // empty for a blank glyph
};

class TInstalledFont;

// One glyph of a shaped line.
struct TShapedGlyph {
  std::shared_ptr<TInstalledFont> Font;  // the requested font, or the one that had the character
  uint16_t Index = 0;
  int32_t PenX = 0;  // where the glyph's origin sits, in units of the requested font
};

class TInstalledFont {
 public:
  virtual ~TInstalledFont() = default;

  // The font for family and style (TInstalledFontStyle bits): the family's own bold or
  // italic face when it has one, otherwise its regular face made bold (outlines grown by
  // em/24 across, em/32 up) or slanted (sheared 12 degrees). A family that is not
  // installed gives the configuration's substitute; none only when no font at all can be
  // opened. Fonts are kept for the process: asking again is a look-up.
  static std::shared_ptr<TInstalledFont> Find(std::u16string_view family, uint8_t style);

  // The family of the font actually opened (a substitute's own name).
  virtual const std::u16string& Family() const = 0;
  virtual uint8_t Style() const = 0;
  virtual const TInstalledFontMetrics& Metrics() const = 0;
  // The glyph of index with its outline, bold or slanted as the style asks; none for an
  // index the font does not have. The parts come from the outline's control box: A is
  // its left edge, B its width, Above its top and Below minus its bottom; a blank glyph
  // has A = B = Above = Below = 0 and C = the advance.
  virtual std::optional<TInstalledGlyph> Glyph(uint16_t index) const = 0;
  // Whether the font has a glyph for the character.
  virtual bool HasCharacter(char32_t character) const = 0;
  // The line shaped in this font; runs of characters it lacks are shaped in an installed
  // font that has them (same style), scaled to this font's units. Characters no font has
  // give the font's missing-glyph (index 0). A right-to-left run comes out in visual
  // order, but runs follow each other in the line's order (no bidirectional reordering).
  virtual std::vector<TShapedGlyph> ShapeLine(std::u16string_view line) const = 0;
};

}  // namespace kiv
