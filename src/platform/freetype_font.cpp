#include "platform/freetype_font.h"

#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>

#include "platform/font_library.h"
#include "platform/outline_points.h"
#include "platform/shaped_line.h"

namespace kiv {

namespace {

constexpr FT_Int32 kLoadFlags = FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;
// FreeType's oblique shear, tan(12 degrees) in 16.16.
constexpr FT_Fixed kSlant = 0x366A;

// The measures of the face's tables (see the header), with stand-ins for those a font
// leaves out: an underline em/20 thick whose middle is em/10 below the baseline, and a
// strike-out as thick as the underline whose top edge is 0.26 em above the baseline
// (about the middle of the lower-case letters).
TInstalledFontMetrics FaceMetrics(FT_Face face) {
  TInstalledFontMetrics metrics;
  const int32_t em = face->units_per_EM;
  metrics.UnitsPerEm = em;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && (os2->usWinAscent != 0 || os2->usWinDescent != 0)) {
    metrics.Ascent = os2->usWinAscent;
    metrics.Descent = os2->usWinDescent;
  } else {
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    metrics.Ascent = hhea ? hhea->Ascender : face->ascender;
    metrics.Descent = hhea ? -hhea->Descender : -face->descender;
  }
  float underlineSize = float(face->underline_thickness);
  float underlineMiddle = float(face->underline_position);
  if (underlineSize <= 0) {
    underlineSize = float(em) / 20;
    underlineMiddle = -float(em) / 10;
  }
  metrics.UnderlineSize = underlineSize;
  metrics.UnderlinePosition = underlineMiddle + underlineSize / 2;
  if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
    metrics.StrikeoutPosition = float(os2->yStrikeoutPosition);
    metrics.StrikeoutSize = float(os2->yStrikeoutSize);
  } else {
    metrics.StrikeoutPosition = 0.26f * float(em);
    metrics.StrikeoutSize = underlineSize;
  }
  return metrics;
}

}  // namespace

std::shared_ptr<TFreeTypeFont> TFreeTypeFont::Open(const std::string& file, int index, std::u16string family,
                                                   uint8_t style, uint8_t synthesised) {
  std::shared_ptr<TFreeTypeFont> font(new TFreeTypeFont);
  if (!font->Load(file, index)) return nullptr;
  if (family.empty() && font->Face_->family_name) {
    for (const char* c = font->Face_->family_name; *c; ++c) family += char16_t(uint8_t(*c));
  }
  font->Family_ = std::move(family);
  font->Style_ = style & (kInstalledBold | kInstalledItalic);
  font->Synthesised_ = synthesised & font->Style_;
  if (font->Synthesised_ & kInstalledBold) {
    const int32_t em = font->Metrics_.UnitsPerEm;
    font->BoldX_ = int32_t(std::lround(em / 24.0));
    font->BoldY_ = int32_t(std::lround(em / 32.0));
  }
  return font;
}

bool TFreeTypeFont::Load(const std::string& file, int index) {
  TFontLibrary& library = TFontLibrary::Get();
  if (!library.Library() || index < 0) return false;
  Blob_ = hb_blob_create_from_file_or_fail(file.c_str());
  if (!Blob_) return false;
  unsigned size = 0;
  const char* data = hb_blob_get_data(Blob_, &size);
  {
    auto lock = library.Lock();
    if (FT_New_Memory_Face(library.Library(), reinterpret_cast<const FT_Byte*>(data), FT_Long(size), index,
                           &Face_) != 0) {
      Face_ = nullptr;
      return false;
    }
  }
  // Outlines are needed; bitmap-only and colour-bitmap fonts are of no use here, and an
  // em outside what fonts use marks a broken head table.
  if (!FT_IS_SCALABLE(Face_) || Face_->units_per_EM < 16 || Face_->units_per_EM > 16384 || Face_->num_glyphs <= 0)
    return false;
  GlyphCount_ = uint32_t(Face_->num_glyphs);
  Metrics_ = FaceMetrics(Face_);

  hb_face_t* face = hb_face_create(Blob_, unsigned(index) & 0xFFFF);
  Shaper_ = hb_font_create(face);
  hb_face_destroy(face);
  hb_font_set_scale(Shaper_, Metrics_.UnitsPerEm, Metrics_.UnitsPerEm);
  if (const unsigned instance = unsigned(index) >> 16; instance > 0)
    hb_font_set_var_named_instance(Shaper_, instance - 1);
  hb_font_make_immutable(Shaper_);
  return true;
}

TFreeTypeFont::~TFreeTypeFont() {
  if (Face_) {
    auto lock = TFontLibrary::Get().Lock();
    FT_Done_Face(Face_);
  }
  if (Shaper_) hb_font_destroy(Shaper_);
  if (Blob_) hb_blob_destroy(Blob_);
}

bool TFreeTypeFont::HasCharacter(char32_t character) const {
  hb_codepoint_t glyph = 0;
  return hb_font_get_nominal_glyph(Shaper_, character, &glyph) && glyph != 0;
}

std::optional<TInstalledGlyph> TFreeTypeFont::Glyph(uint16_t index) const {
  if (index >= GlyphCount_) return std::nullopt;
  std::lock_guard lock(Mutex_);
  auto found = Glyphs_.find(index);
  if (found == Glyphs_.end()) found = Glyphs_.emplace(index, LoadGlyph(index)).first;
  return found->second;
}

TInstalledGlyph TFreeTypeFont::LoadGlyph(uint16_t index) const {
  TInstalledGlyph glyph;
  glyph.Index = index;
  int32_t advance = 0;
  FT_Outline* outline = nullptr;
  if (FT_Load_Glyph(Face_, index, kLoadFlags) == 0) {
    advance = int32_t(Face_->glyph->metrics.horiAdvance);
    if (Face_->glyph->format == FT_GLYPH_FORMAT_OUTLINE) outline = &Face_->glyph->outline;
  } else if (FT_Fixed fixed = 0; FT_Get_Advance(Face_, index, kLoadFlags, &fixed) == 0) {
    advance = int32_t(fixed);  // unscaled advances come in font units
  }
  if (advance != 0) advance += BoldX_;
  if (outline && outline->n_points > 0 && outline->n_points <= kMaxOutlinePoints) {
    if (Synthesised_ & kInstalledBold) FT_Outline_EmboldenXY(outline, BoldX_, BoldY_);
    if (Synthesised_ & kInstalledItalic) {
      FT_Matrix shear{0x10000, kSlant, 0, 0x10000};
      FT_Outline_Transform(outline, &shear);
    }
    glyph.Outline = OutlinePoints(*outline);
  }
  if (glyph.Outline.empty()) {
    glyph.C = advance;
    return glyph;
  }
  FT_BBox box;
  FT_Outline_Get_CBox(outline, &box);
  glyph.A = int32_t(box.xMin);
  glyph.B = int32_t(box.xMax - box.xMin);
  glyph.C = advance - glyph.A - glyph.B;
  glyph.Above = int32_t(box.yMax);
  glyph.Below = int32_t(-box.yMin);
  return glyph;
}

std::vector<TShapedGlyph> TFreeTypeFont::ShapeLine(std::u16string_view line) const {
  return ShapedLine(std::const_pointer_cast<TFreeTypeFont>(shared_from_this()), line);
}

}  // namespace kiv
