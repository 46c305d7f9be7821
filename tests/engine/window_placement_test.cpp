#include "engine/window_placement.h"

#include <gtest/gtest.h>

namespace kiv {
namespace {

// A 1280 x 1024 primary monitor with a task bar at the bottom, and a second monitor to its right.
const TScreenLayout kTwoMonitors{{{0, 0, 1280, 1024}, {1280, 0, 3200, 1200}}, {0, 0, 1280, 984}};

TPixelSize CaptionFrame(TWindowFrameStyle style) { return style == kResizableFrame ? TPixelSize{20, 43} : TPixelSize{16, 39}; }

TEST(WindowPlacement, LargeWindowShrinksToFitWithItsFrameAndIsCentred) {
  const TWindowPlacement placement = PlaceShowWindow({1600, 1200}, kBorderedWindow, kTwoMonitors, {}, CaptionFrame);
  // min((1024 - 39) / 1200, (1280 - 16) / 1600) = 0.79
  EXPECT_EQ(placement.Client, (TPixelSize{1264, 948}));
  EXPECT_EQ(placement.Bounds, (TRect{0, 18, 1280, 1005}));
  EXPECT_EQ(placement.FrameStyle, kFixedFrame);
  EXPECT_TRUE(placement.Windowed);

  const TWindowPlacement resizable =
      PlaceShowWindow({640, 480}, kBorderedWindow, kTwoMonitors, {0, false, true}, CaptionFrame);
  EXPECT_EQ(resizable.FrameStyle, kResizableFrame);
  EXPECT_EQ(resizable.Client, (TPixelSize{640, 480}));
  EXPECT_EQ(resizable.Bounds, (TRect{310, 250, 970, 773}));
}

TEST(WindowPlacement, AreaIsTheChosenMonitorOrTheWorkArea) {
  const TWindowPlacement second = PlaceShowWindow({0, 0}, kFullScreenWindow, kTwoMonitors, {2, false, false}, CaptionFrame);
  EXPECT_EQ(second.Bounds, (TRect{1280, 0, 3200, 1200}));
  EXPECT_EQ(second.FrameStyle, kNoFrame);
  EXPECT_FALSE(second.Windowed);

  for (int invalid : {0, 3, -1}) {
    const TWindowPlacement primary =
        PlaceShowWindow({0, 0}, kFullScreenWindow, kTwoMonitors, {invalid, false, false}, CaptionFrame);
    EXPECT_EQ(primary.Bounds, (TRect{0, 0, 1280, 1024}));
  }

  // Aligned to the desktop the task bar stays free.
  const TWindowPlacement aligned =
      PlaceShowWindow({1280, 1024}, kBorderlessWindow, kTwoMonitors, {2, true, false}, CaptionFrame);
  EXPECT_EQ(aligned.Client, (TPixelSize{1230, 984}));
  EXPECT_EQ(aligned.Bounds, (TRect{25, 0, 1255, 984}));
  EXPECT_EQ(aligned.FrameStyle, kNoFrame);
  EXPECT_TRUE(aligned.Windowed);
}

TEST(WindowPlacement, WindowThatFitsKeepsItsSizeAndAnEmptySizeFillsTheArea) {
  const TWindowPlacement small = PlaceShowWindow({641, 481}, kBorderlessWindow, kTwoMonitors, {}, CaptionFrame);
  EXPECT_EQ(small.Client, (TPixelSize{641, 481}));
  EXPECT_EQ(small.Bounds, (TRect{319, 271, 960, 752}));  // halves rounded toward zero

  const TWindowPlacement empty = PlaceShowWindow({0, 480}, kBorderedWindow, kTwoMonitors, {}, CaptionFrame);
  EXPECT_EQ(empty.Client, (TPixelSize{1264, 985}));
  EXPECT_EQ(empty.Bounds, (TRect{0, 0, 1280, 1024}));
}

}  // namespace
}  // namespace kiv
