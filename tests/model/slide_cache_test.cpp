// The slide cache: the containers it holds around the show time, in index order, across
// the wrap of a repeating show, and what its hooks are told.
#include "model/slide_cache.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/progress_hook.h"
#include "model/producer_test_support.h"

namespace kiv {
namespace {

using TIndexes = std::vector<int>;

struct TCacheShow : TProducerShow {
  TCacheShow(std::string_view text, int lookAhead) : TProducerShow(text), Cache(Producer, lookAhead) {
    Cache.SetChangeHook([this] { ++Changes; });
    Cache.SetAddedHook([this](const std::shared_ptr<TDrawContainer>& container) { Added.push_back(container->Index()); });
  }
  // Updates at time until nothing more is made; the indexes held then.
  TIndexes Settle(double time) {
    Now = time;
    for (int calls = 0; Cache.Update(time); ++calls) EXPECT_LT(calls, 5);
    TIndexes held;
    for (const auto& container : Cache.Containers()) held.push_back(container->Index());
    return held;
  }

  TSlideCache Cache;
  int Changes = 0;
  TIndexes Added;
};

TEST(SlideCache, FillsOnePerUpdateDropsWhatWasLeftAndKeepsIndexOrder) {
  TCacheShow show(SlideShowText(5), 2);
  EXPECT_TRUE(show.Cache.Update(6000));  // inside slide 1
  EXPECT_EQ(show.Settle(6000), (TIndexes{1, 2}));
  EXPECT_EQ(show.Changes, 2);
  EXPECT_EQ(show.Settle(10000), (TIndexes{2, 3}));  // one drop and one insertion
  EXPECT_EQ(show.Changes, 4);
  EXPECT_EQ(show.Settle(6000), (TIndexes{1, 2}));  // made anew, in front
  EXPECT_EQ(show.Added, (TIndexes{1, 2, 3, 1}));
  EXPECT_EQ(show.Settle(8500), (TIndexes{1, 2}));  // a transition keeps both

  EXPECT_EQ(show.Settle(18000), (TIndexes{4, 5}));  // the wrap makes the next round
  EXPECT_EQ(show.Cache.Containers().back()->Timing().StartTime, 20000);
  TCacheShow closing(SlideShowText(5, "close"), 7);
  EXPECT_EQ(closing.Cache.LookAhead(), 3);
  EXPECT_EQ(closing.Settle(18000), (TIndexes{4}));
}

TEST(SlideCache, MakesNoSlideWhileTheProgramStops) {
  TCacheShow show(SlideShowText(5), 2);
  SetProgressMode(TProgressMode::Stop);
  EXPECT_FALSE(show.Cache.Update(6000));
  SetProgressMode(TProgressMode::None);
  EXPECT_TRUE(show.Cache.Containers().empty());
  EXPECT_EQ(show.Settle(6000), (TIndexes{1, 2}));
}

TEST(SlideCache, SlidesWithoutSectionsAreHeldEmptyAndEmptyShowsFail) {
  TCacheShow show(SlideShowText(5, "repeat", "", 3), 2);
  EXPECT_EQ(show.Settle(6000), (TIndexes{1, 2}));
  EXPECT_EQ(show.Cache.Containers().back()->Slide(), nullptr);
  TCacheShow empty("[main]\nopt_slidescount=0\n", 2);
  EXPECT_EQ(FailureOf([&] { empty.Cache.Update(0); }), "No Slides in Presentation");
}

}  // namespace
}  // namespace kiv
