// Stored vector texts and glyph caches (written, read back, and damaged), glyphs scaled
// from their capture size, and the layout of lines.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "graphics/cached_vector_text.h"
#include "graphics/text_layout.h"
#include "text_test_support.h"

namespace kiv {
namespace {

std::optional<TVectorTextData> ReadText(const std::vector<uint8_t>& bytes) {
  TMemoryStream stream(bytes);
  return ReadStoredVectorText(stream);
}

std::optional<TGlyphCache> ReadCache(const std::vector<uint8_t>& bytes) {
  TMemoryStream stream(bytes);
  return ReadGlyphCache(stream);
}

std::vector<uint8_t> TextBytes(const TVectorTextData& data) {
  return StoredBytes([](TStream& s, const TVectorTextData& d) { WriteStoredVectorText(s, d); }, data);
}

TCachedVectorText CachedText(TVectorTextData data, float captureSize = kTestEm) {
  TGlyphCacheMap caches;
  caches[u"Boxes:"] = std::make_shared<const TGlyphCache>(TestGlyphCache(u"Boxes:", captureSize));
  return TCachedVectorText(std::move(data), std::move(caches));
}

TEST(StoredVectorText, ReadsBackWhatWasWritten) {
  TVectorTextData data = TestTextData({{kBoxGlyph, kBarGlyph}, {}, {kBarGlyph}});
  data.Lines[2].Glyphs[0].FontSpec = u"Other:Bold";
  const std::vector<uint8_t> bytes = TextBytes(data);
  // Header, then per line 4 bytes of count, per glyph 14 bytes and the spec's units.
  EXPECT_EQ(bytes.size(), 28u + 3 * 4 + 2 * (14 + 12) + (14 + 20));
  EXPECT_EQ(ReadText(bytes), data);
}

TEST(StoredVectorText, EveryShortenedOrDamagedFormReadsAsNothing) {
  const std::vector<uint8_t> bytes = TextBytes(TestTextData({{kBoxGlyph, kBarGlyph}, {kBoxGlyph}}));
  for (size_t size = 0; size < bytes.size(); ++size)
    EXPECT_FALSE(ReadText({bytes.begin(), bytes.begin() + ptrdiff_t(size)})) << size;

  auto withInt32 = [&](size_t at, int32_t value) {
    std::vector<uint8_t> damaged = bytes;
    for (int i = 0; i < 4; ++i) damaged[at + size_t(i)] = uint8_t(uint32_t(value) >> (8 * i));
    return damaged;
  };
  for (int32_t count : {-1, 3, kMaxStoredTextLines + 1, std::numeric_limits<int32_t>::max()})
    EXPECT_FALSE(ReadText(withInt32(0, count))) << "line count " << count;
  for (int32_t count : {-1, 3, 1 << 30}) EXPECT_FALSE(ReadText(withInt32(28, count))) << "glyph count " << count;
  for (int32_t count : {-1, 7, 1 << 30}) EXPECT_FALSE(ReadText(withInt32(42, count))) << "spec units " << count;
}

TEST(GlyphCache, ReadsBackWhatWasWritten) {
  const TGlyphCache cache = TestGlyphCache(u"Boxes:Italic", 2048);
  const std::optional<TGlyphCache> back = ReadCache(StoredBytes(WriteGlyphCache, cache));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->FontSpec(), u"Boxes:Italic");
  ASSERT_EQ(back->Glyphs().size(), 2u);
  for (const TGlyphData& glyph : cache.Glyphs()) {
    const TGlyphData* read = back->Find(glyph.Index);
    ASSERT_TRUE(read);
    EXPECT_EQ(std::tie(read->A, read->B, read->C, read->Above, read->Below, read->CaptureSize),
              std::tie(glyph.A, glyph.B, glyph.C, glyph.Above, glyph.Below, glyph.CaptureSize));
    EXPECT_EQ(read->Outline.Points, glyph.Outline.Points);
  }
  EXPECT_FALSE(back->Find(3));
}

TEST(GlyphCache, EveryShortenedFormReadsAsNothing) {
  const std::vector<uint8_t> bytes = StoredBytes(WriteGlyphCache, TestGlyphCache(u"Boxes:"));
  for (size_t size = 0; size < bytes.size(); ++size)
    EXPECT_FALSE(ReadCache({bytes.begin(), bytes.begin() + ptrdiff_t(size)})) << size;
}

TEST(GlyphCache, AnOutlineOutOfRangeIsDroppedAndTheGlyphKept) {
  const float bad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 2e6f};
  for (float value : bad) {
    TGlyphCache cache = TestGlyphCache(u"Boxes:");
    TGlyphData odd = *cache.Find(kBoxGlyph);
    odd.Index = 7;
    odd.Outline.Points[2].Y = value;
    cache.Add(odd);
    const std::optional<TGlyphCache> back = ReadCache(StoredBytes(WriteGlyphCache, cache));
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->Find(7)->Outline.Points.empty()) << value;
    EXPECT_EQ(back->Find(7)->B, 500);
    EXPECT_EQ(back->Find(kBoxGlyph)->Outline.Points.size(), 4u);
  }
  TGlyphCache cache = TestGlyphCache(u"Boxes:");
  TGlyphData unknown = *cache.Find(kBoxGlyph);
  unknown.Index = 8;
  unknown.Outline.Points[1].Command = 5;
  cache.Add(unknown);
  EXPECT_TRUE(ReadCache(StoredBytes(WriteGlyphCache, cache))->Find(8)->Outline.Points.empty());
}

