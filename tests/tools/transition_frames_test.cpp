// Slide changes played end to end by kivshow render, on shows of coloured slides packed
// by kivshow pack: cards sampling their slides up to the edge, a frame of every class
// against a golden picture, and the cases of the mosaic, the broom, the diagonal bands,
// the roll and the clock that pixels tell apart.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>

#include "support/test_folder.h"
#include "tools/show_frames.h"

namespace kiv {
namespace {

using namespace testing;

// Cards sample their slide up to its edge: at odd sizes, and with the pictures drawn from
// reduced detail levels, the overturn, the two slides and the roll show only the red and
// blue of their slides over the black around them, never the grey the slide pictures are
// cleared to.
TEST(CardEdges, TurnedSwappedAndRolledSlidesShowOnlyTheirOwnColours) {
  const TTestFolder made("kiv_card_edges_");
  const fs::path& folder = made.Path();
  ASSERT_EQ(std::system(("cd '" + folder.string() + "' && convert -size 1000x600 xc:'#FF0000' red.png && " +
                         "convert -size 1000x600 xc:'#0000FF' blue.png")
                            .c_str()),
            0);
  const std::pair<int, int> changes[] = {{16, 1}, {16, 4}, {17, 1}, {17, 3}, {14, 2}, {15, 1}, {15, 3}};
  std::vector<TColourSlide> slides{{0, {}, "red.png", ""}};
  std::vector<int> times;
  for (const auto& [effectClass, effectType] : changes) {
    const int start = int(slides.size()) * 1000;
    times.insert(times.end(), {start + 125, start + 375});  // a quarter and three quarters through
    slides.push_back({0, {}, slides.size() % 2 ? "blue.png" : "red.png",
                      ChangeKeys(effectClass, effectType, 500, "EffectRollDiameter=150\nEffectRoll3D=1\n")});
  }
  const std::string project = ColourShow(1000, 600, 1000, slides);
  for (const std::string size : {"333x199", "167x101"}) {
    ASSERT_EQ(PackAndRender(folder, project, size, TimeList(times), size), "");
    for (int time : times) {
      const std::shared_ptr<const TBitmap> frame = LoadFrame(folder / size / FrameName(time));
      ASSERT_TRUE(frame) << time;
      int foreign = 0;
      for (int y = 0; y < frame->Height(); ++y)
        for (int x = 0; x < frame->Width(); ++x) foreign += (PixelAt(*frame, x, y) >> 8 & 0xFF) > 8;
      EXPECT_EQ(foreign, 0) << "grey at the card edges at " << time << " ms, " << size;
    }
  }
}

// One show with a change of every class, each brought in at the middle of its change, and
// a few more changes for the cases pixels are checked in: slides of red, of blue, and two
// tone (blue on the left, yellow on the right), designed at 16:9 and rendered at 160 x 120
// between black bars. The golden pictures are made anew with KIV_UPDATE_GOLDEN=1 (look at
// them before committing them).
constexpr uint32_t kRed = 0xDC2828, kBlue = 0x2828DC, kYellow = 0xF0DC3C;
const TColourSlide kSolidRed{kRed, {}, "", ""}, kSolidBlue{kBlue, {}, "", ""}, kTwoTone{kYellow, kBlue, "", ""};
// A pixel of a frame.
struct TSpot {
  int X, Y;
};
// The slide area inside the 160 x 120 frames, and its corners 4 pixels in.
constexpr int kTop = 15, kBottom = 105, kRight = 160;
constexpr TSpot kTopLeft{4, kTop + 4}, kTopRight{kRight - 5, kTop + 4}, kBottomLeft{4, kBottom - 5},
    kBottomRight{kRight - 5, kBottom - 5};
const std::string kSoft = "EffectUseSmoothline=1\nEffectSmoothline=60\n";
const std::string kRollBack = "EffectRollDiameter=200\nEffectRollUseBackColor=1\nEffectRollBackColor=65280\n";

struct TChange {
  TColourSlide Slide;  // the slide brought in
  int Class, Type;
  std::string More;
  int At = 250;  // the frame's time into the 500 ms change
};
const TChange kChanges[] = {
    {kTwoTone, 1, 1, "EffectMosaicDX=8\nEffectMosaicDY=6\nEffectMosaicSC=50\n"},
    {kSolidRed, 2, 1, ""},
    {kSolidBlue, 3, 1, "EffectUseSmoothline=1\nEffectSmoothline=100\n"},
    {kTwoTone, 4, 2, kSoft},
    {kSolidRed, 5, 2, kSoft},
    {kTwoTone, 6, 1, kSoft},
    {kSolidRed, 7, 2, kSoft},
    {kTwoTone, 8, 2, kSoft},
    {kSolidRed, 9, 3, kSoft},
    {kTwoTone, 10, 2, kSoft},
    {kSolidRed, 11, 6, kSoft + "EffectBroomOffset=20\n"},
    {kTwoTone, 12, 1, ""},
    {kSolidRed, 13, 4, ""},
    {kTwoTone, 14, 1, kRollBack},
    {kSolidRed, 15, 1, kRollBack + "EffectRoll3D=1\nEffectRollCurving=0.5\n"},
    {kTwoTone, 16, 1, "EffectFlipCurving=0.5\n", 350},  // half way the card stands edge-on
    {kSolidRed, 17, 1, ""},
    // Beyond one change a class: a mosaic without spread, mirrored diagonal bands and the
    // brooms from the other three corners.
    {kSolidBlue, 1, 1, "EffectMosaicDX=8\nEffectMosaicDY=6\nEffectMosaicSC=0\n"},
    {kSolidRed, 8, 4, kSoft},
    {kSolidBlue, 11, 5, kSoft + "EffectBroomOffset=20\n"},
    {kSolidRed, 11, 7, kSoft + "EffectBroomOffset=20\n"},
    {kSolidBlue, 11, 8, kSoft + "EffectBroomOffset=20\n"},
};
const fs::path kGolden = fs::path(KIV_SOURCE_DIR) / "tests" / "tools" / "golden";

class ChangeFrames : public ::testing::Test {
 protected:
  static inline fs::path folder;
  static inline std::string failure;

