// Recolouring pictures: hue turns round the colour wheel, saturation scales the colour
// there is, lightness moves towards white or black; alpha is never touched.
#include "graphics/hsl_adjust.h"

#include <gtest/gtest.h>

namespace kiv {
namespace {

// A one-pixel Bgra32 picture of colour (0xAARRGGBB) adjusted by shift.
uint32_t Adjusted(uint32_t colour, THslShift shift) {
  TBitmap picture(1, 1, TPixelFormat::Bgra32);
  uint8_t* p = picture.Row(0);
  p[0] = uint8_t(colour), p[1] = uint8_t(colour >> 8), p[2] = uint8_t(colour >> 16), p[3] = uint8_t(colour >> 24);
  AdjustHsl(picture, shift);
  return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

TEST(HslAdjust, HueTurnsTheColourWheelBothWays) {
  EXPECT_EQ(Adjusted(0xFFFF0000, {120, 0, 0}), 0xFF00FF00u);
  EXPECT_EQ(Adjusted(0xFFFF0000, {-120, 0, 0}), 0xFF0000FFu);
  EXPECT_EQ(Adjusted(0xFF00FF00, {180, 0, 0}), 0xFFFF00FFu);
  EXPECT_EQ(Adjusted(0x80FFFF00, {60, 0, 0}), 0x8000FF00u);  // yellow to green, alpha kept
  EXPECT_EQ(Adjusted(0xFF808080, {90, 0, 0}), 0xFF808080u);  // greys have no hue
  // Beyond half a turn counts as half a turn.
  EXPECT_EQ(Adjusted(0xFFFF0000, {540, 0, 0}), Adjusted(0xFFFF0000, {180, 0, 0}));
}

TEST(HslAdjust, SaturationAndLightnessReachGreyWhiteAndBlack) {
  EXPECT_EQ(Adjusted(0xFFFF0000, {0, -100, 0}), 0xFF808080u);
  EXPECT_EQ(Adjusted(0xFF808080, {0, 100, 0}), 0xFF808080u);  // nothing to strengthen in grey
  // Half-saturated red doubled: pure red, within rounding.
  const uint32_t stronger = Adjusted(0xFFBF4040, {0, 100, 0});
  EXPECT_GE(stronger >> 16 & 0xFF, 254u);
  EXPECT_LE(stronger & 0xFFFF, 0x0101u);
  EXPECT_EQ(Adjusted(0xFF2060A0, {0, 0, 100}), 0xFFFFFFFFu);
  EXPECT_EQ(Adjusted(0xFF2060A0, {0, 0, -100}), 0xFF000000u);
  EXPECT_EQ(Adjusted(0xFF000000, {0, 0, 50}), 0xFF808080u);
  EXPECT_EQ(Adjusted(0x00FF0000, {0, 0, -50}), 0x00800000u);
}

TEST(HslAdjust, NoShiftAndOtherFormatsLeaveThePictureAlone) {
  for (uint32_t colour : {0xFF123456u, 0x7FFEDCBAu, 0xFF010203u}) EXPECT_EQ(Adjusted(colour, {}), colour);
  TBitmap indexed(2, 1, TPixelFormat::Indexed8);
  indexed.Row(0)[0] = 77;
  AdjustHsl(indexed, {90, 50, 50});
  EXPECT_EQ(indexed.Row(0)[0], 77);
  // Bgr24 rows are adjusted pixel by pixel, padding untouched.
  TBitmap rgb(3, 1, TPixelFormat::Bgr24);
  for (int x = 0; x < 3; ++x) rgb.Row(0)[3 * x + 2] = 255;
  rgb.Row(0)[9] = 42;
  AdjustHsl(rgb, {120, 0, 0});
  for (int x = 0; x < 3; ++x) EXPECT_EQ(rgb.Row(0)[3 * x + 1], 255) << x;
  EXPECT_EQ(rgb.Row(0)[9], 42);
}

}  // namespace
}  // namespace kiv
