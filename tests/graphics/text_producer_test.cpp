// Texts drawn into pictures: stored texts from a show, texts built from the installed
// fonts, alignment, bars, background, line rectangles, sizes that give no picture,
// cancelling, and stored texts whose font or glyphs are missing.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "graphics/cached_vector_text.h"
#include "graphics/simple_vector_text.h"
#include "graphics/text_producer.h"
#include "support/log_capture.h"
#include "support/pixels.h"
#include "text_test_support.h"

namespace kiv {
namespace {

constexpr uint32_t kRed = 0xFFFF0000;

// A show holding one text in the made-up font (family font, so that tests do not share
// the process-wide font cache or the faults logged once), 50 pixels per line.
struct TBoxShow {
  explicit TBoxShow(const std::u16string& font) : Font(font) {
    ResetFontCache(u"show of " + font);
    Show.PutCache(TestGlyphCache(font + u":"));
  }
  TTextParams Params(const std::vector<std::u16string>& lines, uint8_t style = 0, uint8_t align = kAlignLeft) const {
    TTextParams p;
    p.FontName = Font;
    p.Style = style;
    p.Size = 0.05;
    p.Align = align;
    p.Lines = lines;
    return p;
  }
  // Stores the glyph lines as the text of params.
  void PutText(const TTextParams& params, const std::vector<std::vector<uint16_t>>& glyphs) {
    Show.PutText(StoredVectorTextName(params), TestTextData(glyphs, FontSpecText(Font, params.Style)));
    if (params.Style) Show.PutCache(TestGlyphCache(FontSpecText(Font, params.Style)));
  }
  std::shared_ptr<TBitmapStore> Render(const TTextParams& params, std::optional<uint32_t> background = {}) {
    return Producer.Render(params, background);
  }

