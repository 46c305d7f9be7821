// The geometry under every mask: polygons cut to the slide area with their alphas
// blended at the cut, and the soft band's rings from opaque to clear.
#include <gtest/gtest.h>

#include "render/transitions/mask_polygon.h"
#include "render/transitions/soft_band.h"

namespace kiv {
namespace {

TEST(MaskPolygon, ClippingKeepsTheInsideAndBlendsAlphaAtTheCut) {
  const TRectF area{0, 0, 100, 50};
  // Wholly inside: unchanged.
  const TMaskPolygon inside{{10, 10, 255}, {20, 10, 255}, {20, 20, 0}};
  ASSERT_EQ(ClipToRect(inside, area).size(), 3u);
  // A band from x = -100 (alpha 0) to x = 100 (alpha 200): cut at x = 0 with alpha 100.
  const TMaskPolygon band{{-100, 10, 0}, {100, 10, 200}, {100, 20, 200}, {-100, 20, 0}};
  const TMaskPolygon cut = ClipToRect(band, area);
  ASSERT_EQ(cut.size(), 4u);
  float leftmost = 1e9f, alphaThere = -1;
  for (const TMaskPoint& p : cut) {
    EXPECT_GE(p.X, 0);
    if (p.X < leftmost) leftmost = p.X, alphaThere = p.Alpha;
  }
  EXPECT_FLOAT_EQ(leftmost, 0);
  EXPECT_FLOAT_EQ(alphaThere, 100);
  // Outside, or reduced to a line: nothing.
  EXPECT_TRUE(ClipToRect({{200, 10, 255}, {300, 10, 255}, {300, 20, 255}}, area).empty());
  EXPECT_TRUE(ClipToRect({{10, 10, 255}, {20, 10, 255}}, area).empty());
}

TEST(SoftBand, RingsRunFromOpaqueAtTheCoreToClearAtTheReach) {
  const std::vector<TBandRing> rings = SoftBandRings(100, 140, 1000);
  ASSERT_FALSE(rings.empty());
  EXPECT_FLOAT_EQ(rings.front().From, 100);
  EXPECT_FLOAT_EQ(rings.front().AlphaInside, 255);
  EXPECT_NEAR(rings.back().To, 140, 1e-3);
  EXPECT_FLOAT_EQ(rings.back().AlphaOutside, 0);
  for (size_t i = 0; i < rings.size(); ++i) {
    EXPECT_GT(rings[i].To, rings[i].From);
    EXPECT_GE(rings[i].AlphaInside, rings[i].AlphaOutside);
    if (i > 0) {
      EXPECT_FLOAT_EQ(rings[i].From, rings[i - 1].To);  // no gaps, no overlaps
      EXPECT_FLOAT_EQ(rings[i].AlphaInside, rings[i - 1].AlphaOutside);
    }
  }
  // The S-curve: halfway through the band, half of the shape is gone.
  EXPECT_EQ(rings.size(), 14u);
  EXPECT_NEAR(rings[6].AlphaOutside, 127.5f, 8);
}

TEST(SoftBand, ThinBandsNegativeCoresAndTheMaximum) {
  // 10 pixels: steps under 2 pixels merge; the band still ends clear at its reach.
  const std::vector<TBandRing> thin = SoftBandRings(50, 60, 1000);
  EXPECT_LT(thin.size(), 14u);
  EXPECT_NEAR(thin.back().To, 60, 1e-3);
  EXPECT_FLOAT_EQ(thin.back().AlphaOutside, 0);
  // A hard edge: no band.
  EXPECT_TRUE(SoftBandRings(50, 50, 1000).empty());
  // The shape has only just begun: the band starts at the centre, part faded already.
  const std::vector<TBandRing> young = SoftBandRings(-30, 10, 1000);
  ASSERT_FALSE(young.empty());
  EXPECT_FLOAT_EQ(young.front().From, 0);
  EXPECT_LT(young.front().AlphaInside, 255);
  EXPECT_GT(young.front().AlphaInside, 0);
  // Rings that would start beyond the maximum are left out.
  for (const TBandRing& ring : SoftBandRings(100, 140, 110)) EXPECT_LE(ring.From, 110);
}

}  // namespace
}  // namespace kiv
