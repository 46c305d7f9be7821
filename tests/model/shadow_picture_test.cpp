// Shadow picture names, the spread tone curves, and the shadows the generator makes
// from pictures of a show folder.
#include <gtest/gtest.h>

#include "model/kinds_test_support.h"
#include "model/shadow_picture_provider.h"
#include "support/pixels.h"

namespace kiv {
namespace {

TShadowPictureKey SampleKey() {
  TShadowPictureKey key;
  key.Width = 60;
  key.Height = 60;
  key.RadiusMilli = 4000;
  key.Red = 10;
  key.Green = 20;
  key.Blue = 200;
  key.Alpha = 150;
  key.Caster = u"caster.png";
  return key;
}

TEST(ShadowPictureName, RoundTripsAndRefusesWhatItDidNotWrite) {
  TShadowPictureKey key = SampleKey();
  key.Level = 1;
  key.SpreadIndex = -3;
  key.CellLeft = 5, key.CellTop = 6, key.CellWidth = 7, key.CellHeight = 8;
  key.CasterAlpha = 9;
  key.Caster = u"Text: Arial:12:x";  // a caster name may hold ":"
  const std::u16string name = ShadowPictureName(key);
  EXPECT_EQ(name, u"Shadow: 1:60:60:1:4000:10:10:20:200:150:-3:5:6:7:8:9:0:Text: Arial:12:x");
  EXPECT_EQ(ParseShadowPictureName(name), key);

  const std::u16string refused[] = {
      u"Shadow: 1:60:60:1:4000:10:10:20:200:150:-3:5:6:7:8:9:0",         // no caster
      u"Shadow: 2:60:60:1:4000:10:10:20:200:150:-3:5:6:7:8:9:0:a",       // other format
      u"Shadow: 1:60:60:1:4000:11:10:20:200:150:-3:5:6:7:8:9:0:a",       // wrong border
      u"Shadow: 1:60:60:1:4000:10:10:20:200:150:-3:5:6:7:8:9:1:a",       // wrong halvings
      u"Shadow: 1:$3C:60:1:4000:10:10:20:200:150:-3:5:6:7:8:9:0:a",      // other spelling
      u"Shadow: 1:0:60:1:4000:10:10:20:200:150:-3:5:6:7:8:9:0:a",        // no width
      u"Shadow: 1:60:60:1:4000:10:10:20:256:150:-3:5:6:7:8:9:0:a",       // not a byte
      u"Shadow: 1:60:60:1:4000:10:10:20:200:150:-5:5:6:7:8:9:0:a",       // spread too far
      u"Shadow: 1:60:60:1:4000:10:10:20:200:150:-3:-5:6:7:8:9:0:a",      // cell outside
      u"Shadow:1:60:60:1:4000:10:10:20:200:150:-3:5:6:7:8:9:0:a",        // prefix
      u"Shadow: 1:60:60:1:4000:10:10:20:200:150:-3:5:6:7:8:9:0:",        // empty caster
  };
  for (const std::u16string& text : refused) EXPECT_FALSE(ParseShadowPictureName(text)) << Utf16ToUtf8(text);
}

TEST(ShadowPictureName, LargeShadowsAreHalvedWithTheirRadius) {
  TShadowPictureKey key = SampleKey();
  key.Width = 2000, key.Height = 1000;
  const TShadowLayout layout = ShadowLayout(key);
  // 2020 × 1020 with its border is too many pixels; 1010 × 510 is not.
  EXPECT_EQ(layout.Halvings, 1);
  EXPECT_EQ(layout.Width, 1000);
  EXPECT_EQ(layout.Height, 500);
  EXPECT_DOUBLE_EQ(layout.Radius, 2);
  EXPECT_EQ(layout.Border, 5);

  key.Width = 15000, key.Height = 10;  // too wide, though small
  EXPECT_LE(ShadowLayout(key).Width + 2 * ShadowLayout(key).Border, 10000);
  EXPECT_EQ(ParseShadowPictureName(ShadowPictureName(key)), key);
}

TEST(ShadowPictureName, SpreadCurvesKeepTheEndsAndMoveTheMiddle) {
  for (int32_t index = -kMaxSpreadIndex; index <= kMaxSpreadIndex; ++index) {
    EXPECT_FLOAT_EQ(SpreadTone(0, index), 0);
    EXPECT_FLOAT_EQ(SpreadTone(1, index), 1);
  }
  EXPECT_FLOAT_EQ(SpreadTone(0.5f, 0), 0.5f);
  EXPECT_GT(SpreadTone(0.5f, 2), SpreadTone(0.5f, 1));
  EXPECT_GT(SpreadTone(0.5f, 1), 0.5f);
  EXPECT_LT(SpreadTone(0.5f, -1), 0.5f);
  EXPECT_FLOAT_EQ(SpreadTone(2, 0), 1);  // overshoot is clamped
}

TEST_F(KindsTest, ShadowOfAPictureIsItsBlurredAlphaInTheShadowColour) {
  // A 40 × 40 opaque square in the middle of a transparent 60 × 60 picture.
  Magick("-size 60x60 xc:none -fill white -draw 'rectangle 10,10,49,49' caster.png");
  const std::shared_ptr<TBitmapStore> store = host.LoadPicture(ShadowPictureName(SampleKey()));
  ASSERT_TRUE(store);
  const std::shared_ptr<const TBitmap> shadow = store->GetMipLevel(0, TPixelFormat::Bgra32);
  // Radius 4: a border of 10 on each side.
  ASSERT_EQ(shadow->Width(), 80);
  ASSERT_EQ(shadow->Height(), 80);
  EXPECT_NEAR(AlphaAt(*shadow, 40, 40), 150, 3);
  // Fading from the square's centre outwards, to nothing at the border's edge.
  EXPECT_GT(AlphaAt(*shadow, 40, 40), AlphaAt(*shadow, 22, 40));
  EXPECT_GT(AlphaAt(*shadow, 22, 40), AlphaAt(*shadow, 16, 40));
  EXPECT_GT(AlphaAt(*shadow, 16, 40), AlphaAt(*shadow, 10, 40));
  EXPECT_LT(AlphaAt(*shadow, 1, 40), 5);
  EXPECT_LT(AlphaAt(*shadow, 0, 0), 2);
  const uint8_t* pixel = shadow->Row(40) + 4 * 40;
  EXPECT_EQ(pixel[0], 200);
  EXPECT_EQ(pixel[1], 20);
  EXPECT_EQ(pixel[2], 10);

  // A plain box shape at its own alpha; a missing caster or a damaged name gives none.
  TShadowPictureKey box = SampleKey();
  box.Caster = kBoxShadowCaster;
  box.CasterAlpha = 100;
  const std::shared_ptr<TBitmapStore> boxShadow = host.LoadPicture(ShadowPictureName(box));
  ASSERT_TRUE(boxShadow);
  EXPECT_NEAR(AlphaAt(*boxShadow->GetMipLevel(0, TPixelFormat::Bgra32), 40, 40), 150 * 100 / 255, 2);
  box.Caster = u"missing.png";
  EXPECT_FALSE(host.LoadPicture(ShadowPictureName(box)));
  EXPECT_FALSE(host.LoadPicture(u"Shadow: 1:60:60:caster.png"));
  // A grid cell outside the caster cannot be made.
  TShadowPictureKey cell = SampleKey();
  cell.CellLeft = 50, cell.CellWidth = 20, cell.CellHeight = 20;
  EXPECT_FALSE(host.LoadPicture(ShadowPictureName(cell)));
}

}  // namespace
}  // namespace kiv
