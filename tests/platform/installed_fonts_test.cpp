#include "platform/installed_fonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "platform/freetype_font.h"
#include "support/bytes.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

constexpr uint8_t kRegular = 0;
constexpr uint8_t kBoldItalic = kInstalledBold | kInstalledItalic;

std::shared_ptr<TInstalledFont> Font(const char16_t* family, uint8_t style = kRegular) {
  std::shared_ptr<TInstalledFont> font = TInstalledFont::Find(family, style);
  EXPECT_NE(font, nullptr) << "no font for the family";
  return font;
}

uint8_t Synthesised(const TInstalledFont& font) { return dynamic_cast<const TFreeTypeFont&>(font).Synthesised(); }

uint16_t IndexOf(const TInstalledFont& font, const char16_t* character) {
  const std::vector<TShapedGlyph> glyphs = font.ShapeLine(character);
  return glyphs.empty() ? 0 : glyphs[0].Index;
}

TInstalledGlyph GlyphOf(const TInstalledFont& font, const char16_t* character) {
  return font.Glyph(IndexOf(font, character)).value_or(TInstalledGlyph{});
}

int32_t Advance(const TInstalledGlyph& glyph) { return glyph.A + glyph.B + glyph.C; }

// The file fontconfig picks for a pattern such as "DejaVu Sans:bold".
std::string MatchedFile(const char* name) {
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(name));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcChar8* file = nullptr;
  std::string path;
  if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) path = reinterpret_cast<char*>(file);
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return path;
}

// Whether any installed font has the character, by fontconfig's own list.
bool AnyFontHas(char32_t character) {
  FcPattern* pattern = FcPatternCreate();
  FcCharSet* characters = FcCharSetCreate();
  FcCharSetAddChar(characters, character);
  FcPatternAddCharSet(pattern, FC_CHARSET, characters);
  FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
  FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
  const bool any = fonts && fonts->nfont > 0;
  if (fonts) FcFontSetDestroy(fonts);
  FcObjectSetDestroy(objects);
  FcCharSetDestroy(characters);
  FcPatternDestroy(pattern);
  return any;
}

// Every contour starts with a move, quadratic points come in pairs and cubic ones in
// triples, and each contour ends on its start point. Returns the number of contours, or
// -1 when the commands are malformed.
int CheckedContours(const std::vector<TFontPoint>& points) {
  int contours = 0;
  TFontPoint start;
  for (size_t n = 0; n < points.size();) {
    const int32_t command = points[n].Command;
    const size_t length = command == 0 || command == 1 ? 1 : command == 2 ? 2 : command == 3 ? 3 : 0;
    if (length == 0 || n + length > points.size() || (n == 0 && command != 0)) return -1;
    for (size_t k = 1; k < length; ++k)
      if (points[n + k].Command != command) return -1;
    if (command == 0) {
      ++contours;
      start = points[n];
    }
    n += length;
    const bool contourEnds = n == points.size() || points[n].Command == 0;
    if (contourEnds && (points[n - 1].X != start.X || points[n - 1].Y != start.Y)) return -1;
  }
  return contours;
}

TEST(InstalledFonts, FindsTheFamilysFacesAndSynthesisesTheMissingOnes) {
  struct TCase {
    const char16_t* Family;
    uint8_t Style;
    const char16_t* Opened;
    uint8_t Synthesised;
  } cases[] = {
      {u"DejaVu Sans", kRegular, u"DejaVu Sans", 0},
      {u"DejaVu Sans", kInstalledBold, u"DejaVu Sans", 0},
      {u"DejaVu Sans", kInstalledItalic, u"DejaVu Sans", 0},  // its Oblique face
      {u"DejaVu Sans", kBoldItalic, u"DejaVu Sans", 0},
      {u"dejavu serif", kInstalledItalic, u"DejaVu Serif", 0},
      // DejaVu's math family comes in one face only.
      {u"DejaVu Math TeX Gyre", kInstalledBold, u"DejaVu Math TeX Gyre", kInstalledBold},
      {u"DejaVu Math TeX Gyre", kInstalledItalic, u"DejaVu Math TeX Gyre", kInstalledItalic},
      {u"DejaVu Math TeX Gyre", kBoldItalic, u"DejaVu Math TeX Gyre", kBoldItalic},
  };
  for (const TCase& test : cases) {
    std::shared_ptr<TInstalledFont> font = Font(test.Family, test.Style);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->Family(), test.Opened);
    EXPECT_EQ(font->Style(), test.Style);
    EXPECT_EQ(Synthesised(*font), test.Synthesised) << int(test.Style);
    EXPECT_EQ(TInstalledFont::Find(test.Family, test.Style), font) << "kept for the next Find";
  }
  // A family that is not installed gets the configuration's substitute, with its name.
  std::shared_ptr<TInstalledFont> substitute = Font(u"No Such Family Anywhere");
  ASSERT_NE(substitute, nullptr);
  EXPECT_FALSE(substitute->Family().empty());
  EXPECT_NE(substitute->Family(), u"No Such Family Anywhere");
}

