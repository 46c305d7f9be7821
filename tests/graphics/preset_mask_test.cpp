// Mask shapes made from their names: the name's fields, the grey shapes with their soft
// and smoothed edges, and the requests that give no picture.
#include "graphics/preset_mask.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "base/text.h"

namespace kiv {
namespace {

std::unique_ptr<TBitmap> Make(int32_t width, int32_t height, int32_t kind, int32_t softness, int32_t radius) {
  return MakePresetMask({width, height, kind, softness, radius}, {});
}

uint8_t At(const TBitmap& mask, int x, int y) {
  const uint8_t* pixel = mask.Row(y) + 3 * x;
  EXPECT_TRUE(pixel[0] == pixel[1] && pixel[1] == pixel[2]) << "grey at " << x << "," << y;
  return pixel[0];
}

TEST(PresetMaskName, ReadsFiveFieldsAndUnreadableOnesAsZero) {
  EXPECT_EQ(ParsePresetMaskName(u"PresetedMask: 300:200:1:10:0"), (TPresetMaskRequest{300, 200, 1, 10, 0}));
  EXPECT_EQ(ParsePresetMaskName(u"PresetedMask:  64 :-5:+1:100: 25"), (TPresetMaskRequest{64, -5, 1, 100, 25}));
  EXPECT_EQ(ParsePresetMaskName(u"PresetedMask: abc:200:1x:1.5:"), (TPresetMaskRequest{0, 200, 0, 0, 0}));
  EXPECT_EQ(ParsePresetMaskName(u"PresetedMask: 99999999999:-2147483648:2147483648:-:$10"),
            (TPresetMaskRequest{0, std::numeric_limits<int32_t>::min(), 0, 0, 0}));

  const std::u16string refused[] = {
      u"PresetedMask: 300:200:1:10",      // four fields
      u"PresetedMask: 300:200:1:10:0:5",  // six
      u"PresetedMask:300:200:1:10:0",     // prefix without its blank
      u"presetedmask: 300:200:1:10:0",    // prefix in another case
      u"Mask: 300:200:1:10:0",
      u"",
  };
  for (const std::u16string& name : refused) EXPECT_FALSE(ParsePresetMaskName(name)) << Utf16ToUtf8(name);
}

TEST(PresetMask, HardShapesAreFullInsideEmptyOutsideAndSmoothAtTheEdge) {
  const std::unique_ptr<TBitmap> rectangle = Make(37, 20, 0, 0, 0);
  ASSERT_TRUE(rectangle);
  EXPECT_EQ(rectangle->Format(), TPixelFormat::Bgr24);
  EXPECT_EQ(rectangle->Width(), 37);
  EXPECT_EQ(rectangle->Height(), 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 37; ++x) ASSERT_EQ(At(*rectangle, x, y), 255) << x << "," << y;

  const std::unique_ptr<TBitmap> ellipse = Make(300, 200, 1, 0, 0);
  ASSERT_TRUE(ellipse);
  EXPECT_EQ(At(*ellipse, 150, 100), 255);
  EXPECT_EQ(At(*ellipse, 0, 0), 0);
  EXPECT_EQ(At(*ellipse, 299, 199), 0);
  EXPECT_EQ(At(*ellipse, 1, 100), 255);  // its ends touch the sides
  EXPECT_GE(At(*ellipse, 0, 100), 250);
  EXPECT_EQ(At(*ellipse, 150, 1), 255);
  EXPECT_GE(At(*ellipse, 150, 0), 250);
  // Along a row the edge crosses at most one or two partly covered pixels, never a
  // step from 0 to 255 straight away at the slanted part of the edge.
  int partial = 0;
  for (int x = 0; x < 150; ++x) partial += At(*ellipse, x, 30) != 0 && At(*ellipse, x, 30) != 255;
  EXPECT_GE(partial, 1);
  EXPECT_LE(partial, 3);
  // Mirror-symmetric both ways.
  for (int x = 0; x < 300; x += 7) EXPECT_EQ(At(*ellipse, x, 30), At(*ellipse, 299 - x, 169)) << x;
}

TEST(PresetMask, SoftBandFallsSmoothlyToNothingAtTheEdge) {
  // 20 % of half of 100: a band of 10 pixels along each side.
  const std::unique_ptr<TBitmap> rectangle = Make(200, 100, 0, 20, 0);
  ASSERT_TRUE(rectangle);
  // The outermost pixels sample the profile half a pixel in: next to nothing.
  EXPECT_LE(At(*rectangle, 0, 50), 2);
  EXPECT_LE(At(*rectangle, 100, 0), 2);
  EXPECT_GT(At(*rectangle, 5, 50), 0);
  EXPECT_LT(At(*rectangle, 5, 50), 255);
  EXPECT_EQ(At(*rectangle, 10, 50), 255);
  EXPECT_EQ(At(*rectangle, 100, 10), 255);
  for (int x = 1; x <= 10; ++x) EXPECT_GT(At(*rectangle, x, 50), At(*rectangle, x - 1, 50)) << x;

  // Fully soft: the ellipse rises from its edge right up to its centre, never back down.
  const std::unique_ptr<TBitmap> ellipse = Make(301, 151, 1, 100, 0);
  ASSERT_TRUE(ellipse);
  EXPECT_EQ(At(*ellipse, 150, 75), 255);
  EXPECT_EQ(At(*ellipse, 0, 75), 0);
  EXPECT_LT(At(*ellipse, 150, 60), 255);
  for (int y = 1; y <= 75; ++y) EXPECT_GE(At(*ellipse, 150, y), At(*ellipse, 150, y - 1)) << y;
  for (int x = 1; x <= 150; ++x) EXPECT_GE(At(*ellipse, x, 75), At(*ellipse, x - 1, 75)) << x;
  EXPECT_LT(At(*ellipse, 150, 2), 8);
  // Softness beyond 100 % fades no further.
  const std::unique_ptr<TBitmap> beyond = Make(301, 151, 1, 500, 0);
  EXPECT_EQ(0, std::memcmp(beyond->Pixels().data(), ellipse->Pixels().data(), size_t(ellipse->Stride()) * 151));
}

TEST(PresetMask, RadiusRoundsTheCornersOfTheRectangle) {
  // 20 % of the smaller side 100: corners of radius 20.
  const std::unique_ptr<TBitmap> rounded = Make(200, 100, 0, 0, 20);
  ASSERT_TRUE(rounded);
  EXPECT_EQ(At(*rounded, 0, 0), 0);
  EXPECT_EQ(At(*rounded, 199, 99), 0);
  EXPECT_EQ(At(*rounded, 100, 0), 255);  // the middle of each edge is full
  EXPECT_EQ(At(*rounded, 0, 50), 255);
  EXPECT_EQ(At(*rounded, 20, 0), 255);  // where the corner's curve ends
  EXPECT_EQ(At(*rounded, 6, 6), 255);   // inside the curve (19.1 from the centre of the curve)
  EXPECT_EQ(At(*rounded, 4, 4), 0);     // outside it (21.9)

  // 50 % and above: half circles at the ends, the picture's middle row still full.
  const std::unique_ptr<TBitmap> stadium = Make(200, 100, 0, 0, 50);
  const std::unique_ptr<TBitmap> beyond = Make(200, 100, 0, 0, 90);
  EXPECT_EQ(At(*stadium, 1, 50), 255);
  EXPECT_EQ(At(*stadium, 0, 30), 0);
  EXPECT_EQ(At(*stadium, 100, 0), 255);
  EXPECT_EQ(0, std::memcmp(beyond->Pixels().data(), stadium->Pixels().data(), size_t(stadium->Stride()) * 100));
  // The radius does not shape the ellipse.
  const std::unique_ptr<TBitmap> ellipse = Make(60, 40, 1, 0, 0);
  const std::unique_ptr<TBitmap> ellipseWithRadius = Make(60, 40, 1, 0, 30);
  EXPECT_EQ(0, std::memcmp(ellipse->Pixels().data(), ellipseWithRadius->Pixels().data(), size_t(ellipse->Stride()) * 40));
}

TEST(PresetMask, CancellingOrAnImpossibleRequestGivesNoPicture) {
  int asked = 0;
  EXPECT_FALSE(MakePresetMask({50, 40, 1, 10, 0}, [&] { return ++asked == 7; }));
  EXPECT_EQ(asked, 7);  // stopped at the seventh row
  asked = 0;
  EXPECT_TRUE(MakePresetMask({50, 40, 1, 10, 0}, [&] { return ++asked > 40; }));
  EXPECT_EQ(asked, 40);  // asked once per row

  EXPECT_FALSE(Make(50, 40, 2, 0, 0));
  EXPECT_FALSE(Make(50, 40, -1, 0, 0));
  EXPECT_FALSE(Make(0, 40, 0, 0, 0));
  EXPECT_FALSE(Make(50, -40, 1, 0, 0));
  EXPECT_FALSE(Make(kMaxPictureSide + 1, 10, 0, 0, 0));
  EXPECT_FALSE(Make(2147483647, 2147483647, 0, 0, 0));
  // The smallest picture is a full pixel of either shape.
  EXPECT_EQ(At(*Make(1, 1, 0, 100, 0), 0, 0), 255);
  EXPECT_EQ(At(*Make(1, 1, 1, 0, 0), 0, 0), 255);
}

}  // namespace
}  // namespace kiv
