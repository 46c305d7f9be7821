#include "graphics/rotated_bitmap_store.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/errors.h"

namespace kiv {
namespace {

// A store that decodes levels 0 and 1 from letters: level 0 is "abc" over "def".
class TLetterStore : public TBitmapStore {
 public:
  explicit TLetterStore(TPixelFormat format) : TBitmapStore(3, 2, format) {}
  int LevelCount() const override { return 2; }
  const char* ClassName() const override { return "TLetterStore"; }

 protected:
  std::unique_ptr<TBitmap> DecodeLevel(int level) override {
    auto bitmap = std::make_unique<TBitmap>(level == 0 ? 3 : 2, level == 0 ? 2 : 1, Format());
    bitmap->SetMipLevel(level);
    bitmap->Palette()['a'] = 0xFF112233;
    const char* rows[2] = {"abc", "def"};
    for (int y = 0; y < bitmap->Height(); ++y)
      for (int x = 0; x < bitmap->Width(); ++x)
        for (int b = 0; b < BytesPerPixel(Format()); ++b)
          bitmap->Row(y)[x * BytesPerPixel(Format()) + b] = uint8_t(rows[y][x]);
    return bitmap;
  }
};

std::vector<std::string> Letters(const TBitmap& bitmap) {
  std::vector<std::string> rows;
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::string row;
    for (int x = 0; x < bitmap.Width(); ++x) {
      const uint8_t* pixel = bitmap.Row(y) + x * BytesPerPixel(bitmap.Format());
      for (int b = 1; b < BytesPerPixel(bitmap.Format()); ++b) EXPECT_EQ(pixel[b], pixel[0]);
      row += char(pixel[0]);
    }
    rows.push_back(row);
  }
  return rows;
}

using TRows = std::vector<std::string>;

TEST(RotatedBitmapStore, TurnsEveryLevelAsTheOrientationAsks) {
  for (TPixelFormat format : {TPixelFormat::Indexed8, TPixelFormat::Rgb565, TPixelFormat::Bgr24, TPixelFormat::Bgra32}) {
    SCOPED_TRACE(PixelFormatName(format));
    const auto inner = std::make_shared<TLetterStore>(format);

    const auto clockwise = UprightBitmapStore(inner, 6);
    EXPECT_EQ(clockwise->Width(), 2);
    EXPECT_EQ(clockwise->Height(), 3);
    EXPECT_EQ(clockwise->Format(), format);
    EXPECT_EQ(clockwise->LevelCount(), 2);
    EXPECT_EQ(Letters(*clockwise->GetMipLevel(0)), (TRows{"da", "eb", "fc"}));
    EXPECT_EQ(Letters(*clockwise->GetMipLevel(1)), (TRows{"a", "b"}));
    EXPECT_EQ(clockwise->GetMipLevel(1)->MipLevel(), 1);

    const auto counterClockwise = UprightBitmapStore(inner, 8);
    EXPECT_EQ(counterClockwise->Width(), 2);
    EXPECT_EQ(Letters(*counterClockwise->GetMipLevel(0)), (TRows{"cf", "be", "ad"}));
    EXPECT_EQ(Letters(*counterClockwise->GetMipLevel(1)), (TRows{"b", "a"}));

    const auto halfTurn = UprightBitmapStore(inner, 3);
    EXPECT_EQ(halfTurn->Width(), 3);
    EXPECT_EQ(halfTurn->Height(), 2);
    EXPECT_EQ(Letters(*halfTurn->GetMipLevel(0)), (TRows{"fed", "cba"}));
    EXPECT_EQ(Letters(*halfTurn->GetMipLevel(1)), (TRows{"ba"}));
  }
}

TEST(RotatedBitmapStore, KeepsPaletteAndConvertsLikeAnyStore) {
  const auto turned = UprightBitmapStore(std::make_shared<TLetterStore>(TPixelFormat::Indexed8), 6);
  const auto indexed = turned->GetMipLevel(0);
  EXPECT_EQ(indexed->Palette()['a'], 0xFF112233u);
  const auto bgra = turned->GetMipLevel(0, TPixelFormat::Bgra32);
  ASSERT_TRUE(bgra);
  EXPECT_EQ(bgra->Width(), 2);
  const uint8_t* topRight = bgra->Row(0) + 4;  // the letter a
  EXPECT_EQ(topRight[0], 0x33);
  EXPECT_EQ(topRight[2], 0x11);
}

TEST(RotatedBitmapStore, RefusesLevelsTheInnerStoreDoesNotMake) {
  const auto turned = UprightBitmapStore(std::make_shared<TLetterStore>(TPixelFormat::Bgr24), 8);
  EXPECT_FALSE(turned->GetMipLevel(4));
  EXPECT_FALSE(turned->GetMipLevel(-1));
  try {
    turned->GetMipLevel(2);
    FAIL() << "level 2 was made";
  } catch (const EKivError& e) {
    EXPECT_STREQ(e.what(), "\"TRotatedBitmapStore.GetMipLevel(2)\" Not Assigned");
  }
}

TEST(RotatedBitmapStore, UprightPicturesNeedNoWrapper) {
  const auto inner = std::make_shared<TLetterStore>(TPixelFormat::Bgr24);
  for (int orientation : {0, 1, 2, 4, 5, 7, 9, -6}) EXPECT_EQ(UprightBitmapStore(inner, orientation), inner);
  EXPECT_THROW(TRotatedBitmapStore(inner, 1), EAssertionFailed);
}

}  // namespace
}  // namespace kiv
