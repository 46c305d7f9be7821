// Mask pictures: a picture with transparency masks by its alpha, an opaque one by its
// brightness; a mask object takes the size of the picture it names.
#include "model/mask_picture_provider.h"

#include "model/kinds_test_support.h"
#include "model/kiv_mask.h"
#include "support/pixels.h"

namespace kiv {
namespace {

TEST(MaskOfPicture, OpaquePicturesMaskByBrightnessOthersByAlpha) {
  TBitmap opaque(2, 1, TPixelFormat::Bgra32);
  const uint8_t grey[8] = {255, 255, 255, 255, 40, 40, 40, 255};  // white, dark grey
  std::copy_n(grey, 8, opaque.Row(0));
  std::unique_ptr<TBitmap> byBrightness = MaskOfPicture(opaque);
  EXPECT_EQ(AlphaAt(*byBrightness, 0, 0), 255);
  EXPECT_NEAR(AlphaAt(*byBrightness, 1, 0), 40, 1);

  TBitmap cutOut(2, 1, TPixelFormat::Bgra32);
  const uint8_t pixels[8] = {0, 0, 0, 255, 255, 255, 255, 0};  // opaque black, clear white
  std::copy_n(pixels, 8, cutOut.Row(0));
  std::unique_ptr<TBitmap> byAlpha = MaskOfPicture(cutOut);
  EXPECT_EQ(AlphaAt(*byAlpha, 0, 0), 255);
  EXPECT_EQ(AlphaAt(*byAlpha, 1, 0), 0);
  EXPECT_EQ(byAlpha->Row(0)[0], 255);  // the mask itself is white
}

TEST_F(KindsTest, MaskObjectsTakeTheSizeOfTheirPictureAndMissingOnesStayEmpty) {
  Magick("-size 40x30 xc:none -fill white -draw 'circle 20,15 20,2' shape.png");
  Read(
      "[Slide1]\n"
      "object Frame: ViewPort\n"
      "  Size=800,600\n"
      "  object Round: Mask\n"
      "    ImageName=shape.png\n"
      "  end\n"
      "  object Lost: Mask\n"
      "    ImageName=nowhere.png\n"
      "  end\n"
      "end\n");
  Prepare();
  const TKivObject& viewport = Child(0);
  EXPECT_EQ(viewport.Children().at(0)->Size(), (TSizeF{40, 30}));
  EXPECT_EQ(viewport.Children().at(1)->Size(), (TSizeF{0, 0}));
  const auto& round = dynamic_cast<const TKivMask&>(*viewport.Children().at(0));
  ASSERT_TRUE(round.Picture());
  std::shared_ptr<const TBitmap> mask = round.Picture()->GetMipLevel(0);
  EXPECT_EQ(AlphaAt(*mask, 20, 15), 255);
  EXPECT_EQ(AlphaAt(*mask, 0, 0), 0);
}

}  // namespace
}  // namespace kiv
