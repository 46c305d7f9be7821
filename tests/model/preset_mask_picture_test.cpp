// Made mask shapes reach the slides through the standard picture providers: as pictures
// of their own and as the mask of a mask object that names one.
#include "model/kinds_test_support.h"
#include "model/kiv_mask.h"
#include "support/pixels.h"

namespace kiv {
namespace {

TEST_F(KindsTest, MaskObjectsNamingAMadeShapeTakeItsSizeAndShape) {
  Read(
      "[Slide1]\n"
      "object Frame: ViewPort\n"
      "  Size=800,600\n"
      "  object Oval: Mask\n"
      "    ImageName=PresetedMask: 300:200:1:10:0\n"
      "  end\n"
      "  object Odd: Mask\n"
      "    ImageName=PresetedMask: 300:200:7:10:0\n"
      "  end\n"
      "end\n");
  Prepare();
  const TKivObject& viewport = Child(0);
  EXPECT_EQ(viewport.Children().at(0)->Size(), (TSizeF{300, 200}));
  EXPECT_EQ(viewport.Children().at(1)->Size(), (TSizeF{0, 0}));  // an unknown shape shows nothing
  const auto& oval = dynamic_cast<const TKivMask&>(*viewport.Children().at(0));
  ASSERT_TRUE(oval.Picture());
  const std::shared_ptr<const TBitmap> mask = oval.Picture()->GetMipLevel(0, TPixelFormat::Bgra32);
  ASSERT_EQ(mask->Width(), 300);
  ASSERT_EQ(mask->Height(), 200);
  auto alpha = [&](int x, int y) { return AlphaAt(*mask, x, y); };
  EXPECT_EQ(alpha(150, 100), 255);
  EXPECT_EQ(alpha(0, 0), 0);
  EXPECT_EQ(alpha(299, 199), 0);
  EXPECT_GT(alpha(150, 5), 0);  // inside the soft band, on its way up
  EXPECT_LT(alpha(150, 5), 255);
  EXPECT_EQ(mask->Row(0)[0], 255);  // white, as every mask

  // The shape itself, grey; a name that makes nothing is no picture, not a placeholder.
  const std::shared_ptr<TBitmapStore> shape = host.LoadPicture(u"PresetedMask: 64:32:0:0:50");
  ASSERT_TRUE(shape);
  const std::shared_ptr<const TBitmap> grey = shape->GetMipLevel(0, TPixelFormat::Bgr24);
  EXPECT_EQ(grey->Width(), 64);
  EXPECT_EQ(grey->Row(16)[3 * 32], 255);
  EXPECT_EQ(grey->Row(0)[0], 0);
  EXPECT_FALSE(host.LoadPicture(u"PresetedMask: 0:32:0:0:50"));
  EXPECT_FALSE(host.LoadPicture(u"Mask: PresetedMask: 64:32:0"));
}

}  // namespace
}  // namespace kiv
