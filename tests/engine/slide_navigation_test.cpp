#include "engine/slide_navigation.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "model/action_text.h"
#include "model/kiv_source.h"
#include "support/show_source.h"
#include "support/show_text.h"

namespace kiv {
namespace {

// Slides ending at 4000, 9000, 15000 and 20000 ms with 1000 ms transitions.
std::string WithTransitions(const std::string& moreOptions = "") {
  return SlidesEndingAt({4000, 9000, 15000, 20000}, 1000) + moreOptions +
         "[Slide2]\nslideid=Beach\n[Slide3]\npicture=C:\\pics\\sunset.jpg\n";
}
const std::string kPlain = SlidesEndingAt({4000, 9000, 15000});

TEST(SlideNavigation, SlideStartsStepOverTheStartWithoutTransition) {
  auto plain = SourceOf(kPlain + "opt_repeat=stop\n");
  EXPECT_EQ(SlideStartTime(*plain, -3), 1);
  EXPECT_EQ(SlideStartTime(*plain, 0), 1);
  EXPECT_EQ(SlideStartTime(*plain, 2), 9001);
  EXPECT_EQ(SlideStartTime(*plain, 3), 15000);  // the end of a show that ends

  auto repeating = SourceOf(kPlain);
  EXPECT_EQ(SlideStartTime(*repeating, 3), 15001);  // the first slide again
  EXPECT_EQ(SlideStartTime(*repeating, 4), 19001);

  auto faded = SourceOf(WithTransitions());
  EXPECT_EQ(SlideStartTime(*faded, 1), 4000);
  EXPECT_EQ(SlideStartTime(*SourceOf("[main]\n"), 2), 0);
}

TEST(SlideNavigation, NextSlideShowsThePausedPictureAfterItsTransition) {
  auto faded = SourceOf(WithTransitions("opt_repeat=stop\n"));
  EXPECT_EQ(NextSlideTime(*faded, 500, false), 4000);
  EXPECT_EQ(NextSlideTime(*faded, 500, true), 5000);
  EXPECT_EQ(NextSlideTime(*faded, 4000, false), 9000);  // a boundary belongs to the earlier slide
  EXPECT_EQ(NextSlideTime(*faded, 17000, false), 15000);  // the last slide of a show that ends

  auto repeating = SourceOf(kPlain);
  EXPECT_EQ(NextSlideTime(*repeating, 10000, false), 15001);
  EXPECT_EQ(NextSlideTime(*repeating, 16000, true), 19001);
}

TEST(SlideNavigation, NextSlideOfARepeatingShowWithoutLengthComesAtOnce) {
  auto empty = SourceOf(SlidesEndingAt({0, 0, 0}));
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(NextSlideTime(*empty, 0, false), 1);
  EXPECT_EQ(NextSlideTime(*empty, 5000, true), 1);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));  // not a walk of 2^31 slides
  auto single = SourceOf(SlidesEndingAt({3000}));
  EXPECT_EQ(NextSlideTime(*single, 3000, false), 6001);  // the end of a round belongs to it
}

TEST(SlideNavigation, PreviousSlideRestartsTheSlideOrGoesBackWithinHalfASecond) {
  auto faded = SourceOf(WithTransitions());
  // Slide 3 is fully shown at 10000.
  EXPECT_EQ(PrevSlideTime(*faded, 10600), 10000);
  EXPECT_EQ(PrevSlideTime(*faded, 10300), 5000);  // slide 2 fully shown
  EXPECT_EQ(PrevSlideTime(*faded, 9500), 5000);   // during the transition into slide 3
  EXPECT_EQ(PrevSlideTime(*faded, 5300), 0);
  EXPECT_EQ(PrevSlideTime(*faded, 3000), 0);
  EXPECT_EQ(PrevSlideTime(*faded, 0), 0);
}

TEST(SlideNavigation, CurrentSlideAndSlidesByName) {
  auto faded = SourceOf(WithTransitions("opt_repeat=stop\n"));
  EXPECT_EQ(CurrentSlideIndex(*faded, 0), 0);
  EXPECT_EQ(CurrentSlideIndex(*faded, 4000), 0);
  EXPECT_EQ(CurrentSlideIndex(*faded, 4001), 1);
  EXPECT_EQ(CurrentSlideIndex(*faded, 25000), 3);  // past the end of a show that ends
  EXPECT_EQ(CurrentSlideIndex(*SourceOf(kPlain), 16000), 3);  // the next round

  EXPECT_EQ(SlideIndexByName(faded->Slides(), u"Beach"), 1);
  EXPECT_EQ(SlideIndexByName(faded->Slides(), u"sunset"), 2);
  EXPECT_EQ(SlideIndexByName(faded->Slides(), u"beach"), -1);  // names match exactly
  EXPECT_EQ(SlideIndexByName(faded->Slides(), u"nowhere"), -1);
}

}  // namespace
}  // namespace kiv
