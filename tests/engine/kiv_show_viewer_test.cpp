// The show viewer on virtual time: window placement from the show and from the engine's
// message, the window shown with the first frame and closed at the end, and the
// engine's actions handed on.
#include "engine/kiv_show_viewer.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/engine_test_support.h"
#include "engine/viewer_test_support.h"
#include "model/kiv_source.h"
#include "support/show_source.h"
#include "support/show_text.h"

namespace kiv {
namespace {

// Slides ending at 4000, 9000 and 15000 ms, no transitions.
const std::string kThreeSlides = SlidesEndingAt({4000, 9000, 15000});

TEST(KivShowViewer, WindowIsPlacedAsTheShowAsksThenAsTheEngineAsksAndShownWithTheFirstFrame) {
  TViewerHarness harness(true);
  harness.Open(kThreeSlides);  // full screen by default
  ASSERT_EQ(harness.Window.Placements.size(), 1u);
  EXPECT_EQ(harness.Window.Placements[0].Bounds, (TRect{0, 0, 1280, 1024}));
  EXPECT_FALSE(harness.Window.Placements[0].Windowed);
  EXPECT_FALSE(harness.Window.Shown);

  // The engine's message asks for a bordered 1600 x 1200 window: it shrinks by
  // min((1024 - 39) / 1200, (1280 - 16) / 1600) to fit the monitor with its frame.
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Window.Placements.size() == 2; }));
  const TWindowPlacement& placed = harness.Window.Placements[1];
  EXPECT_EQ(placed.Client, (TPixelSize{1264, 948}));
  EXPECT_EQ(placed.Bounds, (TRect{0, 18, 1280, 1005}));
  EXPECT_EQ(placed.FrameStyle, kFixedFrame);
  EXPECT_TRUE(placed.Windowed);

  ASSERT_TRUE(harness.WaitFor([&] { return harness.Window.Shown; }));
  EXPECT_EQ(harness.Window.Placements.size(), 2u);  // placed once per open
}

TEST(KivShowViewer, WindowOptionsOfTheShowGiveTheFirstPlacement) {
  TViewerHarness harness;
  harness.Open(kThreeSlides + "opt_scr_full=0\nopt_scr_width=1600\nopt_scr_height=1200\nopt_withoutborder=0\n");
  ASSERT_FALSE(harness.Window.Placements.empty());
  EXPECT_EQ(harness.Window.Placements[0].Client, (TPixelSize{1264, 948}));
  EXPECT_EQ(harness.Window.Placements[0].FrameStyle, kFixedFrame);

  // The engine's message for a borderless 800 x 600 window centres it.
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Window.Placements.size() == 2; }));
  EXPECT_EQ(harness.Window.Placements[1].Bounds, (TRect{240, 212, 1040, 812}));
  EXPECT_EQ(harness.Window.Placements[1].FrameStyle, kNoFrame);
}

TEST(KivShowViewer, WindowClosesAtTheEndOnlyWhenTheShowSaysClose) {
  for (const char* endMode : {"close", "stop"}) {
    SCOPED_TRACE(endMode);
    TViewerHarness harness;
    harness.Open(kThreeSlides + "opt_repeat=" + endMode + "\n");
    harness.Viewer->SetPaused(false);
    ASSERT_TRUE(harness.WaitFor([&] { return !harness.Reports.empty() && harness.Reports.back()[3] == 1; }));
    EXPECT_EQ(harness.Viewer->Position(), 15000);
    EXPECT_EQ(harness.Viewer->Length(), 15000);
    EXPECT_EQ(harness.Window.Closes, std::string(endMode) == "close" ? 1 : 0);
  }
}

TEST(KivShowViewer, ActionsOfTheEngineAreHandedOnAndMalformedMessagesAreIgnored) {
  TViewerHarness harness;
  std::vector<TKivActionInfo> actions;
  harness.Viewer->OnAction = [&](const TKivActionInfo& action) { actions.push_back(action); };
  harness.Open(kThreeSlides);
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Window.Placements.size() == 2; }));
  TKivEventData shortGeometry{kWindowGeometryMessage, {800, 600}, {}, nullptr};
  TKivEventData badMode{kWindowGeometryMessage, {800, 600, 7}, {}, nullptr};
  TKivEventData shortAction{kActionMessage, {kActionExit}, {}, nullptr};
  TKivEventData badType{kActionMessage, {300, 0}, {}, nullptr};
  TKivEventData noPicture{kSnapshotMessage, {}, {}, nullptr};
  for (TKivEventData* message : {&shortGeometry, &badMode, &shortAction, &badType, &noPicture})
    harness.Viewer->HandleMainMessage(*message);
  EXPECT_EQ(harness.Window.Placements.size(), 2u);
  EXPECT_TRUE(actions.empty());

  TKivEventData run{kActionMessage, {kActionRunApp, 0}, u"viewer.exe", nullptr};
  harness.Viewer->HandleMainMessage(run);
  EXPECT_EQ(actions, (std::vector<TKivActionInfo>{{kActionRunApp, 0, u"viewer.exe"}}));
}

}  // namespace
}  // namespace kiv
