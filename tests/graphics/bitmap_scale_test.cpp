#include "graphics/bitmap_scale.h"

#include <gtest/gtest.h>

namespace kiv {
namespace {

void Put(TBitmap& bitmap, int x, int y, std::initializer_list<uint8_t> bytes) {
  std::copy(bytes.begin(), bytes.end(), bitmap.Row(y) + x * BytesPerPixel(bitmap.Format()));
}

std::vector<uint8_t> Get(const TBitmap& bitmap, int x, int y) {
  const uint8_t* p = bitmap.Row(y) + x * BytesPerPixel(bitmap.Format());
  return {p, p + BytesPerPixel(bitmap.Format())};
}

TEST(HalveBitmap, AveragesEachBlockAndKeepsTheOddEdge) {
  TBitmap source(3, 3, TPixelFormat::Bgr24);
  Put(source, 0, 0, {0, 10, 100});
  Put(source, 1, 0, {4, 20, 100});
  Put(source, 0, 1, {8, 30, 100});
  Put(source, 1, 1, {12, 41, 100});
  Put(source, 2, 0, {50, 0, 0});
  Put(source, 2, 1, {70, 0, 0});
  Put(source, 2, 2, {9, 9, 9});
  source.SetMipLevel(1);

  auto half = HalveBitmap(source);
  ASSERT_TRUE(half);
  EXPECT_EQ(half->Width(), 2);
  EXPECT_EQ(half->Height(), 2);
  EXPECT_EQ(half->Format(), TPixelFormat::Bgr24);
  EXPECT_EQ(half->MipLevel(), 2);
  EXPECT_EQ(Get(*half, 0, 0), (std::vector<uint8_t>{6, 25, 100}));  // 101 / 4 rounds to 25
  EXPECT_EQ(Get(*half, 1, 0), (std::vector<uint8_t>{60, 0, 0}));    // right column: two pixels
  EXPECT_EQ(Get(*half, 1, 1), (std::vector<uint8_t>{9, 9, 9}));     // corner: one pixel
}

TEST(HalveBitmap, TransparentPixelsLendNoColour) {
  TBitmap source(2, 1, TPixelFormat::Bgra32);
  Put(source, 0, 0, {0, 0, 0, 0});          // transparent black
  Put(source, 1, 0, {200, 100, 50, 255});   // opaque colour
  auto half = HalveBitmap(source);
  ASSERT_TRUE(half);
  EXPECT_EQ(Get(*half, 0, 0), (std::vector<uint8_t>{200, 100, 50, 128}));

  TBitmap clear(2, 2, TPixelFormat::Bgra32);
  Put(clear, 1, 1, {40, 40, 40, 0});
  auto halfClear = HalveBitmap(clear);
  ASSERT_TRUE(halfClear);
  EXPECT_EQ(Get(*halfClear, 0, 0), (std::vector<uint8_t>{10, 10, 10, 0}));
}

TEST(HalveBitmap, ReachesOnePixelAndRefusesOtherFormats) {
  auto bitmap = std::make_unique<TBitmap>(5, 1, TPixelFormat::Bgra32);
  for (int level = 1; level <= 3; ++level) {
    bitmap = HalveBitmap(*bitmap);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->Height(), 1);
  }
  EXPECT_EQ(bitmap->Width(), 1);
  EXPECT_FALSE(HalveBitmap(TBitmap(2, 2, TPixelFormat::Rgb565)));
  EXPECT_FALSE(HalveBitmap(TBitmap(2, 2, TPixelFormat::Indexed8)));
}

}  // namespace
}  // namespace kiv
