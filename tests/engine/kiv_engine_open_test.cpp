// Opening and seeking: requests that wait to be carried out, stale reports, start
// positions, the window request, device changes and the loader hand-over.
#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"
#include "engine/engine_test_support.h"
#include "engine/slide_navigation.h"
#include "support/show_text.h"

namespace kiv {
namespace {

const std::string kShowA = SlidesEndingAt({4000, 9000, 15000});
const std::string kShowB = SlidesEndingAt({10000, 20000}) + "opt_repeat=stop\n";

bool AllReportsCarry(const TEngineHarness& harness, int32_t sequence) {
  for (const std::vector<int32_t>& report : harness.RawPositions)
    if (report[0] != sequence) return false;
  return true;
}

TEST(KivEngineOpen, SeekAndPauseSentWhileAnOpenWaitsApplyToThatOpen) {
  TEngineHarness harness;
  harness.Open(kShowA);
  const int32_t open = harness.Engine->RequestOpen(nullptr, ParseProject(kShowB), 0);
  const int32_t seek = harness.Engine->RequestSeek(7000);
  harness.Engine->RequestPause(false);
  EXPECT_GT(seek, open);
  harness.Engine->Start();  // all three wait for the first turn

  ASSERT_TRUE(harness.WaitFor([&] { return harness.LastPosition() > 7500; }));
  EXPECT_EQ(harness.Reports.front().Position, 7000);
  EXPECT_EQ(harness.Reports.front().Length, 20000);  // show B
  EXPECT_TRUE(AllReportsCarry(harness, seek));       // the open's own number was never used

  // The main thread drops reports of a request that has been superseded.
  const size_t taken = harness.Reports.size();
  TKivEventData stale;
  stale.Code = kPositionMessage;
  stale.Values = {open, 1234, 20000, 0};
  harness.Engine->HandleMainMessage(stale);
  EXPECT_EQ(harness.Reports.size(), taken);
}

TEST(KivEngineOpen, PauseAfterAPendingSeekKeepsTheNewShowStanding) {
  TEngineHarness harness;
  harness.Open(kShowA);
  harness.Engine->RequestPause(false);  // no request waits: the engine itself resumes
  harness.Engine->RequestOpen(nullptr, ParseProject(kShowB), 0);
  harness.Engine->RequestSeek(3000);
  harness.Engine->RequestPause(true);
  harness.Engine->Start();

  ASSERT_TRUE(harness.WaitFor([&] { return harness.LastPosition() == 3000; }));
  harness.RunFor(2000);
  EXPECT_EQ(harness.LastPosition(), 3000);
  EXPECT_FALSE(harness.Engine->Status().Active);
  EXPECT_EQ(harness.Reports.back().Length, 20000);
}

TEST(KivEngineOpen, ShowStartsAtTheSlideOrTimeOfTheCommandLine) {
  TKivSource source(nullptr, ParseProject(kShowA).release(), true, u"show.exe");
  struct TCase {
    const char16_t* CommandLine;
    int32_t Expected;
  };
  // Without transitions a slide is entered 1 ms after its start; "-time" starts 1 ms early.
  for (const TCase& test : {TCase{u"show.exe -slide 3", 9001}, TCase{u"show.exe -slide 2", 4001},
                            TCase{u"show.exe -time 5000", 4999}, TCase{u"show.exe -slide 0", 0},
                            TCase{u"show.exe -Slide 3", 0}}) {
    const TStartPosition start = TCommandLine::FromText(test.CommandLine).GetStartPosition();
    const int32_t startMs = StartPositionTime(source, start.Value, start.IsTime);
    EXPECT_EQ(startMs, test.Expected);

    TEngineHarness harness;
    harness.Open(kShowA, startMs);
    harness.Engine->Start();  // paused: the position is reported once and stays
    ASSERT_TRUE(harness.WaitFor([&] { return !harness.Reports.empty(); }));
    harness.RunFor(500);
    EXPECT_EQ(harness.Reports.size(), 1u);
    EXPECT_EQ(harness.LastPosition(), test.Expected);
  }
}

TEST(KivEngineOpen, OpenAsksForTheShowsWindowAndDrawsAFirstFrame) {
  TEngineHarness harness;
  harness.Play(kShowA);
  ASSERT_TRUE(harness.WaitFor([&] { return harness.FirstFrames == 1 && harness.LastPosition() > 500; }));
  ASSERT_EQ(harness.Geometries.size(), 1u);
  EXPECT_EQ(harness.Geometries[0], (std::vector<int32_t>{800, 600, 2}));  // what the loader asked for
  EXPECT_EQ(harness.Loader.load()->Size(), (TPixelSize{640, 480}));     // then it renders at the device's size
  EXPECT_EQ(harness.Controller->LastDrawSize(), (TPixelSize{640, 480}));
  EXPECT_GT(harness.Controller->SlidesPreloaded(), 0);
}

TEST(KivEngineOpen, NewDeviceSizeReopensTheLoaderAtTheCurrentTime) {
  TEngineHarness harness;
  harness.Play(kShowA);
  ASSERT_TRUE(harness.WaitFor([&] { return harness.LastPosition() > 2000; }));
  harness.Controller->SetDeviceSize({1024, 4});
  ASSERT_TRUE(harness.WaitFor([&] { return harness.LoadersMade == 2; }));
  const int32_t before = harness.LastPosition();
  ASSERT_TRUE(harness.WaitFor([&] { return harness.LastPosition() > before + 1000; }));
  EXPECT_EQ(harness.Loader.load()->Size(), (TPixelSize{1024, 10}));  // each side at least 10
  EXPECT_EQ(harness.Geometries.size(), 1u);  // the window is placed once per open
  for (size_t i = 1; i < harness.Reports.size(); ++i)
    EXPECT_GT(harness.Reports[i].Position, harness.Reports[i - 1].Position);  // the clock went on, not back
  EXPECT_EQ(harness.FirstFrames, 2);  // the first frame after the re-initialise is announced again
}

TEST(KivEngineOpen, ReopeningTakesOnlyTheSlideListFromTheQueueWhileTheLoaderStops) {
  TEngineHarness harness;
  harness.Open(kShowA);
  harness.Loader.load()->Start();  // the engine does not run: the loader's first list waits in its send
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Engine->Events().Count() == 1; }));
  TKivMouseRecord press;
  press.Event = TMouseEvent::Press;
  harness.Engine->RequestMouse(press, TKivActionInfo{kActionPause, 0, u""});
  harness.Engine->RequestSnapshot();

  harness.Open(kShowB);  // must release the waiting loader without deadlock
  EXPECT_EQ(harness.LoadersMade, 2);
  EXPECT_EQ(harness.Engine->Events().Count(), 2u);  // mouse and snapshot wait for the engine's turn

  harness.Engine->Start();
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Actions.size() == 1; }));
  EXPECT_EQ(harness.Actions[0].Type, kActionPause);
}