  static void SetUpTestSuite() {
    folder = fs::temp_directory_path() / ("kiv_change_frames_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::vector<TColourSlide> slides{kSolidRed};
    std::vector<int> times;
    for (const TChange& change : kChanges) {
      times.push_back(int(slides.size()) * 1000 + change.At);
      slides.push_back(change.Slide);
      slides.back().Change = ChangeKeys(change.Class, change.Type, 500, change.More);
    }
    failure = PackAndRender(folder, ColourShow(320, 180, 1000, slides), "160x120", TimeList(times));
  }
  static void TearDownTestSuite() { fs::remove_all(folder); }

  void SetUp() override {
    if (!failure.empty()) FAIL() << failure;
  }

  static fs::path FramePath(size_t change) {
    return folder / "render" / FrameName(int(change + 1) * 1000 + kChanges[change].At);
  }
  // The frame half way through change (0 for the first).
  static std::shared_ptr<const TBitmap> Middle(size_t change) { return LoadFrame(FramePath(change)); }
  // The colour the slide before change (outgoing) or the one it brings in shows at x.
  static uint32_t SlideColour(size_t change, bool incoming, int x) {
    const TColourSlide& slide = incoming ? kChanges[change].Slide : change > 0 ? kChanges[change - 1].Slide : kSolidRed;
    return slide.LeftHalf && x < kRight / 2 ? *slide.LeftHalf : slide.Colour;
  }
  // (x, y) of the middle of change shows the incoming or the outgoing slide.
  static void ExpectShows(size_t change, TSpot at, bool incoming) {
    const auto [x, y] = at;
    const uint32_t want = SlideColour(change, incoming, x), got = PixelAt(*Middle(change), x, y) & 0xFFFFFF;
    EXPECT_TRUE(ColoursNear(got, want, 24))
        << "change " << change << " (class " << kChanges[change].Class << ", type " << kChanges[change].Type
          << ") at (" << x << ", " << y << ") shows " << std::hex << got << ", not the "
          << (incoming ? "incoming " : "outgoing ") << want;
  }
};

TEST_F(ChangeFrames, EveryClassMatchesItsGoldenPicture) {
  constexpr size_t kClasses = 17;
  if (std::getenv("KIV_UPDATE_GOLDEN")) {
    for (size_t change = 0; change < kClasses; ++change)
      fs::copy_file(FramePath(change),
                    kGolden / ("change_class" + std::to_string(change + 1) + ".png"),
                    fs::copy_options::overwrite_existing);
    GTEST_SKIP() << "golden pictures written to " << kGolden;
  }
  for (size_t change = 0; change < kClasses; ++change) {
    const std::shared_ptr<const TBitmap> golden =
        LoadFrame(kGolden / ("change_class" + std::to_string(change + 1) + ".png"));
    const std::shared_ptr<const TBitmap> frame = Middle(change);
    ASSERT_TRUE(golden && frame) << "class " << change + 1;
    ASSERT_EQ(frame->Width(), golden->Width());
    ASSERT_EQ(frame->Height(), golden->Height());
    // A few edge pixels may come out differently from another rasteriser version.
    EXPECT_LE(DifferentPixels(*frame, *golden, 24), frame->Width() * frame->Height() / 200)
        << "class " << change + 1 << " differs from its golden picture";
  }
}

TEST_F(ChangeFrames, MosaicCellsComeInOneByOneWithSpreadAndAllTogetherWithout) {
  // Spread 50: each of the 8 x 6 cells (20 x 15 pixels) is one colour, some already the
  // incoming slide, some still the outgoing one.
  const std::shared_ptr<const TBitmap> spread = Middle(0);
  int incoming = 0, outgoing = 0, mixed = 0;
  for (int row = 0; row < 6; ++row)
    for (int column = 0; column < 8; ++column) {
      const int x = column * 20 + 10, y = kTop + row * 15 + 7;
      const uint32_t cell = PixelAt(*spread, x, y);
      for (const auto& [dx, dy] : {std::pair{-8, -6}, {8, -6}, {-8, 6}, {8, 6}})
        mixed += !ColoursNear(PixelAt(*spread, x + dx, y + dy), cell, 2);
      incoming += ColoursNear(cell, SlideColour(0, true, x), 2);
      outgoing += ColoursNear(cell, SlideColour(0, false, x), 2);
    }
  EXPECT_EQ(mixed, 0) << "cells of more than one colour";
  EXPECT_GT(incoming, 0);
  EXPECT_GT(outgoing, 0);
  // Spread 0 (red to blue): every cell half way in, the whole area one blend.
  const std::shared_ptr<const TBitmap> together = Middle(17);
  const uint32_t blend = PixelAt(*together, 80, 60);
  EXPECT_TRUE(ColoursNear(blend, 0x822882, 4)) << std::hex << blend;
  for (int y = kTop; y < kBottom; ++y)
    for (int x = 0; x < kRight; ++x) mixed += !ColoursNear(PixelAt(*together, x, y), blend, 2);
  EXPECT_EQ(mixed, 0) << "pixels off the blend";
}

TEST_F(ChangeFrames, BroomsFromTheCornersSweepFromOneEdgeToTheOther) {
  // The corner next to the edge the line starts along is swept first, the opposite one last.
  const struct {
    size_t Change;
    int Type;
    TSpot First, Last;
  } brooms[] = {{10, 6, kBottomLeft, kTopRight},
                {19, 5, kBottomRight, kTopLeft},
                {20, 7, kTopLeft, kBottomRight},
                {21, 8, kTopRight, kBottomLeft}};
  for (const auto& broom : brooms) {
    ASSERT_EQ(kChanges[broom.Change].Type, broom.Type);
    ExpectShows(broom.Change, broom.First, true);
    ExpectShows(broom.Change, broom.Last, false);
  }
}

TEST_F(ChangeFrames, DiagonalBandsOpenAlongTheDiagonalTheirTypeLeansTo) {
  // Type 2 along the diagonal from the bottom-left to the top-right corner; type 4 mirrored.
  for (const TSpot corner : {kTopRight, kBottomLeft}) ExpectShows(7, corner, true);
  for (const TSpot corner : {kTopLeft, kBottomRight}) ExpectShows(7, corner, false);
  for (const TSpot corner : {kTopLeft, kBottomRight}) ExpectShows(18, corner, true);
  for (const TSpot corner : {kTopRight, kBottomLeft}) ExpectShows(18, corner, false);
}

TEST_F(ChangeFrames, RollsShowTheirBackColourAndThe3DRollRisesOutOfTheSlideArea) {
  const auto count = [](const TBitmap& frame, int top, int bottom, auto&& which) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < frame.Width(); ++x) n += which(PixelAt(frame, x, y));
    return n;
  };
  const auto green = [](uint32_t rgb) {
    const int r = int(rgb >> 16 & 0xFF), g = int(rgb >> 8 & 0xFF), b = int(rgb & 0xFF);
    return g > r + 60 && g > b + 60;
  };
  const auto lit = [](uint32_t rgb) { return !ColoursNear(rgb, 0, 8); };
  for (size_t roll : {13, 14}) {
    const std::shared_ptr<const TBitmap> frame = Middle(roll);
    EXPECT_GT(count(*frame, kTop, kBottom, green), 300) << "the back of the roll of change " << roll;
    // Flat, the roll stays inside the slide area; in 3D it rises towards the viewer and
    // reaches over the bar above it.
    const int bars = count(*frame, 0, kTop, lit) + count(*frame, kBottom, frame->Height(), lit);
    if (roll == 13)
      EXPECT_EQ(bars, 0);
    else
      EXPECT_GT(bars, 20);
  }
}

// The clock's soft edges lie on the swept side all the way round and narrow over the
// second half of the turn. Moving them over to the side still to be swept by a blend of
// the two sides between 0.9π and 1.1π was tried: half way round it leaves a stripe of
// half-mixed colour along both edges, a seam this frame would show.
TEST_F(ChangeFrames, HalfWayRoundTheClockEachEdgeFadesInOnceOnItsSweptSide) {
  // Red to blue, with a soft edge of 16 pixels: the hand points down from the middle,
  // the swept half lies right of twelve o'clock and of the hand.
  const std::shared_ptr<const TBitmap> frame = Middle(2);
  for (int y : {kTop + 10, kTop + 30, kBottom - 30, kBottom - 10}) {
    for (int x = 60; x < 80; ++x) ExpectShows(2, {x, y}, false);
    int previous = 0;
    for (int x = 60; x < 110; ++x) {
      const int blue = int(PixelAt(*frame, x, y) & 0xFF);
      EXPECT_GE(blue, previous - 2) << "the blue falls back at (" << x << ", " << y << ")";
      previous = blue;
    }
    ExpectShows(2, {100, y}, true);
  }
}

}  // namespace
}  // namespace kiv