TEST(InstalledFonts, SynthesisedBoldIsWiderAndItalicLeansRight) {
  std::shared_ptr<TInstalledFont> regular = Font(u"DejaVu Math TeX Gyre");
  std::shared_ptr<TInstalledFont> bold = Font(u"DejaVu Math TeX Gyre", kInstalledBold);
  std::shared_ptr<TInstalledFont> italic = Font(u"DejaVu Math TeX Gyre", kInstalledItalic);
  const int32_t em = regular->Metrics().UnitsPerEm;
  const TInstalledGlyph upright = GlyphOf(*regular, u"l");
  ASSERT_GT(upright.B, 0);
  const int32_t strength = int32_t(std::lround(em / 24.0));

  const TInstalledGlyph thick = GlyphOf(*bold, u"l");
  EXPECT_NEAR(thick.B, upright.B + strength, 2);
  EXPECT_EQ(Advance(thick), Advance(upright) + strength);
  EXPECT_GT(thick.Above, upright.Above);
  EXPECT_EQ(thick.Below, upright.Below);

  // Slanting shears every point right by 0.21 of its height above the baseline (y points
  // down, so by -0.21 y).
  const TInstalledGlyph slanted = GlyphOf(*italic, u"l");
  EXPECT_EQ(Advance(slanted), Advance(upright));
  EXPECT_EQ(slanted.Above, upright.Above);
  ASSERT_EQ(slanted.Outline.size(), upright.Outline.size());
  for (size_t n = 0; n < upright.Outline.size(); ++n) {
    const TFontPoint& from = upright.Outline[n];
    const TFontPoint& to = slanted.Outline[n];
    EXPECT_EQ(to.Y, from.Y);
    EXPECT_NEAR(to.X, from.X - 0.2126f * from.Y, 1.0f);
    EXPECT_EQ(to.Command, from.Command);
  }
  EXPECT_GT(slanted.B, upright.B);

  // The shaped pen of a synthesised bold moves on by the wider advance.
  const std::vector<TShapedGlyph> line = bold->ShapeLine(u"ll");
  ASSERT_EQ(line.size(), 2u);
  EXPECT_EQ(line[1].PenX, Advance(thick));
}

TEST(InstalledFonts, MetricsComeFromTheFontsTables) {
  std::shared_ptr<TInstalledFont> font = Font(u"DejaVu Sans");
  const TInstalledFontMetrics& metrics = font->Metrics();
  FT_Library library;
  ASSERT_EQ(FT_Init_FreeType(&library), 0);
  FT_Face face;
  ASSERT_EQ(FT_New_Face(library, MatchedFile("DejaVu Sans").c_str(), 0, &face), 0);
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  ASSERT_NE(os2, nullptr);

  EXPECT_EQ(metrics.UnitsPerEm, 2048);
  EXPECT_EQ(metrics.Ascent, os2->usWinAscent);
  EXPECT_EQ(metrics.Descent, os2->usWinDescent);
  EXPECT_GT(metrics.Ascent, 1500);  // plausible for a Latin font: most of the em up,
  EXPECT_GT(metrics.Descent, 300);  // some of it down
  EXPECT_LT(metrics.Descent, 800);
  EXPECT_EQ(metrics.UnderlineSize, face->underline_thickness);
  EXPECT_EQ(metrics.UnderlinePosition, face->underline_position + face->underline_thickness / 2.0f);
  EXPECT_LT(metrics.UnderlinePosition, 0);
  EXPECT_EQ(metrics.StrikeoutPosition, os2->yStrikeoutPosition);
  EXPECT_EQ(metrics.StrikeoutSize, os2->yStrikeoutSize);
  EXPECT_GT(metrics.StrikeoutPosition, 0);
  FT_Done_Face(face);
  FT_Done_FreeType(library);
}

