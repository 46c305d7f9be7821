// Transitions drawn by the real drawer: a red slide changing into a blue one, looked at
// where each transition must show which slide at chosen moments.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <utility>
#include <numbers>

#include "render/drawer/drawer_test_support.h"
#include "render/drawer/kiv_filter.h"
#include "render/transitions/clock_effect.h"
#include "render/transitions/fade_filter.h"
#include "render/transitions/overturn_effect.h"
#include "render/transitions/random_filter.h"
#include "render/transitions/roll_effect.h"
#include "render/transitions/slide_filter.h"
#include "render/transitions/transition_factory.h"

namespace kiv {
namespace {

using namespace testing;

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

class TransitionDrawingTest : public DrawerTest {
 protected:
  void SetUp() override {
    DrawerTest::SetUp();
    SetTransitionFactory(StandardTransitions());
  }
  void TearDown() override { SetTransitionFactory(nullptr); }

  // The frame at progress (0 … 1) of a 1000 ms change of class and type.
  std::unique_ptr<TBitmap> At(int effectClass, int effectType, double progress, TEffectParams params = {}) {
    TKivFilter filter(effectClass, effectType, params, 1000);
    filter.SetTime(progress * 1000);
    return Frame([&](TDeviceDrawer& drawer) { drawer.DrawTransition(*First, *Second, false, &filter); });
  }

