// The show clock of the engine on virtual time: stop points, looping slides, the end of
// the show, position reports, window activity and long shows.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "engine/engine_test_support.h"
#include "engine/slide_navigation.h"
#include "engine/show_end.h"
#include "support/show_text.h"

namespace kiv {
namespace {

// Slides ending at 4000, 9000 and 15000 ms, no transitions.
const std::string kThreeSlides = SlidesEndingAt({4000, 9000, 15000});

TEST(KivEngineClock, ManualShowStopsAtEachSlideEndUntilReleased) {
  TEngineHarness harness;
  harness.Engine->SetStopsEnabled(true);
  harness.Play(kThreeSlides + "opt_manualshow=1\n");

  ASSERT_TRUE(harness.WaitFor([&] { return harness.Engine->Status().AtStop; }));
  harness.RunFor(3000);  // it stands there
  EXPECT_TRUE(harness.Engine->Status().AtStop);
  EXPECT_FALSE(harness.Engine->Status().Active);
  EXPECT_NEAR(harness.LastPosition(), 4000, 20);
  EXPECT_LE(harness.LastPosition(), 4000);

  harness.Engine->RequestReleaseStop();  // the next-slide action
  ASSERT_TRUE(harness.WaitFor([&] { return harness.LastPosition() > 4100; }));
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Engine->Status().AtStop; }));
  harness.RunFor(1000);
  EXPECT_NEAR(harness.LastPosition(), 9000, 20);
  EXPECT_LE(harness.LastPosition(), 9000);

  // A seek leaves the stop; a release where the clock stands at none is not kept for
  // the next stop.
  harness.Engine->RequestPause(true);
  harness.Engine->RequestSeek(500);
  ASSERT_TRUE(harness.WaitFor([&] { return harness.LastPosition() == 500 && !harness.Engine->Status().AtStop; }));
  harness.Engine->RequestReleaseStop();
  harness.Engine->RequestPause(false);
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Engine->Status().AtStop; }));
  harness.RunFor(500);
  EXPECT_NEAR(harness.LastPosition(), 4000, 20);
  EXPECT_LE(harness.LastPosition(), 4000);
}

TEST(KivEngineClock, StopsAreIgnoredUnlessEnabled) {
  TEngineHarness harness;
  harness.Play(kThreeSlides + "opt_manualshow=1\n");
  ASSERT_TRUE(harness.WaitFor([&] { return harness.LastPosition() > 10000; }));
  EXPECT_FALSE(harness.Engine->Status().AtStop);
}

TEST(KivEngineClock, LoopingSlideRepeatsItsDisplayPartUntilTheUserMovesOn) {
  // 1000 ms transitions; slide 2 shows fully from 5000 to 9000 and loops that part.
  const std::string project = kThreeSlides +
                              "opt_fx_enable=1\nopt_fx_time=1000\nopt_fx_eff3=1\n"
                              "[Slide2]\nUsePersonal=1\nPers_EndAction=loop\n";
  TEngineHarness harness;
  harness.Engine->SetStopsEnabled(true);
  harness.Play(project);

  int wraps = 0;
  size_t seen = 0;
  ASSERT_TRUE(harness.WaitFor([&] {
    for (; seen < harness.Reports.size(); ++seen)
      if (seen > 0 && harness.Reports[seen].Position < harness.Reports[seen - 1].Position) ++wraps;
    return wraps >= 3;
  }));
  bool looped = false;
  for (const TReport& report : harness.Reports) {
    EXPECT_LE(report.Position, 9000);
    looped = looped || (report.Position >= 5000 && report.Position < 5030);
  }
  EXPECT_TRUE(looped);  // back to where the slide was fully shown
  EXPECT_FALSE(harness.Engine->Status().AtStop);

  TKivSource source(nullptr, ParseProject(project).release(), true, u"show.exe");
  harness.Engine->RequestSeek(NextSlideTime(source, harness.LastPosition(), false));
  ASSERT_TRUE(harness.WaitFor([&] { return harness.LastPosition() > 9500; }));
}

TEST(KivEngineClock, ShowThatDoesNotRepeatReportsItsEndOnceAndAgainAfterASeek) {
  TEngineHarness harness;
  harness.Play(kThreeSlides + "opt_repeat=close\n");
  ASSERT_TRUE(harness.WaitFor([&] { return harness.FinishedCount() == 1; }));
  harness.RunFor(3000);
  EXPECT_EQ(harness.FinishedCount(), 1);
  const TReport& finished = harness.Reports.back();
  EXPECT_TRUE(finished.Finished);
  EXPECT_EQ(finished.Position, 15000);
  EXPECT_EQ(finished.Length, 15000);
  for (const TReport& report : harness.Reports) EXPECT_LE(report.Position, 15000);
  EXPECT_FALSE(harness.Engine->Status().Active);  // it stays at the end

  TKivSource source(nullptr, ParseProject(kThreeSlides + "opt_repeat=close\n").release(), true, u"show.exe");
  EXPECT_TRUE(EndClosesWindow(source, finished.Finished));
  EXPECT_FALSE(EndClosesWindow(source, false));

  harness.Engine->RequestSeek(14000);
  ASSERT_TRUE(harness.WaitFor([&] { return harness.FinishedCount() == 2; }));
  EXPECT_EQ(harness.Reports.back().Position, 15000);
}