TEST(InstalledFonts, GlyphsAreOutlinesInFontUnitsWithYDown) {
  std::shared_ptr<TInstalledFont> font = Font(u"DejaVu Sans");
  const TInstalledGlyph o = GlyphOf(*font, u"O");
  EXPECT_EQ(CheckedContours(o.Outline), 2);
  float left = 1e9f, right = -1e9f, top = 1e9f, bottom = -1e9f;
  for (const TFontPoint& point : o.Outline) {
    left = std::min(left, point.X);
    right = std::max(right, point.X);
    top = std::min(top, point.Y);
    bottom = std::max(bottom, point.Y);
  }
  EXPECT_EQ(o.A, left);
  EXPECT_EQ(o.B, right - left);
  EXPECT_EQ(top, -o.Above);  // ink above the baseline has negative y
  EXPECT_EQ(bottom, o.Below);
  EXPECT_GT(o.Above, 1400);  // a capital is about 0.73 em tall
  EXPECT_GT(o.A, 0);
  EXPECT_GT(o.C, 0);

  for (const char16_t* text : {u"g", u"@", u"\u00E9", u"\u0416", u"\u0628"})
    EXPECT_GE(CheckedContours(GlyphOf(*font, text).Outline), 1) << int(text[0]);

  const TInstalledGlyph space = GlyphOf(*font, u" ");
  EXPECT_TRUE(space.Outline.empty());
  EXPECT_EQ(space.A, 0);
  EXPECT_EQ(space.B, 0);
  EXPECT_GT(space.C, 0);
  EXPECT_EQ(space.Above + space.Below, 0);

  EXPECT_TRUE(font->Glyph(0).has_value());  // the missing glyph
  EXPECT_FALSE(font->Glyph(65535).has_value());
  EXPECT_TRUE(font->HasCharacter(U'O'));
  EXPECT_FALSE(font->HasCharacter(0x4E2D));
}

TEST(InstalledFonts, ShapingKernsJoinsAndLigates) {
  std::shared_ptr<TInstalledFont> font = Font(u"DejaVu Sans");
  // Kerning pulls the V under the A's arm.
  const std::vector<TShapedGlyph> av = font->ShapeLine(u"AV");
  ASSERT_EQ(av.size(), 2u);
  EXPECT_EQ(av[0].PenX, 0);
  EXPECT_LT(av[1].PenX, Advance(GlyphOf(*font, u"A")));

  // Arabic letters take their joining forms inside a word.
  const char16_t* word = u"\u0633\u0644\u0627\u0645";  // salam
  const std::vector<TShapedGlyph> joined = font->ShapeLine(word);
  ASSERT_FALSE(joined.empty());
  std::vector<uint16_t> isolated;
  for (const char16_t* letter = word; *letter; ++letter)
    isolated.push_back(IndexOf(*font, std::u16string(1, *letter).c_str()));
  for (const TShapedGlyph& glyph : joined) {
    EXPECT_NE(glyph.Index, 0);
    EXPECT_EQ(glyph.Font, font);
  }
  size_t joinedForms = 0;
  for (const TShapedGlyph& glyph : joined)
    joinedForms += std::find(isolated.begin(), isolated.end(), glyph.Index) == isolated.end();
  EXPECT_GE(joinedForms, 2u);
  // Right to left: the pen runs on from the word's last letter, drawn first.
  for (size_t n = 1; n < joined.size(); ++n) EXPECT_GE(joined[n].PenX, joined[n - 1].PenX);

  // Lam and alef become the lam-alef ligature: fewer glyphs than letters.
  EXPECT_LT(font->ShapeLine(u"\u0644\u0627").size(), 2u);
}

TEST(InstalledFonts, ScriptsTheFontLacksComeFromAnotherInstalledFont) {
  std::shared_ptr<TInstalledFont> font = Font(u"DejaVu Sans");
  for (const char16_t* text : {u"\u03B1\u03B2\u03B3", u"\u0436\u0437\u0438"}) {  // Greek, Cyrillic
    for (const TShapedGlyph& glyph : font->ShapeLine(text)) {
      EXPECT_EQ(glyph.Font, font);
      EXPECT_NE(glyph.Index, 0);
    }
  }

  // Chinese between Latin letters: a run in a font that has it, scaled to this font's em.
  const std::vector<TShapedGlyph> line = font->ShapeLine(u"a\u4E2D\u6587b");
  ASSERT_EQ(line.size(), 4u);
  EXPECT_EQ(line[0].Font, font);
  EXPECT_EQ(line[3].Font, font);
  if (!AnyFontHas(0x4E2D)) {
    GTEST_SKIP() << "no installed font has Chinese characters";
  }
  const std::shared_ptr<TInstalledFont>& chinese = line[1].Font;
  ASSERT_NE(chinese, font);
  EXPECT_EQ(line[2].Font, chinese);
  EXPECT_TRUE(chinese->HasCharacter(0x4E2D));
  EXPECT_NE(line[1].Index, 0);
  EXPECT_NE(line[2].Index, 0);
  EXPECT_EQ(line[1].PenX, Advance(GlyphOf(*font, u"a")));
  const double scale = double(font->Metrics().UnitsPerEm) / chinese->Metrics().UnitsPerEm;
  const int32_t chineseAdvance = Advance(chinese->Glyph(line[1].Index).value());
  EXPECT_NEAR(line[2].PenX - line[1].PenX, chineseAdvance * scale, 1);

  // A mark stays with its base, in the base's font.
  const std::vector<TShapedGlyph> marked = font->ShapeLine(u"\u4E2D\u0301");
  ASSERT_FALSE(marked.empty());
  EXPECT_EQ(marked.back().Font, chinese);
}