TEST(VectorText, GlyphsAreScaledFromTheirCaptureSize) {
  // Outlines and measures captured at twice the text's size come back at its size.
  const TCachedVectorText text = CachedText(TestTextData({{kBoxGlyph, kBarGlyph}}), 2 * kTestEm);
  EXPECT_EQ(text.GlyphOutline(0, 1).Points, TestGlyphCache(u"").Find(kBarGlyph)->Outline.Points);
  const std::optional<TGlyphPlacement> bar = text.Placement(0, 1);
  ASSERT_TRUE(bar);
  EXPECT_EQ(std::tie(bar->PenX, bar->A, bar->B, bar->C, bar->Above, bar->Below),
            std::make_tuple(600.0, 100.0, 300.0, 100.0, 300.0, 200.0));
  const TLineMetrics line = text.LineMetrics(0);
  EXPECT_EQ(std::tie(line.LeftExtent, line.RightExtent, line.AdvanceEnd, line.Above, line.Below),
            std::make_tuple(0.0, 1100.0, 1100.0, 500.0, 200.0));
}

TEST(VectorText, AGlyphWithoutUsableRecordIsLeftOut) {
  TVectorTextData data = TestTextData({{kBoxGlyph, kBarGlyph, kBoxGlyph}});
  data.Lines[0].Glyphs[1].Index = 99;                                            // not in the cache
  data.Lines[0].Glyphs[2].Size = std::numeric_limits<float>::quiet_NaN();        // no scale
  const TCachedVectorText text = CachedText(std::move(data));
  EXPECT_FALSE(text.Placement(0, 1));
  EXPECT_TRUE(text.GlyphOutline(0, 2).Points.empty());
  EXPECT_EQ(text.LineMetrics(0).AdvanceEnd, 600);
}

TEST(TextLayout, LinesFollowAtTheLineHeightPlusSpacing) {
  const double s = 0.05;  // 50 pixels for ascent + descent
  struct TCase {
    std::vector<std::vector<uint16_t>> Lines;
    double Spacing;
    double Height;
  };
  const TCase cases[] = {
      {{{kBoxGlyph}}, 100, 50},
      {{{kBoxGlyph}, {kBoxGlyph}}, 100, 125},
      {{{kBoxGlyph}, {}, {kBarGlyph}}, 0, 150},  // the empty line keeps its height
      {{{kBoxGlyph}, {kBoxGlyph}}, -50, 87.5},
  };
  for (const TCase& c : cases) {
    const TTextLayout layout = LayoutText(CachedText(TestTextData(c.Lines)), s, c.Spacing);
    EXPECT_DOUBLE_EQ(layout.Height, c.Height) << c.Lines.size() << " lines at " << c.Spacing;
    EXPECT_DOUBLE_EQ(layout.Lines.back().OriginY, c.Height - 50);
  }
}

TEST(TextLayout, SizeAndOverhangsComeFromTheLines) {
  TVectorTextData data = TestTextData({{kBoxGlyph}, {kBarGlyph, kBoxGlyph}, {}});
  data.Lines[1].Glyphs[0].PenX = -200;  // a glyph 200 units left of the line's origin
  const TTextLayout layout = LayoutText(CachedText(std::move(data)), 0.05, 0);
  ASSERT_EQ(layout.Lines.size(), 3u);
  const TTextLineLayout& first = layout.Lines[0];
  EXPECT_EQ(std::tie(first.Left, first.Top, first.Right, first.Bottom), std::make_tuple(0.0, -40.0, 30.0, 10.0));
  EXPECT_EQ(layout.Lines[2].Right, 0);
  EXPECT_EQ(layout.Width, 55);  // the second line ends at 500 + 600 units
  EXPECT_DOUBLE_EQ(layout.LeftOverhang, 10);
  EXPECT_EQ(layout.RightOverhang, 0);
  EXPECT_DOUBLE_EQ(layout.TopExtent, 40);  // the empty line counts with the font's ascent
  EXPECT_DOUBLE_EQ(layout.BottomExtent, 10);
}

}  // namespace
}  // namespace kiv
