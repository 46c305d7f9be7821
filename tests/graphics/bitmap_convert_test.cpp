#include "graphics/bitmap_convert.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kiv {
namespace {

uint32_t PixelArgb(const TBitmap& bitmap, int x, int y) {
  const uint8_t* p = bitmap.Row(y) + x * BytesPerPixel(bitmap.Format());
  const uint32_t alpha = bitmap.Format() == TPixelFormat::Bgra32 ? p[3] : 0xFF;
  return alpha << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

uint16_t Word(const TBitmap& bitmap, int x, int y) {
  uint16_t v;
  std::memcpy(&v, bitmap.Row(y) + 2 * x, 2);
  return v;
}

void PutWord(TBitmap& bitmap, int x, int y, uint16_t v) { std::memcpy(bitmap.Row(y) + 2 * x, &v, 2); }

TEST(ConvertBitmap, IndexedColoursComeFromThePaletteWithItsAlpha) {
  TBitmap indexed(3, 2, TPixelFormat::Indexed8);
  indexed.Palette()[0] = 0xFF102030;
  indexed.Palette()[7] = 0x80A0B0C0;
  indexed.Row(0)[0] = 7;
  indexed.Row(1)[2] = 7;
  indexed.SetMipLevel(2);

  auto bgra = ConvertBitmap(indexed, TPixelFormat::Bgra32);
  ASSERT_TRUE(bgra);
  EXPECT_EQ(bgra->MipLevel(), 2);
  EXPECT_EQ(PixelArgb(*bgra, 0, 0), 0x80A0B0C0u);
  EXPECT_EQ(PixelArgb(*bgra, 1, 0), 0xFF102030u);
  EXPECT_EQ(PixelArgb(*bgra, 2, 1), 0x80A0B0C0u);

  auto bgr = ConvertBitmap(indexed, TPixelFormat::Bgr24);
  ASSERT_TRUE(bgr);
  EXPECT_EQ(bgr->Stride(), 12);
  EXPECT_EQ(PixelArgb(*bgr, 2, 1), 0xFFA0B0C0u);
  EXPECT_EQ(PixelArgb(*bgr, 1, 1), 0xFF102030u);
}

TEST(ConvertBitmap, SixteenBitColoursWidenToFullRangeAndOpaque) {
  TBitmap rgb555(2, 1, TPixelFormat::Rgb555);
  PutWord(rgb555, 0, 0, 0x7C00 | 0x8000);  // pure red, the unused top bit set
  PutWord(rgb555, 1, 0, 0x0200);            // green 16 of 31
  auto from555 = ConvertBitmap(rgb555, TPixelFormat::Bgra32);
  ASSERT_TRUE(from555);
  EXPECT_EQ(PixelArgb(*from555, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(PixelArgb(*from555, 1, 0), 0xFF008400u);

  TBitmap rgb565(2, 1, TPixelFormat::Rgb565);
  PutWord(rgb565, 0, 0, 0x07E0);  // pure green
  PutWord(rgb565, 1, 0, 0x001F);  // pure blue
  auto from565 = ConvertBitmap(rgb565, TPixelFormat::Bgr24);
  ASSERT_TRUE(from565);
  EXPECT_EQ(PixelArgb(*from565, 0, 0), 0xFF00FF00u);
  EXPECT_EQ(PixelArgb(*from565, 1, 0), 0xFF0000FFu);
}

TEST(ConvertBitmap, EveryFiveAndSixBitLevelSurvivesTheRoundTrip) {
  TBitmap levels(64, 1, TPixelFormat::Rgb565);
  for (int v = 0; v < 64; ++v) PutWord(levels, v, 0, uint16_t((v & 31) << 11 | v << 5 | (31 - (v & 31))));
  auto wide = ConvertBitmap(levels, TPixelFormat::Bgra32);
  ASSERT_TRUE(wide);
  auto back = ConvertBitmap(*wide, TPixelFormat::Rgb565);
  ASSERT_TRUE(back);
  for (int v = 0; v < 64; ++v) EXPECT_EQ(Word(*back, v, 0), Word(levels, v, 0)) << v;

  TBitmap levels555(32, 1, TPixelFormat::Rgb555);
  for (int v = 0; v < 32; ++v) PutWord(levels555, v, 0, uint16_t(v << 10 | (31 - v) << 5 | v));
  auto wide555 = ConvertBitmap(levels555, TPixelFormat::Bgr24);
  ASSERT_TRUE(wide555);
  auto back555 = ConvertBitmap(*wide555, TPixelFormat::Rgb555);
  ASSERT_TRUE(back555);
  for (int v = 0; v < 32; ++v) EXPECT_EQ(Word(*back555, v, 0), Word(levels555, v, 0)) << v;
}

TEST(ConvertBitmap, TrueColourKeepsColoursAndGainsOrDropsAlpha) {
  TBitmap bgr(1, 1, TPixelFormat::Bgr24);
  bgr.Row(0)[0] = 1;
  bgr.Row(0)[1] = 2;
  bgr.Row(0)[2] = 3;
  auto bgra = ConvertBitmap(bgr, TPixelFormat::Bgra32);
  ASSERT_TRUE(bgra);
  EXPECT_EQ(PixelArgb(*bgra, 0, 0), 0xFF030201u);

  bgra->Pixels()[3] = 0x40;
  auto back = ConvertBitmap(*bgra, TPixelFormat::Bgr24);
  ASSERT_TRUE(back);
  EXPECT_EQ(PixelArgb(*back, 0, 0), 0xFF030201u);
  auto copy = ConvertBitmap(*bgra, TPixelFormat::Bgra32);
  ASSERT_TRUE(copy);
  EXPECT_EQ(PixelArgb(*copy, 0, 0), 0x40030201u);
}

TEST(ConvertBitmap, RefusesConversionsThatCannotBeMade) {
  const TBitmap indexed(1, 1, TPixelFormat::Indexed8);
  const TBitmap rgb555(1, 1, TPixelFormat::Rgb555);
  const TBitmap bgra(1, 1, TPixelFormat::Bgra32);
  EXPECT_FALSE(ConvertBitmap(bgra, TPixelFormat::Indexed8));
  EXPECT_FALSE(ConvertBitmap(indexed, TPixelFormat::Indexed8));
  EXPECT_FALSE(ConvertBitmap(indexed, TPixelFormat::Rgb565));
  EXPECT_FALSE(ConvertBitmap(rgb555, TPixelFormat::Rgb565));
  EXPECT_FALSE(ConvertBitmap(rgb555, TPixelFormat::Rgb555));
}

}  // namespace
}  // namespace kiv