TEST(InstalledFonts, WhatNoFontHasGivesTheMissingGlyph) {
  std::shared_ptr<TInstalledFont> font = Font(u"DejaVu Sans");
  const std::vector<TShapedGlyph> unassigned = font->ShapeLine(u"a\u0378b");  // not a character
  ASSERT_EQ(unassigned.size(), 3u);
  EXPECT_EQ(unassigned[1].Font, font);
  EXPECT_EQ(unassigned[1].Index, 0);
  EXPECT_GT(unassigned[2].PenX, unassigned[1].PenX);

  // Lone surrogates read as U+FFFD, which DejaVu has.
  const uint16_t replacement = IndexOf(*font, u"\uFFFD");
  ASSERT_NE(replacement, 0);
  const std::u16string lone = {u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
  const std::vector<TShapedGlyph> shaped = font->ShapeLine(lone);
  ASSERT_EQ(shaped.size(), 4u);
  EXPECT_EQ(shaped[1].Index, replacement);
  EXPECT_EQ(shaped[3].Index, replacement);
  EXPECT_TRUE(font->ShapeLine(u"").empty());
}

TEST(InstalledFonts, FilesThatAreNotFontsDoNotOpen) {
  TTestFolder folder;
  const std::string real = MatchedFile("DejaVu Sans");
  const std::string whole = ReadAll(real);
  ASSERT_GT(whole.size(), 4096u);
  struct TCase {
    const char* Name;
    std::string Bytes;
  } cases[] = {
      {"empty", ""},
      {"text", "not a font at all, only some words"},
      {"cut", whole.substr(0, 4096)},  // the table directory, not the tables
  };
  for (const TCase& test : cases) {
    const std::filesystem::path path = folder.Path() / (std::string(test.Name) + ".ttf");
    WriteAll(path, test.Bytes);
    EXPECT_EQ(TFreeTypeFont::Open(path.string(), 0, u"", 0, 0), nullptr) << test.Name;
  }
  EXPECT_EQ(TFreeTypeFont::Open((folder.Path() / "missing.ttf").string(), 0, u"", 0, 0), nullptr);
  EXPECT_EQ(TFreeTypeFont::Open(real, 7, u"", 0, 0), nullptr) << "a face the file does not hold";
  std::shared_ptr<TFreeTypeFont> opened = TFreeTypeFont::Open(real, 0, u"", kInstalledBold, kInstalledBold);
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->Family(), u"DejaVu Sans") << "named by the face when the configuration gives no name";
}

TEST(InstalledFonts, ThreadsShareFontsSafely) {
  const std::u16string text = u"AV fi \u03B1\u0436 \u0633\u0644\u0627\u0645 \u4E2D\u6587";
  auto work = [&](uint8_t style) {
    std::vector<std::pair<uint16_t, size_t>> seen;
    std::shared_ptr<TInstalledFont> font = TInstalledFont::Find(u"DejaVu Sans", style);
    for (const TShapedGlyph& glyph : font->ShapeLine(text)) {
      std::optional<TInstalledGlyph> outline = glyph.Font->Glyph(glyph.Index);
      seen.emplace_back(glyph.Index, outline ? outline->Outline.size() : 0);
    }
    return seen;
  };
  std::vector<std::vector<std::pair<uint16_t, size_t>>> expected;
  for (uint8_t style = 0; style < 4; ++style) expected.push_back(work(style));
  std::vector<std::thread> threads;
  std::vector<int> mismatches(4, 0);
  for (int thread = 0; thread < 4; ++thread) {
    threads.emplace_back([&, thread] {
      for (int round = 0; round < 40; ++round) {
        const auto style = uint8_t((thread + round) % 4);
        mismatches[size_t(thread)] += work(style) != expected[style];
        // Fonts not asked for yet are opened while the others shape.
        TInstalledFont::Find(round % 2 ? u"DejaVu Serif" : u"DejaVu Sans Mono", style)->ShapeLine(u"x");
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace kiv
