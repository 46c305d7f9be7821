#pragma once
// What a text picture is made from, and the names it travels under: the "Text: " picture
// name a slide asks for, the name its pre-built outlines are stored under in a show, and
// the font name with style ("Arial:Bold,Italic") that names a font with its style.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// Style bits of a text; bold and italic pick the font, underline and strike-out are bars
// the renderer draws.
enum TFontStyleBits : uint8_t {
  kFontBold = 1,
  kFontItalic = 2,
  kFontUnderline = 4,
  kFontStrikeOut = 8,
};

enum TTextAlignment : uint8_t { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

struct TTextParams {
  std::u16string FontName = u"Arial";
  double Size = 1;  // pixels per outline unit
  float OffsetX = 0, OffsetY = 0;
  uint8_t Style = 0;  // TFontStyleBits
  uint8_t Align = kAlignCentre;
  double LineSpacing = 0;  // extra space between lines, in percent of half a line
  uint8_t Red = 255, Green = 255, Blue = 255, Alpha = 255;
  std::vector<std::u16string> Lines;

  uint32_t Colour() const { return uint32_t(Alpha) << 24 | uint32_t(Red) << 16 | uint32_t(Green) << 8 | Blue; }
};

// "Text: " and twelve fields separated by ":": font name; size; offset x; offset y;
// style text; alignment; line spacing; red; green; blue; alpha; the lines joined by "^&"
// in double quotes. The last field runs to the end of the name, so it may hold ":". A
// number that does not parse (or does not fit its field) keeps the field's default, and
// fields missing at the end keep theirs. None unless the name begins with "Text: ".
std::optional<TTextParams> ParseTextPictureName(std::u16string_view name);
// Size and offsets with 6 decimals, spacing with 2, "." as decimal point always.
std::u16string TextPictureName(const TTextParams& params);

// The names of the set style bits, in the order bold, italic, underline, strike-out,
// joined by ",": "Bold,Underline".
std::u16string FontStyleText(uint8_t style);
// The style bits of such a list: split at ",", blanks and tabs before a name skipped, at
// most four names looked at, each compared exactly ("bold" is no style).
uint8_t ParseFontStyleText(std::u16string_view text);
// Font name + ":" + style text.
std::u16string FontSpecText(std::u16string_view fontName, uint8_t style);

// "VectTxt2: " + font name + ":" + style text + ":" + the lines joined by "^&" in double
// quotes: the show entry holding the text's pre-built glyphs.
std::u16string StoredVectorTextName(const TTextParams& params);
// "VectTextCache: " + font name with style: the show entry holding a font's glyph outlines.
std::u16string GlyphCacheName(std::u16string_view fontSpec);

}  // namespace kiv