  std::u16string Font;
  TTestShow Show;
  TTextProducer Producer{Show.Opener()};
};

bool Inked(TBitmapStore& store, int x, int y) { return (PixelAt(store, x, y) >> 24) != 0; }

int InkedPixels(TBitmapStore& store) {
  int count = 0;
  for (int y = 0; y < store.Height(); ++y)
    for (int x = 0; x < store.Width(); ++x) count += Inked(store, x, y);
  return count;
}

TEST(TextProducer, FillsGlyphsWhereTheLayoutPutsThem) {
  TBoxShow show(u"Boxes Ink");
  TTextParams params = show.Params({u"12"});
  params.Red = 255, params.Green = params.Blue = 0;
  show.PutText(params, {{kBoxGlyph, kBarGlyph}});
  const std::shared_ptr<TBitmapStore> picture = show.Render(params);
  ASSERT_TRUE(picture);
  // 55 pixels of advance and a pixel of margin each side; ink from 25 above the baseline
  // to 10 below it.
  EXPECT_EQ(picture->Width(), 57);
  EXPECT_EQ(picture->Height(), 37);
  // The box over x 1 … 26 standing on the baseline at y 26, the bar over x 36 … 51 from
  // y 11 down to 36.
  EXPECT_EQ(PixelAt(*picture, 10, 10), kRed);
  EXPECT_EQ(PixelAt(*picture, 40, 34), kRed);
  EXPECT_EQ(PixelAt(*picture, 28, 10), kRed & 0x00FFFFFF);
  EXPECT_EQ(PixelAt(*picture, 10, 30), kRed & 0x00FFFFFF);
  EXPECT_EQ(InkedPixels(*picture), 25 * 25 + 15 * 25);
  ASSERT_TRUE(picture->LineRects());
  EXPECT_EQ(*picture->LineRects(), (std::vector<TRect>{{1, 1, 56, 51}}));
}

TEST(TextProducer, AlignmentMovesNarrowerLines) {
  TBoxShow show(u"Boxes Align");
  struct TCase {
    uint8_t Align;
    int FirstLineLeft;
  };
  for (const TCase& c : {TCase{kAlignLeft, 1}, TCase{kAlignCentre, 16}, TCase{kAlignRight, 31}}) {
    const TTextParams params = show.Params({u"1", u"11"}, 0, c.Align);
    show.PutText(params, {{kBoxGlyph}, {kBoxGlyph, kBoxGlyph}});
    const std::shared_ptr<TBitmapStore> picture = show.Render(params);
    ASSERT_TRUE(picture);
    const int x = c.FirstLineLeft;
    EXPECT_TRUE(Inked(*picture, x, 10) && Inked(*picture, x + 24, 10)) << int(c.Align);
    EXPECT_FALSE(Inked(*picture, x - 1, 10) || Inked(*picture, x + 25, 10)) << int(c.Align);
    EXPECT_TRUE(Inked(*picture, 1, 60) && Inked(*picture, 55, 60)) << int(c.Align);  // the widest line
    EXPECT_EQ(picture->LineRects()->front(), (TRect{x, 1, x + 30, 51})) << int(c.Align);
  }
}

TEST(TextProducer, UnderlineAndStrikeOutAddBars) {
  TBoxShow show(u"Boxes Bars");
  struct TCase {
    uint8_t Style;
    bool Under, Through;
  };
  for (const TCase& c : {TCase{0, false, false}, TCase{kFontUnderline, true, false},
                         TCase{kFontStrikeOut, false, true}, TCase{kFontUnderline | kFontStrikeOut, true, true}}) {
    const TTextParams params = show.Params({u"12"}, c.Style);
    show.PutText(params, {{kBoxGlyph, kBarGlyph}});
    const std::shared_ptr<TBitmapStore> picture = show.Render(params);
    ASSERT_TRUE(picture);
    // The underline 5 … 7.5 pixels below the baseline, the strike-out 15 … 12.5 above,
    // both along the line's advance (x 1 … 56).
    EXPECT_EQ(Inked(*picture, 10, 32), c.Under) << int(c.Style);
    EXPECT_EQ(Inked(*picture, 55, 32), c.Under) << int(c.Style);
    EXPECT_EQ(Inked(*picture, 30, 12), c.Through) << int(c.Style);
  }
  // Under letters that do not descend, the picture still reaches down to hold the bar.
  const TTextParams flat = show.Params({u"11"}, kFontUnderline);
  show.PutText(flat, {{kBoxGlyph, kBoxGlyph}});
  const std::shared_ptr<TBitmapStore> underlined = show.Render(flat);
  ASSERT_TRUE(underlined);
  ASSERT_GE(underlined->Height(), 34);
  EXPECT_TRUE(Inked(*underlined, 10, 32));
}

TEST(TextProducer, BackgroundFillsClearPixelsAndShowsThroughEdges) {
  TBoxShow show(u"Boxes Background");
  TTextParams params = show.Params({u"1"});
  params.Red = 255, params.Green = params.Blue = 0;
  params.OffsetX = 0.5f;  // the box's left edge halves column 1
  show.PutText(params, {{kBoxGlyph}});
  const std::shared_ptr<TBitmapStore> picture = show.Render(params, 0xFF0000FF);
  ASSERT_TRUE(picture);
  EXPECT_EQ(PixelAt(*picture, 10, 10), kRed);
  EXPECT_EQ(PixelAt(*picture, 0, 10), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(*picture, 10, 26), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(*picture, 1, 10) >> 24, 0xFFu);
  EXPECT_TRUE(ColoursNear(PixelAt(*picture, 1, 10), 0xFF7F0080, 3)) << std::hex << PixelAt(*picture, 1, 10);

  // The text colour at alpha 0 is no background: edges stay partly clear.
  const std::shared_ptr<TBitmapStore> clear = show.Render(params, 0x00FF0000);
  EXPECT_EQ(PixelAt(*clear, 1, 10) >> 24, 127u);
}

TEST(TextProducer, SizesThatGiveNoPictureDrawNothing) {
  TBoxShow show(u"Boxes Sizes");
  TTextParams params = show.Params({u"1"});
  show.PutText(params, {{kBoxGlyph}});
  for (double size : {0.0, -0.05, std::nan(""), std::numeric_limits<double>::infinity(), 30.0, 40.0, 1e300}) {
    params.Size = size;
    EXPECT_FALSE(show.Render(params)) << size;
  }
  params.Size = 0.05;
  EXPECT_TRUE(show.Render(params));
}

TEST(TextProducer, ACancelledRenderGivesNothing) {
  TBoxShow show(u"Boxes Cancel");
  const TTextParams params = show.Params({u"1", u"2", u"3"});
  show.PutText(params, {{kBoxGlyph}, {kBarGlyph}, {kBoxGlyph}});
  int lines = 0;
  EXPECT_FALSE(show.Producer.Render(params, {}, [&] { return ++lines == 2; }));
  EXPECT_EQ(lines, 2);
  const std::shared_ptr<TBitmapStore> whole = show.Producer.Render(params, {}, [] { return false; });
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->LineRects()->size(), 3u);
}

TEST(TextProducer, StoredTextsAreFoundByTheirExactName) {
  TBoxShow show(u"Boxes Case");
  const TTextParams lower = show.Params({u"Ab"}), upper = show.Params({u"AB"});
  show.PutText(lower, {{kBoxGlyph}});
  show.PutText(upper, {{kBoxGlyph, kBoxGlyph}});
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(show.Render(lower)->Width(), 32);
    EXPECT_EQ(show.Render(upper)->Width(), 62);
  }
  // Kept after the first use: the show is asked once per text and once for the font.
  EXPECT_EQ(show.Show.Opened(StoredVectorTextName(lower)), 1);
  EXPECT_EQ(show.Show.Opened(GlyphCacheName(u"Boxes Case:")), 1);
  EXPECT_EQ(show.Producer.VectorText(lower), show.Producer.VectorText(lower));
}