  std::unique_ptr<TLambdaItem> First = BoxItem(kRed);
  std::unique_ptr<TLambdaItem> Second = BoxItem(kBlue);
};

// (x, y) shows the outgoing (red) or the incoming (blue) slide.
void ExpectShows(const TBitmap& shot, int x, int y, uint32_t colour, const char* where) {
  EXPECT_EQ(PixelAt(shot, x, y), colour) << where << " (" << x << ", " << y << ")";
}

TEST_F(TransitionDrawingTest, CrossFadeBlendsByProgress) {
  const std::unique_ptr<TBitmap> half = At(2, 1, 0.5);
  const uint32_t middle = PixelAt(*half, 100, 100);
  EXPECT_NEAR(Red(middle), 128, 2);
  EXPECT_NEAR(Blue(middle), 127, 2);
  EXPECT_EQ(PixelAt(*half, 5, 5), middle);  // the same everywhere
  EXPECT_NEAR(Blue(PixelAt(*At(2, 1, 0.1), 100, 100)), 26, 2);
  // A class without an object of its own cross-fades too.
  EXPECT_EQ(PixelAt(*At(99, 1, 0.5), 100, 100), middle);
}

TEST_F(TransitionDrawingTest, ShapesOpenFromTheCentreOrCloseOverTheOutgoingSlide) {
  for (int effectClass : {4, 5, 6}) {
    TEffectParams params;
    params.CenterX = params.CenterY = 50;
    // Type 2 opens: the incoming slide in the middle, the outgoing one at the corners.
    const std::unique_ptr<TBitmap> opening = At(effectClass, 2, 0.3, params);
    ExpectShows(*opening, kWidth / 2, kHeight / 2, kBlue, "opening, middle");
    ExpectShows(*opening, 2, 2, kRed, "opening, corner");
    // Type 1 closes: the outgoing slide shrinks in the middle.
    const std::unique_ptr<TBitmap> closing = At(effectClass, 1, 0.3, params);
    ExpectShows(*closing, kWidth / 2, kHeight / 2, kRed, "closing, middle");
    ExpectShows(*closing, 2, 2, kBlue, "closing, corner");
    // Nearly done: the shape covers the slide area.
    ExpectShows(*At(effectClass, 2, 0.999, params), 1, 1, kBlue, "opened");
  }
}

TEST_F(TransitionDrawingTest, TheSoftEdgeFadesAcrossItsWidth) {
  TEffectParams params;
  params.SoftEdge = 0.25f;  // 80 of the 320 pixels
  // A wipe from the left (class 9, type 1) halfway: the band's middle lies where the
  // reach minus half the soft edge is.
  const std::unique_ptr<TBitmap> shot = At(9, 1, 0.5, params);
  const float reach = 0.5f * (kWidth + 80);
  int previous = 256;
  for (int x = int(reach) - 80; x < int(reach); x += 4) {
    const int blue = Blue(PixelAt(*shot, x, 100));
    EXPECT_LE(blue, previous) << x;
    previous = blue;
  }
  EXPECT_GT(Blue(PixelAt(*shot, int(reach) - 84, 100)), 250);
  EXPECT_LT(Blue(PixelAt(*shot, int(reach) + 2, 100)), 5);
  EXPECT_NEAR(Blue(PixelAt(*shot, int(reach) - 40, 100)), 128, 20);
}

TEST_F(TransitionDrawingTest, WipesAndBandsComeFromWhereTheirTypeSays) {
  // Class 9: from the left, right, top, bottom.
  const struct {
    int Type, X, Y;
  } edges[] = {{1, 10, 100}, {2, kWidth - 10, 100}, {3, 100, 10}, {4, 100, kHeight - 10}};
  for (const auto& edge : edges) {
    const std::unique_ptr<TBitmap> shot = At(9, edge.Type, 0.2);
    ExpectShows(*shot, edge.X, edge.Y, kBlue, "near the starting edge");
    ExpectShows(*shot, kWidth - 1 - edge.X, kHeight - 1 - edge.Y, kRed, "at the far edge");
  }
  // Class 7 type 2: a strip growing across from the middle.
  const std::unique_ptr<TBitmap> strip = At(7, 2, 0.3);
  ExpectShows(*strip, kWidth / 2, 5, kBlue, "strip");
  ExpectShows(*strip, 5, kHeight / 2, kRed, "strip's side");
  // Class 10 type 1: a diagonal wipe from the top-left corner; type 2 from the bottom-right.
  const std::unique_ptr<TBitmap> fromTopLeft = At(10, 1, 0.3);
  ExpectShows(*fromTopLeft, 3, 3, kBlue, "top-left");
  ExpectShows(*fromTopLeft, kWidth - 3, kHeight - 3, kRed, "bottom-right");
  const std::unique_ptr<TBitmap> fromBottomRight = At(10, 2, 0.3);
  ExpectShows(*fromBottomRight, kWidth - 3, kHeight - 3, kBlue, "bottom-right");
  ExpectShows(*fromBottomRight, 3, 3, kRed, "top-left");
  // Mirrored (type 3): the band leans the other way, from the bottom-left.
  const std::unique_ptr<TBitmap> mirrored = At(10, 3, 0.3);
  ExpectShows(*mirrored, 3, kHeight - 3, kBlue, "bottom-left");
  ExpectShows(*mirrored, kWidth - 3, 3, kRed, "top-right");
}

TEST_F(TransitionDrawingTest, TheBroomSweepsAboutItsPivotFromItsEdge) {
  TEffectParams params;
  params.BroomOffset = 0.2f;
  params.SoftEdge = 0.05f;
  // From above the top: the line starts at the top-right corner and turns clockwise
  // through the bottom to the top-left corner.
  ExpectShows(*At(11, 1, 0.001, params), kWidth - 2, 2, kRed, "untouched at the start");
  const std::unique_ptr<TBitmap> early = At(11, 1, 0.3, params);
  ExpectShows(*early, kWidth - 3, 3, kBlue, "swept first");
  ExpectShows(*early, 3, kHeight - 3, kRed, "swept last");
  ExpectShows(*At(11, 1, 0.999, params), 2, 2, kBlue, "all swept");
  // From left of the left edge: the line turns from the top-left corner to the bottom-left.
  const std::unique_ptr<TBitmap> fromLeft = At(11, 4, 0.3, params);
  ExpectShows(*fromLeft, 3, 3, kBlue, "top-left swept first");
  ExpectShows(*fromLeft, 3, kHeight - 3, kRed, "bottom-left swept last");
  // Reverse (type 9): the outgoing slide is swept off backwards, from the top-left corner.
  const std::unique_ptr<TBitmap> back = At(11, 9, 0.3, params);
  ExpectShows(*back, 3, 3, kBlue, "bared first");
  ExpectShows(*back, kWidth - 3, 3, kRed, "bared last");
}

TEST_F(TransitionDrawingTest, TheOverturnShowsTheOutgoingFaceThenTheIncomingOne) {
  TEffectParams params;
  params.FlipCurving = 0.5f;
  // About the vertical axis, the left edge kept in the screen plane: the card narrows,
  // its far edge shrinks, and it darkens towards edge-on.
  const std::unique_ptr<TBitmap> early = At(16, 1, 0.25, params);
  const uint32_t face = PixelAt(*early, kWidth / 2, kHeight / 2);
  EXPECT_GT(Red(face), 150);
  EXPECT_LT(Red(face), 255);
  EXPECT_EQ(Blue(face), 0);
  ExpectShows(*early, kWidth - 3, 3, 0xFF000000, "beside the turned card");
  ExpectShows(*early, kWidth - 3, kHeight / 2, 0xFF000000, "beside the narrowed card");
  const std::unique_ptr<TBitmap> late = At(16, 1, 0.75, params);
  EXPECT_GT(Blue(PixelAt(*late, kWidth / 2, kHeight / 2)), 150);
  EXPECT_EQ(Red(PixelAt(*late, kWidth / 2, kHeight / 2)), 0);
  // About the horizontal axis (type 3) the card narrows from top and bottom instead.
  const std::unique_ptr<TBitmap> across = At(16, 3, 0.25, params);
  ExpectShows(*across, kWidth / 2, 2, 0xFF000000, "above the card");
  EXPECT_GT(Red(PixelAt(*across, kWidth / 2, kHeight / 2)), 150);

  TOverturnEffect smooth(16, 1, params, {0, 0, kWidth, kHeight}, 0, 1000, true, false, 0.5f);
  smooth.SetTime(500);
  EXPECT_EQ(smooth.Brightness(), 100);  // edge-on
  smooth.SetTime(250);
  EXPECT_NEAR(smooth.Angle(), std::numbers::pi / 8, 1e-9);  // eased: 2 · 0.25² of a half turn
  smooth.SetTime(0);
  EXPECT_EQ(smooth.Brightness(), 255);
}

TEST_F(TransitionDrawingTest, TheClockHandSweepsFromTwelveOClock) {
  TEffectParams params;
  params.SoftEdge = 0.05f;  // 16 pixels
  // A quarter turn: the top-right quarter is swept.
  const std::unique_ptr<TBitmap> quarter = At(3, 1, 0.25, params);
  ExpectShows(*quarter, kWidth - 20, 20, kBlue, "top right");
  ExpectShows(*quarter, 20, 20, kRed, "top left");
  ExpectShows(*quarter, kWidth - 20, kHeight - 20, kRed, "bottom right");
  // Type 2 turns the other way.
  const std::unique_ptr<TBitmap> mirrored = At(3, 2, 0.25, params);
  ExpectShows(*mirrored, 20, 20, kBlue, "top left, mirrored");
  ExpectShows(*mirrored, kWidth - 20, 20, kRed, "top right, mirrored");

  TClockEffect clock(3, 1, params, {0, 0, 400, 400}, 16, 1000);
  clock.SetTime(250);
  EXPECT_EQ(clock.AlphaAt({300, 100}), 255);  // well inside the swept quarter
  EXPECT_EQ(clock.AlphaAt({100, 100}), 0);    // not reached
  EXPECT_EQ(clock.AlphaAt({300, 300}), 0);
  // Soft towards both edges: just right of twelve o'clock and just above the hand.
  EXPECT_LT(clock.AlphaAt({203, 50}), 64);
  EXPECT_LT(clock.AlphaAt({350, 197}), 64);
  EXPECT_GT(clock.AlphaAt({215, 50}), clock.AlphaAt({203, 50}));
  // Near the end of the turn the edges have hardened: no soft seam is left.
  clock.SetTime(990);
  EXPECT_EQ(clock.AlphaAt({203, 50}), 255);
  EXPECT_EQ(clock.AlphaAt({196, 50}), 0);  // the last sliver before twelve o'clock
}

TEST_F(TransitionDrawingTest, TwoSlidesSwapAsCardsAndOnlySidewaysOnesAreReflected) {
  TEffectParams params;
  params.SwapWidth = 1;
  params.SwapDepth = 4;
  params.SwapMaxAngle = 60;
  // Counts over the frame: slide pixels on each half, and dim pixels of a reflection.
  struct TCounts {
    int RedRight = 0, RedLeft = 0, BlueRight = 0, BlueLeft = 0, Dim = 0;
  };
  const auto count = [](const TBitmap& shot) {
    TCounts c;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const uint32_t pixel = PixelAt(shot, x, y);
        const bool right = x >= kWidth / 2;
        if (Red(pixel) > 200) (right ? c.RedRight : c.RedLeft)++;
        if (Blue(pixel) > 200) (right ? c.BlueRight : c.BlueLeft)++;
        if (std::max(Red(pixel), Blue(pixel)) > 10 && std::max(Red(pixel), Blue(pixel)) < 100) ++c.Dim;
      }
    return c;
  };
  // Type 1: the outgoing card swings out to the right, the incoming one comes from the left.
  const TCounts sideways = count(*At(17, 1, 0.3, params));
  EXPECT_GT(sideways.RedRight, sideways.RedLeft);
  EXPECT_GT(sideways.BlueLeft, sideways.BlueRight);
  EXPECT_GT(sideways.BlueLeft, 0);
  EXPECT_GT(sideways.Dim, 500);  // the floor reflects both cards
  // Type 3 moves the cards up and down, without a floor.
  const TCounts vertical = count(*At(17, 3, 0.3, params));
  EXPECT_LT(vertical.Dim, sideways.Dim / 4);
  // At the end the incoming card stands where the slide area is.
  const std::unique_ptr<TBitmap> end = At(17, 1, 0.999, params);
  ExpectShows(*end, kWidth / 2, kHeight / 2, kBlue, "incoming card in place");
}

TEST_F(TransitionDrawingTest, ThePageRollUnrollsTheIncomingSlideOrRollsUpTheOutgoingOne) {
  TEffectParams params;
  params.RollDiameter = 0.1f;  // 32 pixels
  // From the left edge, half way: unrolled on the left, still to come on the right, and
  // the roll between them shaded darker where it turns away.
  const std::unique_ptr<TBitmap> half = At(14, 1, 0.5, params);
  ExpectShows(*half, 10, 100, kBlue, "unrolled");
  ExpectShows(*half, kWidth - 10, 100, kRed, "not reached");
  int darkest = 255;
  for (int x = 100; x < kWidth - 20; ++x) darkest = std::min(darkest, Blue(PixelAt(*half, x, 100)));
  EXPECT_LT(darkest, 150);
  // Type 7 rolls the outgoing slide up from the right instead.
  const std::unique_ptr<TBitmap> rolling = At(14, 7, 0.5, params);
  ExpectShows(*rolling, 10, 100, kRed, "still flat");
  ExpectShows(*rolling, kWidth - 10, 100, kBlue, "bared");
  // From the top-left corner (class 15): the corner is reached first.
  const std::unique_ptr<TBitmap> corner = At(15, 1, 0.3, params);
  ExpectShows(*corner, 3, 3, kBlue, "near corner");
  ExpectShows(*corner, kWidth - 3, kHeight - 3, kRed, "far corner");
  // Nearly done, the incoming slide lies flat.
  ExpectShows(*At(14, 2, 0.999, params), kWidth / 2, kHeight / 2, kBlue, "unrolled");
}

TEST(RollEffect, PointsWrapRoundTheRollPastItsFront) {
  const TRect area{0, 0, 400, 200};
  // A diameter below 2 pixels rolls on a radius of 2.
  TRollEffect thin(14, 1, {}, area, 0, 1000, 1, false, false, {}, false, 0);
  thin.SetTime(500);  // the front half way from -202 to 200: at -1
  EXPECT_FLOAT_EQ(thin.Wrapped(-50).X, -50);                          // behind: flat
  EXPECT_NEAR(thin.Wrapped(-1 + 2 * std::numbers::pi_v<float> / 2).X, 1, 1e-4);  // a quarter turn: one radius on
  EXPECT_NEAR(thin.Wrapped(-1 + 2 * std::numbers::pi_v<float>).X, -1, 1e-4);     // half a turn: back over the front
  EXPECT_NEAR(thin.Wrapped(100).X, -1 - (101 - 2 * std::numbers::pi_v<float>), 1e-3);  // then straight back
  // Directions by class and type; 5 … 8 roll as 3, 4, 1, 2.
  const auto direction = [&](int effectClass, int type) {
    return TRollEffect(effectClass, type, {}, area, 0, 1000, 40, false, false, {}, false, 0).Direction();
  };
  EXPECT_FLOAT_EQ(direction(14, 1).X, 1);
  EXPECT_FLOAT_EQ(direction(14, 2).Y, 1);
  EXPECT_FLOAT_EQ(direction(14, 3).X, -1);
  EXPECT_FLOAT_EQ(direction(14, 4).Y, -1);
  EXPECT_FLOAT_EQ(direction(14, 7).X, 1);
  EXPECT_FLOAT_EQ(direction(14, 5).X, -1);
  EXPECT_NEAR(direction(15, 2).X, -0.7071f, 1e-4);
  EXPECT_NEAR(direction(15, 2).Y, 0.7071f, 1e-4);
  // In 3D the roll rises towards the viewer.
  TRollEffect raised(14, 1, {}, area, 0, 1000, 40, false, false, {}, true, 0.5f);
  raised.SetTime(500);
  EXPECT_FLOAT_EQ(raised.Wrapped(-100).Y, 0);
  EXPECT_LT(raised.Wrapped(150).Y, 0);
}

TEST_F(TransitionDrawingTest, SlideInAndPushMoveWholeSlides) {
  // The incoming slide from the left, a quarter of the way in.
  const std::unique_ptr<TBitmap> in = At(13, 1, 0.25);
  ExpectShows(*in, kWidth / 4 - 3, 100, kBlue, "slid in");
  ExpectShows(*in, kWidth / 4 + 3, 100, kRed, "still out");
  // From the bottom.
  const std::unique_ptr<TBitmap> up = At(13, 4, 0.25);
  ExpectShows(*up, 100, kHeight - kHeight / 4 + 3, kBlue, "from the bottom");
  ExpectShows(*up, 100, kHeight - kHeight / 4 - 3, kRed, "above it");
  // Push: the outgoing slide leaves ahead of the incoming one.
  TPushFilter push(12, 2, {}, {0, 0, 400, 300}, 0, 1000);
  push.SetTime(250);
  EXPECT_FLOAT_EQ(push.PushOffset().X, -100);
  EXPECT_FLOAT_EQ(push.PushOffset().Y, 0);
  const std::unique_ptr<TBitmap> pushed = At(12, 2, 0.25);
  ExpectShows(*pushed, kWidth - kWidth / 4 + 3, 100, kBlue, "pushed in from the right");
  ExpectShows(*pushed, kWidth - kWidth / 4 - 3, 100, kRed, "pushed slide");
}

TEST(MosaicFilter, CellsComeInTheirSeedsOrderAndSpreadZeroFadesAllTogether) {
  const TRect area{0, 0, 100, 100};
  TRandomFilter together(1, 1, {}, area, 0, 1000, 4, 3, 0, 7);
  together.SetTime(900);
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 4; ++column)
      EXPECT_FLOAT_EQ(together.CellAlpha(column, row), together.CellAlpha(0, 0));
  EXPECT_GT(together.CellAlpha(0, 0), 0);
  EXPECT_LT(together.CellAlpha(0, 0), 255);

