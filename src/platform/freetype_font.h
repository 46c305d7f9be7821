#pragma once
// An installed font file opened for outlines with FreeType and for shaping with
// HarfBuzz, both reading the one mapping of the file.
//
// Tables read: the outlines (glyf or CFF) and hmtx advances through FreeType, unhinted
// and unscaled; head's unitsPerEm; OS/2's usWinAscent and usWinDescent for the ascent
// and descent (what the text metrics of the slideshows' original platform report), or
// hhea's ascender and descender when the font has no OS/2 table or both are zero; post's
// underlinePosition and underlineThickness; OS/2's yStrikeoutPosition and
// yStrikeoutSize. HarfBuzz reads cmap, GSUB, GPOS, GDEF and kern for shaping.
//
// A face lighter than the asked bold is emboldened: every outline grows by em/24 in x
// and em/32 in y (the strokes get thicker more than the letters taller, as a
// synthesised bold usually does) with FT_Outline_EmboldenXY, and a glyph that advances
// advances em/24 more. An upright face asked for italic is slanted by the shear
// FreeType's oblique uses, x += 0.2126 * y (12 degrees), after the emboldening.
#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/installed_fonts.h"

namespace kiv {

class TFreeTypeFont final : public TInstalledFont, public std::enable_shared_from_this<TFreeTypeFont> {
 public:
  // The face index of file (a collection's member; a named instance of a variable font
  // in the upper 16 bits, as the font configuration gives it) for style, made bold or
  // slanted as synthesised asks (TInstalledFontStyle bits); none when the file does not
  // open as a font with outlines.
  static std::shared_ptr<TFreeTypeFont> Open(const std::string& file, int index, std::u16string family,
                                             uint8_t style, uint8_t synthesised);
  ~TFreeTypeFont() override;
  TFreeTypeFont(const TFreeTypeFont&) = delete;
  TFreeTypeFont& operator=(const TFreeTypeFont&) = delete;

  const std::u16string& Family() const override { return Family_; }
  uint8_t Style() const override { return Style_; }
  const TInstalledFontMetrics& Metrics() const override { return Metrics_; }
  std::optional<TInstalledGlyph> Glyph(uint16_t index) const override;
  bool HasCharacter(char32_t character) const override;
  std::vector<TShapedGlyph> ShapeLine(std::u16string_view line) const override;

  // What the style bits made of the face: the synthesised bold or slant.
  uint8_t Synthesised() const { return Synthesised_; }
  // The HarfBuzz font, scaled to font units. HarfBuzz fonts may be shared by threads for
  // shaping: this one is immutable once opened.
  hb_font_t* Shaper() const { return Shaper_; }
  // What a synthesised bold adds to every advance that is not zero.
  int32_t BoldAdvance() const { return BoldX_; }

 private:
  TFreeTypeFont() = default;
  bool Load(const std::string& file, int index);
  TInstalledGlyph LoadGlyph(uint16_t index) const;

  std::u16string Family_;
  uint8_t Style_ = 0;
  uint8_t Synthesised_ = 0;
  TInstalledFontMetrics Metrics_;
  int32_t BoldX_ = 0, BoldY_ = 0;
  uint32_t GlyphCount_ = 0;

  hb_blob_t* Blob_ = nullptr;
  hb_font_t* Shaper_ = nullptr;
  // The face and the glyphs read from it, under Mutex_ (a face is used by one thread at
  // a time).
  mutable std::mutex Mutex_;
  FT_Face Face_ = nullptr;
  mutable std::unordered_map<uint16_t, TInstalledGlyph> Glyphs_;
};

}  // namespace kiv