TEST(TextProducer, AGlyphMissingFromItsCacheIsLoggedOnceAndLeftOut) {
  testing::TLogCapture log;
  TBoxShow show(u"Boxes Missing Glyph");
  const TTextParams params = show.Params({u"1x1"});
  show.PutText(params, {{kBoxGlyph, 42, kBoxGlyph}});
  for (int round = 0; round < 2; ++round) {
    const std::shared_ptr<TBitmapStore> picture = show.Render(params);
    ASSERT_TRUE(picture);
    EXPECT_EQ(InkedPixels(*picture), 2 * 25 * 25);
  }
  EXPECT_EQ(log.Count("Glyph Boxes Missing Glyph: 42 not found"), 1u);
}

TEST(TextProducer, AStoredTextWithoutItsFontIsBuiltFromTheInstalledFonts) {
  testing::TLogCapture log;
  ResetFontCache(u"show without glyph caches");
  TTestShow show;
  TTextParams params;
  params.FontName = u"No Such Font Anywhere";
  params.Size = 0.02;
  params.Lines = {u"Hg"};
  show.PutText(StoredVectorTextName(params), TestTextData({{kBoxGlyph}}, u"No Such Font Anywhere:"));
  for (int round = 0; round < 2; ++round) {
    TTextProducer producer(show.Opener());
    const std::shared_ptr<TBitmapStore> picture = producer.Render(params);
    ASSERT_TRUE(picture);
    EXPECT_GT(InkedPixels(*picture), 100);
    EXPECT_TRUE(dynamic_cast<const TSimpleVectorText*>(producer.VectorText(params).get()));
  }
  EXPECT_EQ(log.Count("Font No Such Font Anywhere: not found"), 1u);
}

TEST(TextProducer, ABuiltTextStoredWithItsGlyphCachesDrawsTheSame) {
  TTextParams params;
  params.FontName = u"DejaVu Sans";
  params.Style = kFontItalic | kFontUnderline;
  params.Size = 0.02;
  params.Lines = {u"Hg", u"", u"x\u4E2Dy"};  // the middle character comes from another font
  TTextProducer installed{TShowFileOpener()};
  const std::shared_ptr<const TVectorText> built = installed.VectorText(params);
  const auto* simple = dynamic_cast<const TSimpleVectorText*>(built.get());
  ASSERT_TRUE(simple);
  const std::vector<std::shared_ptr<const TGlyphCache>> caches = simple->GlyphCaches();
  ASSERT_EQ(caches.size(), 2u);
  EXPECT_EQ(built->Pointer(0, 0).FontSpec, u"DejaVu Sans:Italic,Underline");
  EXPECT_NE(built->Pointer(2, 1).FontSpec, built->Pointer(2, 0).FontSpec);
  // The other font's glyph is scaled into DejaVu Sans's units (2048 per em).
  const std::optional<TGlyphPlacement> wide = built->Placement(2, 1);
  ASSERT_TRUE(wide);
  EXPECT_NEAR(wide->A + wide->B + wide->C, 2048, 300);

  ResetFontCache(u"show with DejaVu Sans");
  TTestShow show;
  show.PutText(StoredVectorTextName(params), built->Data());
  for (const auto& cache : caches) show.PutCache(*cache);
  TTextProducer stored(show.Opener());
  EXPECT_TRUE(dynamic_cast<const TCachedVectorText*>(stored.VectorText(params).get()));

  const std::shared_ptr<TBitmapStore> a = installed.Render(params), b = stored.Render(params);
  ASSERT_TRUE(a && b);
  ASSERT_EQ(std::make_pair(a->Width(), a->Height()), std::make_pair(b->Width(), b->Height()));
  EXPECT_GT(InkedPixels(*a), 300);
  for (int y = 0; y < a->Height(); ++y)
    for (int x = 0; x < a->Width(); ++x) ASSERT_EQ(PixelAt(*a, x, y), PixelAt(*b, x, y)) << x << "," << y;
  EXPECT_EQ(*a->LineRects(), *b->LineRects());
}

}  // namespace
}  // namespace kiv
