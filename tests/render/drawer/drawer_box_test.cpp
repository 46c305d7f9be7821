// Boxes and frames: corner colours by kind, opacity, softened edges and frame bars.
#include "base/errors.h"
#include "drawer_test_support.h"
#include "render/drawer/box_colours.h"

namespace kiv {
namespace {

using namespace testing;

constexpr uint32_t kC1 = 0xFF204060;
constexpr uint32_t kC2 = 0x80A0C0E0;
constexpr uint32_t kMean = 0xBF6080A0;

TCornerColours Corners(uint8_t kind, float opacity = 100) {
  TBoxParams box;
  box.Kind = kind;
  box.Color1 = kC1;
  box.Color2 = kC2;
  box.Opacity = opacity;
  return BoxCornerColours(box);
}

TEST(BoxColours, KindsPlaceTheColoursOnTheirCorners) {
  EXPECT_EQ(MeanColour(kC1, kC2), kMean);
  // top-left, top-right, bottom-left, bottom-right
  EXPECT_EQ(Corners(0), (TCornerColours{kC1, kMean, kMean, kC2}));
  EXPECT_EQ(Corners(1), (TCornerColours{kMean, kC1, kC2, kMean}));
  EXPECT_EQ(Corners(2), (TCornerColours{kC2, kMean, kMean, kC1}));
  EXPECT_EQ(Corners(3), (TCornerColours{kMean, kC2, kC1, kMean}));
  EXPECT_EQ(Corners(4), (TCornerColours{kC2, kC1, kC2, kC1}));
  EXPECT_EQ(Corners(5), (TCornerColours{kC1, kC1, kC2, kC2}));
  EXPECT_EQ(Corners(6), (TCornerColours{kC1, kC2, kC1, kC2}));
  EXPECT_EQ(Corners(7), (TCornerColours{kC2, kC2, kC1, kC1}));
  EXPECT_EQ(Corners(8), (TCornerColours{kC1, kC1, kC1, kC1}));
  EXPECT_THROW(Corners(9), EAssertionFailed);
}

TEST(BoxColours, OpacityScalesAlphaBelowFullOnly) {
  EXPECT_EQ(Corners(8, 100)[0], kC1);
  EXPECT_EQ(Corners(8, 150)[0], kC1);
  EXPECT_EQ(Corners(8, 50)[0], 0x80204060u);
  EXPECT_EQ(Corners(5, 50)[3], 0x40A0C0E0u);
  EXPECT_EQ(ScaleAlpha(0xC8FFFFFF, 33) >> 24, 66u);
}

TEST_F(DrawerTest, BoxesAreDrawnWithOpacityAndSoftEdges) {
  TBoxParams half = SolidBox(0xFFFFFFFF);
  half.Opacity = 50;
  TBoxParams soft = SolidBox(0xFFFFFFFF);
  soft.SoftLeft = true;
  auto shot = Frame([&](TDeviceDrawer& drawer) {
    drawer.DrawBox(Place(0, 20, 10, 10), half);
    drawer.DrawBox(Place(40.25f, 20, 10, 10), soft);
  });
  EXPECT_NEAR(Red(PixelAt(*shot, 5, 25)), 128, 1);
  // Only the softened left edge fades outside the box.
  const int outside = Red(PixelAt(*shot, 39, 25));
  EXPECT_GT(outside, 0);
  EXPECT_LT(outside, 255);
  EXPECT_EQ(PixelAt(*shot, 51, 25), 0xFF000000u);

  half.Opacity = 0;
  shot = Frame([&](TDeviceDrawer& drawer) { drawer.DrawBox(Place(0, 20, 10, 10), half); });
  EXPECT_EQ(PixelAt(*shot, 5, 25), 0xFF000000u);
}

TEST_F(DrawerTest, FramesAreFourBarsThatNeverOverlap) {
  TFrameParams frame;
  frame.Color = 0x80FFFFFF;
  frame.ThicknessX = 3;
  frame.ThicknessY = 2;
  auto shot = Frame([&](TDeviceDrawer& drawer) { drawer.DrawFrame(Place(10, 10, 40, 30), frame); });
  const uint32_t bar = PixelAt(*shot, 30, 10);
  EXPECT_NEAR(Red(bar), 128, 1);
  // Corners are covered once, like the bars.
  EXPECT_EQ(PixelAt(*shot, 10, 10), bar);
  EXPECT_EQ(PixelAt(*shot, 49, 39), bar);
  EXPECT_EQ(PixelAt(*shot, 12, 25), bar);
  EXPECT_EQ(PixelAt(*shot, 47, 25), bar);
  EXPECT_EQ(PixelAt(*shot, 30, 11), bar);
  EXPECT_EQ(PixelAt(*shot, 30, 38), bar);
  // Inside and outside.
  EXPECT_EQ(PixelAt(*shot, 13, 25), 0xFF000000u);
  EXPECT_EQ(PixelAt(*shot, 30, 12), 0xFF000000u);
  EXPECT_EQ(PixelAt(*shot, 9, 25), 0xFF000000u);

  frame.ThicknessX = 0;
  frame.ThicknessY = 0;
  shot = Frame([&](TDeviceDrawer& drawer) { drawer.DrawFrame(Place(10, 10, 40, 30), frame); });
  EXPECT_EQ(PixelAt(*shot, 10, 10), 0xFF000000u);
}

}  // namespace
}  // namespace kiv
