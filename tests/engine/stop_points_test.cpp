#include "engine/stop_points.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/kiv_source.h"
#include "support/show_source.h"
#include "support/show_text.h"

namespace kiv {
namespace {

// Four slides ending at 1000, 5000, 6000 and 8000 ms; 500 ms transitions.
const std::string kFourSlides = SlidesEndingAt({1000, 5000, 6000, 8000}, 500);

TEST(StopPoints, ManualShowStopsAtTheEndOfEverySlideInTurn) {
  auto source = SourceOf(kFourSlides + "opt_manualshow=1\nopt_repeat=stop\n");
  TStopPoint stop = FindStop(*source, 0, {}, true);
  EXPECT_TRUE(stop.Found);
  EXPECT_EQ(stop.Slide, 0);
  EXPECT_DOUBLE_EQ(stop.Time, 1000);
  EXPECT_DOUBLE_EQ(stop.LoopLength, 0);
  stop = FindStop(*source, stop.Time, stop, true);  // from the stop the clock stands at
  EXPECT_EQ(stop.Slide, 1);
  EXPECT_DOUBLE_EQ(stop.Time, 5000);
  EXPECT_DOUBLE_EQ(FindStop(*source, 5500, {}, true).Time, 6000);

  // After the last slide of a show that ends: no stop, the clock ends at the show's end.
  const TStopPoint none = FindStop(*source, 8000, {}, true);
  EXPECT_FALSE(none.Found);
  EXPECT_DOUBLE_EQ(none.Time, 8000);
  const TStopPoint disabled = FindStop(*source, 0, {}, false);
  EXPECT_FALSE(disabled.Found);
  EXPECT_DOUBLE_EQ(disabled.Time, 8000);
}

TEST(StopPoints, PersonalEndActionsPauseOrLoopAndRepeatingShowsGoRound) {
  auto source = SourceOf(kFourSlides +
                         "[Slide2]\nUsePersonal=1\nPers_EndAction=loop\n"
                         "[Slide4]\nUsePersonal=1\nPers_EndAction=pause\n");
  const TStopPoint loop = FindStop(*source, 0, {}, true);
  EXPECT_EQ(loop.Slide, 1);
  EXPECT_DOUBLE_EQ(loop.Time, 5000);
  EXPECT_DOUBLE_EQ(loop.LoopLength, 5000 - 1000 - 500);  // the part after the transition
  const TStopPoint pause = FindStop(*source, 5000, loop, true);
  EXPECT_EQ(pause.Slide, 3);
  EXPECT_DOUBLE_EQ(pause.LoopLength, 0);

  // The show repeats: after the last stop comes the loop of the next round.
  const TStopPoint nextRound = FindStop(*source, 8000, pause, true);
  EXPECT_EQ(nextRound.Slide, 5);
  EXPECT_DOUBLE_EQ(nextRound.Time, 13000);

  auto plain = SourceOf(kFourSlides);
  const TStopPoint none = FindStop(*plain, 100, {}, true);
  EXPECT_FALSE(none.Found);
  EXPECT_DOUBLE_EQ(none.Time, kUnreachableTime);  // a repeating show never ends by itself
}

TEST(StopPoints, ProgramPointsFollowTheSlidesThatStartAProgram) {
  auto source = SourceOf(kFourSlides +
                         "[Slide1]\nUsePersonal=1\nPers_RunApp=1\nRunAppFN=a.exe\n"
                         "[Slide3]\nUsePersonal=1\nPers_RunApp=1\nRunAppFN=c.exe\n"
                         "[Slide4]\nUsePersonal=1\nPers_RunApp=1\nRunAppFN=\n");
  TRunAppPoint point = FindRunApp(*source, 0, {}, true);
  EXPECT_EQ(point.Slide, 0);
  EXPECT_DOUBLE_EQ(point.Time, 1);
  EXPECT_EQ(point.Program, u"a.exe");
  point = FindRunApp(*source, point.Time, point, true);
  EXPECT_EQ(point.Slide, 2);
  EXPECT_DOUBLE_EQ(point.Time, 5001);
  EXPECT_EQ(point.Program, u"c.exe");
  point = FindRunApp(*source, point.Time, point, true);  // round the show to the next round's first slide
  EXPECT_EQ(point.Slide, 4);
  EXPECT_DOUBLE_EQ(point.Time, 8001);

  // Inside a slide its start has passed.
  EXPECT_EQ(FindRunApp(*source, 5500, {}, true).Slide, 4);
  EXPECT_DOUBLE_EQ(FindRunApp(*source, 0, {}, false).Time, kUnreachableTime);
  auto none = SourceOf(kFourSlides);
  EXPECT_EQ(FindRunApp(*none, 0, {}, true).Slide, -1);
}

}  // namespace
}  // namespace kiv