TEST(KivEngineClock, RepeatingShowRunsOnAndNeverReportsAnEnd) {
  TEngineHarness harness;
  harness.Play(kThreeSlides);
  ASSERT_TRUE(harness.WaitFor([&] { return harness.LastPosition() > 31000; }));
  EXPECT_EQ(harness.FinishedCount(), 0);
  EXPECT_EQ(harness.Reports.back().Length, 15000);

  TKivSource repeating(nullptr, ParseProject(kThreeSlides).release(), true, u"show.exe");
  EXPECT_FALSE(EndClosesWindow(repeating, true));
}

TEST(KivEngineClock, RepeatingShowWithoutLengthShowsItsFrameAndStandsStill) {
  TEngineHarness harness;
  harness.Play(SlidesEndingAt({0, 0}));
  ASSERT_TRUE(harness.WaitFor([&] { return harness.FirstFrames == 1; }));
  harness.RunFor(2000);
  EXPECT_LE(harness.LastPosition(), 0);
}

TEST(KivEngineClock, PositionIsReportedOnlyAfterMovingMoreThan20Ms) {
  TEngineHarness harness;
  harness.Play(kThreeSlides);
  ASSERT_TRUE(harness.WaitFor([&] { return harness.LastPosition() > 3000; }));
  ASSERT_GT(harness.Reports.size(), 50u);
  EXPECT_EQ(harness.Reports.front().Position, 0);  // the open forces the first report
  for (size_t i = 1; i < harness.Reports.size(); ++i) {
    const int32_t step = harness.Reports[i].Position - harness.Reports[i - 1].Position;
    EXPECT_GT(step, 20);
    EXPECT_LT(step, 30);  // 3 ms turns: the report follows right after
  }

  harness.Engine->RequestPause(true);
  ASSERT_TRUE(harness.WaitFor([&] { return !harness.Engine->Status().Active; }));
  const size_t reports = harness.Reports.size();
  harness.RunFor(2000);
  EXPECT_LE(harness.Reports.size(), reports + 1);  // at most the step taken before the pause
}

TEST(KivEngineClock, InactiveWindowHoldsTheShowWhenTheShowSaysSo) {
  TEngineHarness harness;
  harness.Play(kThreeSlides);
  ASSERT_TRUE(harness.WaitFor([&] { return harness.LastPosition() > 1000; }));
  harness.Controller->SetWindowActive(false);
  ASSERT_TRUE(harness.WaitFor([&] { return !harness.Engine->Status().Active; }));
  harness.Pump();
  const int32_t held = harness.LastPosition();
  const int frames = harness.Controller->FramesDrawn();
  harness.RunFor(2000);
  EXPECT_EQ(harness.LastPosition(), held);
  EXPECT_EQ(harness.Controller->FramesDrawn(), frames);  // nothing new to draw
  harness.Controller->SetWindowActive(true);
  ASSERT_TRUE(harness.WaitFor([&] { return harness.LastPosition() > held + 500; }));

  TEngineHarness ignoring;
  ignoring.Play(kThreeSlides + "opt_pausewheninactive=0\n");
  ignoring.Controller->SetWindowActive(false);
  ASSERT_TRUE(ignoring.WaitFor([&] { return ignoring.LastPosition() > 2000; }));
}

TEST(KivEngineClock, OneHourShowRunsThroughInSeconds) {
  const std::string project = SlidesEndingAt(EvenSlideEnds(60, 60000)) + "opt_repeat=stop\n";
  TEngineHarness harness;
  const auto started = std::chrono::steady_clock::now();
  harness.Play(project);
  ASSERT_TRUE(harness.WaitFor([&] { return harness.FinishedCount() == 1; }));
  const auto took = std::chrono::steady_clock::now() - started;
  EXPECT_LT(took, std::chrono::seconds(30));
  EXPECT_EQ(harness.Reports.back().Position, 3600000);
  EXPECT_EQ(harness.FirstFrames, 1);
  EXPECT_GT(harness.Controller->FramesDrawn(), 100000);
  EXPECT_GT(harness.Loader.load()->ListsSent, 1);  // the loader followed the show (the clock does not wait for it)
}

}  // namespace
}  // namespace kiv
