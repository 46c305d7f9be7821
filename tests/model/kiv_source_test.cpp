#include "model/kiv_source.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "base/errors.h"
#include "support/show_source.h"
#include "support/show_text.h"

namespace kiv {
namespace {

// Three slides ending at 4000, 9000 and 15000 ms, 1000 ms cross-fades between them.
const std::string kThreeSlides = SlidesEndingAt({4000, 9000, 15000}, 1000);

void ExpectTimes(const TSlideInfo& info, double start, double end, double in, double out) {
  EXPECT_DOUBLE_EQ(info.StartTime, start);
  EXPECT_DOUBLE_EQ(info.EndTime, end);
  EXPECT_DOUBLE_EQ(info.EffectInTime, in);
  EXPECT_DOUBLE_EQ(info.EffectOutTime, out);
  EXPECT_DOUBLE_EQ(info.TotalEnd, end + out);
}

std::string FailureText(std::string_view text) {
  try {
    SourceOf(text);
  } catch (const EAssertionFailed& failure) {
    return failure.Text();
  }
  return "no failure";
}

TEST(KivSourceTiming, SlidesFollowTheirSyncPositionsAndRepeatInLaterRounds) {
  auto source = SourceOf(kThreeSlides);
  ASSERT_EQ(source->SlideCount(), 3);
  EXPECT_DOUBLE_EQ(source->Duration(), 15000);
  ExpectTimes(source->Slides()[0], 0, 4000, 1000, 1000);
  ExpectTimes(source->Slides()[1], 4000, 9000, 1000, 1000);
  ExpectTimes(source->Slides()[2], 9000, 15000, 1000, 1000);  // repeating: a transition into slide 1 again

  const TSlideTiming later = source->SlideTiming(4);
  EXPECT_EQ(later.LoopCount, 1);
  ExpectTimes(later.Info, 19000, 24000, 1000, 1000);

  const TSlideTiming leadIn = source->SlideTiming(-1);
  EXPECT_EQ(leadIn.LoopCount, -1);
  ExpectTimes(leadIn.Info, -1073741823, 0, 0, 1000);
  const TSlideTiming before = source->SlideTiming(-5);
  EXPECT_EQ(before.LoopCount, -1);
  ExpectTimes(before.Info, -2147483647, -1073741823, 0, 0);
}

TEST(KivSourceTiming, SlideAtGivesBoundariesToTheEarlierSlide) {
  auto source = SourceOf(kThreeSlides);
  EXPECT_EQ(source->SlideAt(0), -1);
  EXPECT_EQ(source->SlideAt(-500), -1);
  EXPECT_EQ(source->SlideAt(1), 0);
  EXPECT_EQ(source->SlideAt(4000), 0);
  EXPECT_EQ(source->SlideAt(4000.5), 1);
  EXPECT_EQ(source->SlideAt(15000), 2);
  EXPECT_EQ(source->SlideAt(15000.5), 3);
  EXPECT_EQ(source->SlideAt(30000), 5);
  // Far rounds are computed, not walked.
  EXPECT_EQ(source->SlideAt(15000.0 * 1000000 + 4000.5), 3000001);
  EXPECT_EQ(source->SlideAt(1e300), -1);  // no index that far
  EXPECT_EQ(source->SlideAt(std::numeric_limits<double>::quiet_NaN()), -1);
  EXPECT_EQ(source->SlideAt(std::numeric_limits<double>::infinity()), -1);
}

TEST(KivSourceTiming, TransitionsAreCutToTheSlideAndEndWithTheShowThatStops) {
  auto source = SourceOf(
      "[main]\nopt_slidescount=2\nopt_synchpos1=5000\nopt_synchpos2=7000\nopt_repeat=stop\n"
      "opt_fx_enable=1\nopt_fx_time=3000\nopt_fx_eff3=1\n");
  EXPECT_EQ(source->EndMode(), TEndMode::Stop);
  // 3000 ms into a 2000 ms slide play for 2000 ms, and the slide before leaves with them;
  // nothing comes after the last slide.
  ExpectTimes(source->Slides()[0], 0, 5000, 3000, 2000);
  ExpectTimes(source->Slides()[1], 5000, 7000, 2000, 0);
  EXPECT_EQ(source->GetSlideEffect(2).Duration, 0);
  EXPECT_EQ(source->GetSlideEffect(1).Duration, 3000);
  EXPECT_EQ(source->SlideChange(1).Duration, 2000);  // the prepared slide and the drawer take this one
  EXPECT_EQ(source->SlideChange(0).Duration, 3000);
}

TEST(KivSourceTiming, EmptyAndTimelessShowsNeitherDivideByZeroNorSearchForEver) {
  for (std::string_view text : {"[main]\n", "[main]\nopt_slidescount=-5\n"}) {
    auto empty = SourceOf(text);
    EXPECT_EQ(empty->SlideCount(), 0);
    EXPECT_DOUBLE_EQ(empty->Duration(), 0);
    ExpectTimes(empty->SlideTiming(0).Info, -1073741823, 0, 0, 0);
    ExpectTimes(empty->SlideTiming(7).Info, -1073741823, 0, 0, 0);
    EXPECT_EQ(empty->SlideAt(100), -1);
    EXPECT_FALSE(empty->EndAction(0).Stops);
    EXPECT_FALSE(empty->RunAppOnSlide(3).Run);
    EXPECT_EQ(empty->GetSlideEffect(0).Duration, 0);
  }

  auto timeless = SourceOf("[main]\nopt_slidescount=2\n");
  EXPECT_DOUBLE_EQ(timeless->Duration(), 0);
  const TSlideTiming later = timeless->SlideTiming(5);
  EXPECT_EQ(later.LoopCount, 2);
  ExpectTimes(later.Info, 0, 0, 0, 0);
  EXPECT_EQ(timeless->SlideAt(10), -1);
  EXPECT_EQ(timeless->SlideAt(0), -1);
}

TEST(KivSourceTiming, HugeSlideCountIsCapped) {
  auto source = SourceOf("[main]\nopt_slidescount=1000000000\n");
  EXPECT_EQ(source->SlideCount(), 100000);
  EXPECT_EQ(source->Slides().size(), 100000u);
}

TEST(KivSourceCreation, BrokenProjectsFailWithTheirMessages) {
  EXPECT_EQ(FailureText("[main]\nopt_slidescount=2\nopt_synchpos1=5000\nopt_synchpos2=4000\n"), "Incorrect time");
  EXPECT_EQ(FailureText("[Slide1]\npicture=a.jpg\n"), "Assertion failure");
  EXPECT_EQ(FailureText("[MAIN]\nopt_slidescount=1\nopt_synchpos1=10\n"), "no failure");
}

TEST(KivSourceCreation, ScreenSaverProgramForcesItsOptions) {
  constexpr std::string_view kWindowed =
      "[main]\nopt_repeat=stop\nopt_fcp=1\nopt_hidecursor=0\nopt_scr_full=0\nopt_ssaver=1\n";
  auto saver = SourceOf(kWindowed, u"C:\\Savers\\Holiday.SCR");
  const TIniSection& main = saver->MainSection();
  EXPECT_TRUE(saver->ScreenSaver());
  EXPECT_EQ(saver->EndMode(), TEndMode::Repeat);
  EXPECT_EQ(main.ReadString(u"opt_ssaver", u""), u"1");
  EXPECT_EQ(main.ReadString(u"opt_fcp", u""), u"0");
  EXPECT_EQ(main.ReadString(u"opt_hidecursor", u""), u"1");
  EXPECT_EQ(main.ReadString(u"opt_scr_full", u""), u"1");
  EXPECT_EQ(main.ReadString(u"opt_repeat", u""), u"repeat");

  // Only the extension of the program's own name counts.
  auto program = SourceOf(kWindowed, u"C:\\old.scr\\show.exe");
  EXPECT_FALSE(program->ScreenSaver());
  EXPECT_EQ(program->EndMode(), TEndMode::Stop);
  EXPECT_EQ(program->MainSection().ReadString(u"opt_ssaver", u""), u"0");
  EXPECT_EQ(program->MainSection().ReadString(u"opt_scr_full", u""), u"0");
}

TEST(KivSourceCreation, ShowOptionsAreRead) {
  auto source = SourceOf(
      "[main]\nopt_repeat=Close\nopt_pausewheninactive=0\nopt_scr_hidercolor=$102030\n"
      "opt_scr_unsharpamount=0.5\nopt_scr_unsharpthreshold=300\n");
  EXPECT_EQ(source->EndMode(), TEndMode::Repeat);  // the end mode matches exactly
  EXPECT_FALSE(source->PauseWhenInactive());
  EXPECT_EQ(source->HiderColor(), 0x102030u);
  EXPECT_DOUBLE_EQ(source->UnsharpAmount(), 0.5);
  EXPECT_EQ(source->UnsharpThreshold(), 255);
  EXPECT_EQ(source->Container(), nullptr);

  auto defaults = SourceOf("[main]\nopt_repeat=close\n");
  EXPECT_EQ(defaults->EndMode(), TEndMode::Close);
  EXPECT_TRUE(defaults->PauseWhenInactive());
  EXPECT_EQ(defaults->UnsharpThreshold(), 0);
}

TEST(KivSourceSlides, SlideIdsComeFromTheIdOrThePictureName) {
  auto source = SourceOf(
      "[main]\nopt_slidescount=5\n"
      "[Slide1]\nslideid=Intro\npicture=C:\\pics\\x.jpg\n"
      "[Slide2]\npicture=C:\\pics\\beach.photo.jpg\n"
      "[slide3]\npicture=C:\\pics\\holiday\\\n"
      "[Slide4]\npicture=shots/sea/wave.png\n");
  const std::vector<TSlideInfo>& slides = source->Slides();
  EXPECT_EQ(slides[0].SlideId, u"Intro");
  EXPECT_EQ(slides[1].SlideId, u"beach.photo");
  EXPECT_EQ(slides[2].SlideId, u"holiday");
  EXPECT_EQ(slides[3].SlideId, u"wave");
  EXPECT_EQ(slides[4].SlideId, u"");  // no section
}

TEST(KivSourceSlides, EndActionsAndProgramsOfPersonalSlides) {
  auto source = SourceOf(
      "[main]\nopt_slidescount=6\nopt_manualshow=1\nopt_synchpos1=1000\nopt_synchpos2=5000\n"
      "opt_synchpos3=6000\nopt_synchpos4=7000\nopt_synchpos5=8000\nopt_synchpos6=9000\n"
      "opt_fx_enable=1\nopt_fx_time=500\nopt_fx_eff3=1\n"
      "[Slide1]\nUsePersonal=1\nPers_EndAction=Loop\nPers_RunApp=1\nRunAppFN=notepad.exe\n"
      "[Slide2]\nUsePersonal=1\nPers_EndAction=loop\nPers_RunApp=1\nRunAppFN=\n"
      "[Slide3]\nUsePersonal=1\nPers_EndAction=pause\nPers_RunApp=0\nRunAppFN=calc.exe\n"
      "[Slide4]\nUsePersonal=1\nPers_EndAction=\n"
      "[Slide5]\nUsePersonal=1\n"
      "[Slide6]\nUsePersonal=0\nPers_EndAction=loop\nPers_RunApp=1\nRunAppFN=calc.exe\n");
  EXPECT_FALSE(source->EndAction(0).Stops);  // "Loop" is not "loop": the slide advances
  const TSlideEndAction loop = source->EndAction(1);
  EXPECT_TRUE(loop.Stops);
  EXPECT_DOUBLE_EQ(loop.LoopLength, 5000 - 1000 - 500);
  EXPECT_TRUE(source->EndAction(2).Stops);
  EXPECT_DOUBLE_EQ(source->EndAction(2).LoopLength, 0);
  EXPECT_TRUE(source->EndAction(3).Stops);   // empty: the show's manual mode pauses
  EXPECT_FALSE(source->EndAction(4).Stops);  // absent: advances
  EXPECT_TRUE(source->EndAction(5).Stops);   // not personal: the show's manual mode
  EXPECT_DOUBLE_EQ(source->EndAction(7).LoopLength, loop.LoopLength);  // later rounds
  EXPECT_FALSE(source->EndAction(-1).Stops);

  const TRunApp run = source->RunAppOnSlide(0);
  EXPECT_TRUE(run.Run);
  EXPECT_EQ(run.FileName, u"notepad.exe");
  EXPECT_FALSE(source->RunAppOnSlide(1).Run);  // no name
  EXPECT_FALSE(source->RunAppOnSlide(2).Run);  // not asked for
  EXPECT_FALSE(source->RunAppOnSlide(5).Run);  // not personal
  EXPECT_TRUE(source->RunAppOnSlide(6).Run);
}

}  // namespace
}  // namespace kiv
