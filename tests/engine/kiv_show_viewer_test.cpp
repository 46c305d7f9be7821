// The show viewer on virtual time: window placement from the show and from the engine's
// message, the window shown with the first frame and closed at the end, and the keys.
#include "engine/kiv_show_viewer.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/engine_test_support.h"
#include "engine/show_keys.h"
#include "model/kiv_source.h"
#include "support/show_source.h"
#include "support/show_text.h"

namespace kiv {
namespace {

// Slides ending at 4000, 9000 and 15000 ms, no transitions.
const std::string kThreeSlides = SlidesEndingAt({4000, 9000, 15000});

// One 1280 x 1024 monitor with a task bar, and a caption frame of 16 x 39 pixels.
class TFakeShowWindow : public IShowWindow {
 public:
  bool IsShown() const override { return Shown; }
  void Show() override { Shown = true; }
  void Place(const TWindowPlacement& placement) override { Placements.push_back(placement); }
  void Close() override { ++Closes; }
  TScreenLayout Screens() const override { return {{{0, 0, 1280, 1024}}, {0, 0, 1280, 984}}; }
  TPixelSize FrameExtent(TWindowFrameStyle) const override { return {16, 39}; }

  bool Shown = false;
  std::vector<TWindowPlacement> Placements;
  int Closes = 0;
};

// A loader whose show asks for a bordered window of 1600 x 1200 until the engine sizes it.
class TBorderedShowLoader : public TTimingOnlyLoader {
 public:
  using TTimingOnlyLoader::TTimingOnlyLoader;
  TPixelSize Size() const override { return FSized ? TTimingOnlyLoader::Size() : TPixelSize{1600, 1200}; }
  void SetSize(TPixelSize size) override {
    FSized = true;
    TTimingOnlyLoader::SetSize(size);
  }
  int WindowMode() const override { return kBorderedWindow; }

 private:
  bool FSized = false;
};

class TViewerHarness {
 public:
  explicit TViewerHarness(bool borderedShow = false) {
    SetClock(&Clock);
    TShowViewerParts parts;
    parts.MakeLoader = [borderedShow](const TSlideLoaderParams& params) -> std::unique_ptr<IKivSlideLoader> {
      if (borderedShow) return std::make_unique<TBorderedShowLoader>(params, THitRule{});
      return std::make_unique<TTimingOnlyLoader>(params, THitRule{});
    };
    parts.ProgramPath = u"/shows/show.exe";
    Viewer = std::make_unique<TKivShowViewer>(Window, Poster, std::move(parts));
  }
  ~TViewerHarness() {
    Viewer.reset();
    SetClock(nullptr);
  }

  void Open(const std::string& project) {
    Show = SourceOf(project, u"/shows/show.exe", nullptr);
    Viewer->OpenShowData(*Show, 0);
  }

  // Delivers what the engine posted, as the main loop does; keeps the position reports.
  bool WaitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
      while (std::unique_ptr<TKivEventData> message = Poster.Take()) {
        if (message->Code == kPositionMessage) Reports.push_back(message->Values);
        Viewer->HandleMainMessage(*message);
      }
      if (condition()) return true;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
  }

  // The engine has reported ms for the latest seek.
  bool WaitForReportAt(int32_t ms) {
    return WaitFor([&] {
      return !Reports.empty() && Reports.back()[0] == Viewer->Engine()->LatestRequestNumber() && Reports.back()[1] == ms;
    });
  }

  TVirtualClock Clock{1000};
  TCollectingPoster Poster;
  TFakeShowWindow Window;
  std::unique_ptr<TKivSource> Show;
  std::unique_ptr<TKivShowViewer> Viewer;
  std::vector<std::vector<int32_t>> Reports;
};

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

TEST(KivShowViewer, EscClosesAndLeftAndRightMoveBetweenSlidesKeepingThePause) {
  TViewerHarness harness;
  harness.Open(kThreeSlides + "opt_repeat=stop\n");
  ASSERT_TRUE(harness.WaitForReportAt(0));

  harness.Viewer->OnKey(kKeyRight);
  ASSERT_TRUE(harness.WaitForReportAt(4001));  // the next slide's own picture
  harness.Viewer->OnKey(kKeyRight);
  ASSERT_TRUE(harness.WaitForReportAt(9001));
  // Within 500 ms of the slide being shown, Left goes one slide further back.
  harness.Viewer->OnKey(kKeyLeft);
  ASSERT_TRUE(harness.WaitForReportAt(4000));
  EXPECT_TRUE(harness.Viewer->IsPaused());
  EXPECT_FALSE(harness.Viewer->Engine()->Status().Active);

  harness.Viewer->OnKey('A');
  EXPECT_EQ(harness.Viewer->Position(), 4000);
  EXPECT_EQ(harness.Window.Closes, 0);
  harness.Viewer->OnKey(kKeyEscape);
  EXPECT_EQ(harness.Window.Closes, 1);
}

TEST(KivShowViewer, RightGoesOnFromAStopPointEvenWhereTheShowForbidsMovingIt) {
  TViewerHarness harness;
  harness.Viewer->SetStopsEnabled(true);
  harness.Open(kThreeSlides + "opt_manualshow=1\nopt_synchpermitcontrol=0\n");
  harness.Viewer->SetPaused(false);
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Viewer->Engine()->Status().AtStop; }));

  harness.Viewer->OnKey(kKeyLeft);  // forbidden
  const int32_t requests = harness.Viewer->Engine()->LatestRequestNumber();
  harness.Viewer->OnKey(kKeyRight);
  EXPECT_EQ(harness.Viewer->Engine()->LatestRequestNumber(), requests);  // no seek: the clock goes on
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Viewer->Position() > 4100; }));
  EXPECT_EQ(KeyAction(kKeyRight, true).Type, kActionNextSlide);
  EXPECT_EQ(KeyAction(kKeyRight, false).Type, kActionNone);
}

TEST(KivShowViewer, ExitActionOfTheEngineClosesTheWindowAndMalformedMessagesAreIgnored) {
  TViewerHarness harness;
  harness.Open(kThreeSlides);
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Window.Placements.size() == 2; }));
  TKivEventData shortGeometry{kWindowGeometryMessage, {800, 600}, {}, nullptr};
  TKivEventData badMode{kWindowGeometryMessage, {800, 600, 7}, {}, nullptr};
  TKivEventData shortAction{kActionMessage, {kActionExit}, {}, nullptr};
  for (TKivEventData* message : {&shortGeometry, &badMode, &shortAction}) harness.Viewer->HandleMainMessage(*message);
  EXPECT_EQ(harness.Window.Placements.size(), 2u);
  EXPECT_EQ(harness.Window.Closes, 0);

  TKivEventData exit{kActionMessage, {kActionExit, 0}, {}, nullptr};
  harness.Viewer->HandleMainMessage(exit);
  EXPECT_EQ(harness.Window.Closes, 1);
}

}  // namespace
}  // namespace kiv
