// Compositing one colour over one Bgra32 pixel: each case of the destination's and
// the source's alpha, and coverage scaling the source's alpha.
#include "graphics/pixel_blend.h"

#include <gtest/gtest.h>

namespace kiv {
namespace {

// destination (0xAARRGGBB) after colour is blended over it.
uint32_t Blended(uint32_t destination, uint32_t colour) {
  uint8_t p[4] = {uint8_t(destination), uint8_t(destination >> 8), uint8_t(destination >> 16),
                  uint8_t(destination >> 24)};
  BlendOver(p, colour);
  return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

TEST(PixelBlend, TransparentOpaqueAndEmptyCasesReplaceOrKeep) {
  EXPECT_EQ(Blended(0x80123456, 0x00FFFFFF), 0x80123456u);  // nothing to add
  EXPECT_EQ(Blended(0x80123456, 0xFFABCDEF), 0xFFABCDEFu);  // opaque colour covers
  EXPECT_EQ(Blended(0x00123456, 0x40ABCDEF), 0x40ABCDEFu);  // empty pixel takes the colour
}

TEST(PixelBlend, OverAnOpaquePixelChannelsMoveByAlphaAndAlphaStays) {
  // Channels moving up and down: 200 → 100 by half, 0 → 255 by half, 50 stays.
  EXPECT_EQ(Blended(0xFFC80032, 0x8064FF32), 0xFF967F32u);
  // Alpha 1 barely moves anything, but negative differences round down.
  EXPECT_EQ(Blended(0xFF808080, 0x01FF0000), 0xFF807F7Fu);
}

TEST(PixelBlend, BetweenTranslucentPixelsAlphaUnitesAndColoursWeigh) {
  // Half white over half black: alpha 1 - 1/2·1/2 = 3/4, colour 2/3 white.
  EXPECT_EQ(Blended(0x80000000, 0x80FFFFFF), 0xC0A9A9A9u);
  // Half black over half white: 1/3 white.
  EXPECT_EQ(Blended(0x80FFFFFF, 0x80000000), 0xC0555555u);
  // An alpha sum reaching 256 is held at 255; equal colours stay.
  EXPECT_EQ(Blended(0xFEC8C8C8, 0xFEC8C8C8), 0xFFC8C8C8u);
}

TEST(PixelBlend, CoverageScalesAlphaDownToNothing) {
  EXPECT_EQ(WithCoverage(0xFF112233, 256), 0xFF112233u);
  EXPECT_EQ(WithCoverage(0xFF112233, 128), 0x7F112233u);
  EXPECT_EQ(WithCoverage(0x80112233, 64), 0x20112233u);
  EXPECT_EQ(WithCoverage(0xFF112233, 1), 0x00112233u);
  EXPECT_EQ(Blended(0x40445566, WithCoverage(0xFF112233, 1)), 0x40445566u);
}

}  // namespace
}  // namespace kiv
