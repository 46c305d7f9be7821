// Drop shadows as objects draw them: before the object, grown by the shadow's border and
// moved in the shadow direction, and not at all when disabled or fully transparent.
#include <gtest/gtest.h>

#include <cmath>

#include "model/kinds_test_support.h"
#include "model/kiv_box.h"
#include "model/kiv_image.h"

namespace kiv {
namespace {

TVector3 Centre(const TQuadPlace& place) { return place.Origin + place.AxisX * 0.5 + place.AxisY * 0.5; }

float Length(const TVector3& v) { return std::sqrt(Dot(v, v)); }

class ObjectShadowTest : public KindsTest {
 protected:
  void ReadPicture(const std::string& keys) {
    Read("[Slide1]\nobject Pic: image\n  ImageName=photo.png\n" + keys + "end\n");
    Prepare();
    AdvanceTo(1000);
  }
  void SetUp() override { Magick("-size 200x100 xc:red photo.png"); }
};

TEST_F(ObjectShadowTest, PictureDrawsItsShadowFirstGrownAndMovedAlongTheAngle) {
  ReadPicture("  ShadowEnable=1\n  ShadowDistance=10\n  ShadowAngle=90\n  ShadowSize=20\n");
  TRecordingDrawer drawer;
  slide->Draw(drawer);
  ASSERT_EQ(drawer.Images.size(), 2u);
  const TKivImage& picture = ChildAs<TKivImage>(0);
  const TImageDraw& shadow = drawer.Images[0];
  const TImageDraw& own = drawer.Images[1];
  EXPECT_EQ(own.Picture, picture.Picture().get());
  ASSERT_NE(shadow.Picture, own.Picture);
  EXPECT_FLOAT_EQ(shadow.Params.Opacity, own.Params.Opacity);
  // Straight down (90°) by 10 / 100 of sqrt(200 × 100) own pixels, in slide pixels.
  const TPlacementFrame& frame = picture.Frame();
  const float expected = 10.0f / 100 * std::sqrt(200.0f * 100) * std::sqrt(Length(frame.AxisX) * Length(frame.AxisY));
  ExpectNear(Centre(shadow.Place) - Centre(own.Place), {0, expected, 0});
  // Radius 20 × sqrt(200 × 100) / 400 + 1 ≈ 8.07: a border of 21 pixels on each side.
  EXPECT_EQ(shadow.Picture->Width(), 242);
  EXPECT_EQ(shadow.Picture->Height(), 142);
  EXPECT_NEAR(shadow.Place.AxisX.X, own.Place.AxisX.X * 242 / 200, 1e-3);
  EXPECT_NEAR(shadow.Place.AxisY.Y, own.Place.AxisY.Y * 142 / 100, 1e-3);

  // The same shadow is not made again; the device objects of both are handed back.
  const TBitmapStore* made = shadow.Picture;
  slide->Draw(drawer);
  EXPECT_EQ(drawer.Images.at(2).Picture, made);
  slide->ReleaseDeviceObjects(drawer);
  EXPECT_EQ(drawer.FreedStores, 2);
}

TEST_F(ObjectShadowTest, NoShadowWhenDisabledTransparentOrLeftOutByTheHost) {
  // Only the object's own picture is asked for (the drawer skips it when transparent).
  // A host that only measures objects makes no shadows, yet the picture keeps its size.
  for (const std::string keys : {"  ShadowEnable=0\n", "  ShadowEnable=1\n  object K: keypoint\n    Opacity=0\n  end\n",
                                 "  ShadowEnable=1\n  ShadowSize=20\n"}) {
    host.SetShadowsMade(keys.find("ShadowSize") == std::string::npos);
    ReadPicture(keys);
    EXPECT_EQ(ChildAs<TKivImage>(0).Size().Width, 200) << keys;
    TRecordingDrawer drawer;
    slide->Draw(drawer);
    ASSERT_EQ(drawer.Images.size(), 1u) << keys;
    EXPECT_EQ(drawer.Images[0].Picture, ChildAs<TKivImage>(0).Picture().get());
  }
}

TEST_F(ObjectShadowTest, BoxCastsAPlainShapeShadowAtItsOwnAlpha) {
  Read("[Slide1]\nobject S: box\n  Size=100,100\n  Alpha1=255\n  ShadowEnable=1\n  ShadowAngle=180\n"
       "  ShadowColor=0,0,255\n  ShadowOpacity=100\nend\n");
  Prepare();
  AdvanceTo(1000);
  TRecordingDrawer drawer;
  slide->Draw(drawer);
  ASSERT_EQ(drawer.Images.size(), 1u);
  ASSERT_EQ(drawer.Boxes.size(), 1u);
  const TImageDraw& shadow = drawer.Images[0];
  EXPECT_LT(Centre(shadow.Place).X, Centre(drawer.Boxes[0].first).X);  // to the left
  const std::shared_ptr<const TBitmap> pixels =
      const_cast<TBitmapStore*>(shadow.Picture)->GetMipLevel(0, TPixelFormat::Bgra32);
  const uint8_t* middle = pixels->Row(pixels->Height() / 2) + 4 * (pixels->Width() / 2);
  EXPECT_EQ(middle[0], 255);
  EXPECT_NEAR(middle[3], 255, 3);
  slide->ReleaseDeviceObjects(drawer);
  EXPECT_EQ(drawer.FreedStores, 1);
}

TEST(ShadowPlace, ThreeDShadowFollowsTheObjectsPlaneAndTheOtherTheScreen) {
  // An object turned a quarter round and shown at twice its size.
  TPlacementFrame frame;
  frame.AxisX = {0, 2, 0};
  frame.AxisY = {-2, 0, 0};
  const TQuadPlace place{{0, 0, 0}, frame.AxisX * 100, frame.AxisY * 100};
  const TShadowCaster caster = PictureShadowCaster(u"a.png", {100, 100}, 0);
  TShadowParams shadow;
  shadow.Distance = 10;
  shadow.Angle = 0;
  const TVector3 moved = Centre(ShadowPlace(shadow, caster, frame, place)) - Centre(place);
  ExpectNear(moved, {20, 0, 0});  // 10 % of 100 own pixels at twice the size
  shadow.Follows3D = true;
  ExpectNear(Centre(ShadowPlace(shadow, caster, frame, place)) - Centre(place), {0, 20, 0});
}

}  // namespace
}  // namespace kiv