  TRandomFilter a(1, 1, {}, area, 0, 1000, 8, 8, 50, 1234);
  TRandomFilter b(1, 1, {}, area, 0, 1000, 8, 8, 50, 1234);
  TRandomFilter other(1, 1, {}, area, 0, 1000, 8, 8, 50, 99);
  int shown = 0, differing = 0;
  for (double t : {0.0, 300.0, 600.0, 999.0}) {
    a.SetTime(t), b.SetTime(t), other.SetTime(t);
    for (int cell = 0; cell < 64; ++cell) {
      EXPECT_EQ(a.CellAlpha(cell % 8, cell / 8), b.CellAlpha(cell % 8, cell / 8));
      differing += a.CellAlpha(cell % 8, cell / 8) != other.CellAlpha(cell % 8, cell / 8);
      if (t == 300.0) shown += a.CellAlpha(cell % 8, cell / 8) > 0;
    }
  }
  EXPECT_GT(differing, 0);
  EXPECT_GT(shown, 0);  // part of the grid is in at 30 %, not all of it
  EXPECT_LT(shown, 64);
  a.SetTime(0);
  EXPECT_EQ(a.CellAlpha(3, 3), 0);
  a.SetTime(1000);
  EXPECT_EQ(a.CellAlpha(3, 3), 255);
}

