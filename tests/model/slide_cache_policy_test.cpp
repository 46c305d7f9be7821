#include "model/slide_cache_policy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <limits>
#include <string>

#include "base/errors.h"
#include "support/show_source.h"
#include "support/show_text.h"

namespace kiv {
namespace {

// Five slides of 4000 ms each (ending at 4000 … 20000) with 1000 ms transitions.
std::string FiveSlides(std::string_view repeat) {
  return SlidesEndingAt(EvenSlideEnds(5, 4000), 1000) + "opt_repeat=" + std::string(repeat) + "\n";
}

// A cache of indexes run the way the slide cache runs its containers.
class TIndexCache {
 public:
  TIndexCache(const TKivSource& source, int lookAhead) : FPolicy(source, lookAhead) {}

  // One update: answers whether a slide was added.
  bool Update(double time) {
    const TSlideCacheStep step = FPolicy.Update(time, Held);
    for (int dropped : step.Dropped) std::erase(Held, dropped);
    if (!step.Added) return false;
    Held.insert(std::upper_bound(Held.begin(), Held.end(), *step.Added), *step.Added);
    EXPECT_LE(Held.size(), 3u);
    return true;
  }
  // Updates until nothing more is added.
  const std::vector<int>& Settle(double time) {
    for (int calls = 0; Update(time); ++calls) EXPECT_LT(calls, 10);
    return Held;
  }

  TSlideCachePolicy& Policy() { return FPolicy; }
  std::vector<int> Held;

 private:
  TSlideCachePolicy FPolicy;
};

using TIndexes = std::vector<int>;

TEST(SlideCachePolicy, VisibleSlidesIncludeBothSidesOfATransition) {
  const auto source = SourceOf(FiveSlides("repeat"));
  TVisibleSlideFinder finder(*source);
  EXPECT_EQ(finder.VisibleSlides(6000), (TVisibleSlides{1, 1}));
  EXPECT_EQ(finder.VisibleSlides(8500), (TVisibleSlides{1, 2}));  // slide 2 arrives from 8000 to 9000
  EXPECT_EQ(finder.VisibleSlides(9000), (TVisibleSlides{1, 2}));
  EXPECT_EQ(finder.VisibleSlides(9000.4), (TVisibleSlides{1, 2}));  // rounded to whole ms
  EXPECT_EQ(finder.VisibleSlides(9000.6), (TVisibleSlides{2, 2}));
  EXPECT_EQ(finder.VisibleSlides(3000), (TVisibleSlides{0, 0}));  // back again
  // The transition into the first slide shows the lead-in leaving.
  EXPECT_EQ(finder.VisibleSlides(0), (TVisibleSlides{-1, 0}));
  EXPECT_EQ(finder.VisibleSlides(-500), (TVisibleSlides{-1, -1}));
  // At the wrap the first slide of the next round arrives; a far seek lands directly.
  EXPECT_EQ(finder.VisibleSlides(20500), (TVisibleSlides{4, 5}));
  EXPECT_EQ(finder.VisibleSlides(20000.0 * 1000 + 6000), (TVisibleSlides{5001, 5001}));
  EXPECT_EQ(finder.VisibleSlides(6000), (TVisibleSlides{1, 1}));
  EXPECT_EQ(finder.VisibleSlides(std::numeric_limits<double>::quiet_NaN()), (TVisibleSlides{1, 1}));
  EXPECT_EQ(finder.VisibleSlides(-1e300).First, -1);
  EXPECT_GT(finder.VisibleSlides(1e300).First, 1000000);
}

TEST(SlideCachePolicy, CacheHoldsTheWindowAndDropsWhatIsPast) {
  const auto source = SourceOf(FiveSlides("repeat"));
  TIndexCache cache(*source, 2);
  EXPECT_EQ(cache.Settle(2000), (TIndexes{0, 1}));
  // One container per call: the window moves on, slide 0 goes and slide 2 comes.
  EXPECT_TRUE(cache.Update(6000));
  EXPECT_EQ(cache.Held, (TIndexes{1, 2}));
  EXPECT_FALSE(cache.Update(6000));
  // A far seek drops everything but one container, which goes as soon as another is made.
  EXPECT_TRUE(cache.Update(14000));
  EXPECT_EQ(cache.Held, (TIndexes{2, 3}));
  EXPECT_EQ(cache.Settle(14000), (TIndexes{3, 4}));

  TIndexCache wide(*source, 3);
  EXPECT_EQ(wide.Settle(6000), (TIndexes{1, 2, 3}));
  // Look-ahead is clamped to 1 … 3.
  EXPECT_EQ(TSlideCachePolicy(*source, 9).LookAhead(), 3);
  EXPECT_EQ(TSlideCachePolicy(*source, 0).LookAhead(), 1);
}

TEST(SlideCachePolicy, ARunningTransitionAlwaysHasItsArrivingSlide) {
  const auto source = SourceOf(FiveSlides("repeat"));
  TIndexCache single(*source, 1);
  EXPECT_EQ(single.Settle(6000), (TIndexes{1}));
  EXPECT_EQ(single.Settle(8500), (TIndexes{1, 2}));
  EXPECT_EQ(single.Settle(9500), (TIndexes{2}));
}

TEST(SlideCachePolicy, RepeatingShowsCacheAcrossTheWrap) {
  const auto source = SourceOf(FiveSlides("repeat"));
  TIndexCache cache(*source, 3);
  EXPECT_EQ(cache.Settle(18000), (TIndexes{4, 5, 6}));
  EXPECT_EQ(cache.Settle(22000), (TIndexes{5, 6, 7}));
  // Index 7 is slide 2 of the second round, shifted by the show's length.
  const TSlideTiming timing = source->SlideTiming(7);
  EXPECT_EQ(timing.LoopCount, 1);
  EXPECT_DOUBLE_EQ(timing.Info.StartTime, 8000 + 20000);
}

TEST(SlideCachePolicy, ShowsThatEndStopAtTheirLastSlide) {
  const auto source = SourceOf(FiveSlides("stop"));
  TIndexCache cache(*source, 3);
  EXPECT_EQ(cache.Settle(18000), (TIndexes{4}));
  EXPECT_EQ(cache.Policy().VisibleSlides(25000), (TVisibleSlides{4, 4}));
  EXPECT_EQ(cache.Settle(1e12), (TIndexes{4}));
  EXPECT_EQ(cache.Settle(9500), (TIndexes{2, 3, 4}));
}

TEST(SlideCachePolicy, ShowsWithoutSlidesOrLengthNeverLoop) {
  const auto empty = SourceOf("[main]\nopt_slidescount=0\n");
  TIndexCache cache(*empty, 2);
  try {
    cache.Update(1000);
    ADD_FAILURE() << "a show without slides has nothing to cache";
  } catch (const EAssertionFailed& failure) {
    EXPECT_EQ(failure.Text(), "No Slides in Presentation");
  }

  // All slides end at 0: the show has no length and never repeats.
  const auto still = SourceOf("[main]\nopt_slidescount=3\n");
  TVisibleSlideFinder finder(*still);
  EXPECT_EQ(finder.VisibleSlides(5000), (TVisibleSlides{2, 2}));
  EXPECT_EQ(LastReachableIndex(*still), 2);
  EXPECT_EQ(LastReachableIndex(*SourceOf(FiveSlides("repeat"))), INT_MAX - 4);
}

}  // namespace
}  // namespace kiv