TEST(KivEngineOpen, StopReleasesALoaderWaitingInItsSend) {
  TEngineHarness harness;
  harness.Open(kShowA);
  harness.Loader.load()->Start();
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Engine->Events().Count() == 1; }));
  harness.Engine->Stop();
  EXPECT_TRUE(harness.Engine->Events().Closed());
  EXPECT_FALSE(harness.Engine->IsRunning());
}

}  // namespace
}  // namespace kiv

namespace kiv {
namespace {

// A show without slides has no first frame to wait for: its window shows at once, in
// the hider colour, and only once. A show whose slides do not come is given the first
// frame's wait before its window shows in the hider colour; its slides take over when
// they come, without a second announcement.
TEST(KivEngineOpen, AShowWithoutAFirstFrameStillShowsItsWindow) {
  TEngineHarness empty;
  empty.Play("[main]\nopt_slidescount=0\n");
  EXPECT_TRUE(empty.WaitFor([&] { return empty.FirstFrames == 1; }));
  empty.RunFor(kFirstFrameWaitMs * 2);
  EXPECT_EQ(empty.FirstFrames, 1);

  TEngineHarness stalled;
  stalled.LoaderStalled = true;
  uint32_t shownAt = 0;
  stalled.Engine->OnFirstFrame = [&] { shownAt = stalled.Clock.NowMs(); };
  const uint32_t openedAt = stalled.Clock.NowMs();
  stalled.Play(kShowA);
  ASSERT_TRUE(stalled.WaitFor([&] { return shownAt != 0; }));
  EXPECT_GE(shownAt - openedAt, kFirstFrameWaitMs);
  stalled.LoaderStalled = false;
  ASSERT_TRUE(stalled.WaitFor([&] { return stalled.LastPosition() > 500; }));
  shownAt = 0;
  stalled.RunFor(1000);
  EXPECT_EQ(shownAt, 0u);  // announced once
}

}  // namespace
}  // namespace kiv