TEST(MosaicFilter, TheGridHasAtMostOneCellPerPixelOfTheSlideArea) {
  const struct {
    int Columns, Rows;
    TRect Area;
    int WantColumns, WantRows;
  } grids[] = {
      {8, 6, {0, 0, 200, 100}, 8, 6},
      {4096, 4096, {0, 0, 200, 100}, 200, 100},  // not 16.7 million cells a frame
      {INT_MAX, 3, {10, 10, 343, 209}, 333, 3},
      {0, -5, {0, 0, 200, 100}, 1, 1},
      {5, 5, {0, 0, 0, 0}, 1, 1},
  };
  for (const auto& grid : grids) {
    TEffectParams params;
    params.MosaicColumns = grid.Columns;
    params.MosaicRows = grid.Rows;
    const std::unique_ptr<TDrawFilter> made = CreateTransition(grid.Area, 1, 1, params, 1000);
    const auto* mosaic = dynamic_cast<const TRandomFilter*>(made.get());
    ASSERT_NE(mosaic, nullptr);
    EXPECT_EQ(mosaic->Columns(), grid.WantColumns) << grid.Columns << " x " << grid.Rows;
    EXPECT_EQ(mosaic->Rows(), grid.WantRows) << grid.Columns << " x " << grid.Rows;
  }
}

TEST(TransitionFactory, ClassZeroIsACutAndTypesOutsideAClassCrossFade) {
  const TRect area{0, 0, 200, 100};
  EXPECT_EQ(CreateTransition(area, 0, 1, {}, 1000), nullptr);
  EXPECT_EQ(CreateTransition(area, -1, 1, {}, 1000), nullptr);
  const auto fades = [&](int effectClass, int type) {
    return dynamic_cast<TFadeFilter*>(CreateTransition(area, effectClass, type, {}, 1000).get()) != nullptr;
  };
  // Each class's last type: from 1 to it the class draws itself, around them it cross-fades.
  const std::pair<int, int> classes[] = {{3, 2},  {4, 2},  {5, 2},  {6, 2},  {7, 4},  {8, 4},  {9, 4}, {10, 4},
                                         {11, 16}, {12, 4}, {13, 4}, {14, 8}, {15, 8}, {16, 4}, {17, 4}};
  for (const auto& [effectClass, last] : classes) {
    EXPECT_FALSE(fades(effectClass, 1)) << effectClass;
    EXPECT_FALSE(fades(effectClass, last)) << effectClass;
    for (int outside : {0, -1, last + 1, INT_MIN})
      EXPECT_TRUE(fades(effectClass, outside)) << "class " << effectClass << ", type " << outside;
  }
  // The mosaic has no types to choose from; classes beyond the catalogue cross-fade.
  EXPECT_NE(dynamic_cast<TRandomFilter*>(CreateTransition(area, 1, 7, {}, 1000).get()), nullptr);
  EXPECT_TRUE(fades(19, 1));

  const auto reverse = [&](int effectClass, int type) {
    return CreateTransition(area, effectClass, type, {}, 1000)->Reverse();
  };
  EXPECT_TRUE(reverse(4, 1));
  EXPECT_FALSE(reverse(4, 2));
  EXPECT_TRUE(reverse(7, 3));
  EXPECT_FALSE(reverse(7, 4));
  EXPECT_TRUE(reverse(8, 1));
  EXPECT_FALSE(reverse(9, 1));
  EXPECT_EQ(CreateTransition(area, 12, 1, {}, 1000)->Pass(), TEffectPass::Push);
  EXPECT_EQ(CreateTransition(area, 13, 1, {}, 1000)->Pass(), TEffectPass::Common);
}

}  // namespace
}  // namespace kiv
