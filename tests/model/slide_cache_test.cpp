// The slide cache: which containers it holds around the show time, in index order,
// across the wrap of a repeating show, and what its hooks are told.
#include "model/slide_cache.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/producer_test_support.h"

namespace kiv {
namespace {

using TIndexes = std::vector<int>;

class TCacheShow : public TProducerShow {
 public:
  TCacheShow(std::string_view text, int lookAhead) : TProducerShow(text), Cache(Producer, lookAhead) {
    Producer.SetOutput({800, 600}, TSlideFit::Inside, 100, 100);
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

TEST(SlideCache, FillsOneContainerPerUpdateAndDropsWhatWasLeftBehind) {
  TCacheShow show(SlideShowText(5), 2);
  EXPECT_TRUE(show.Cache.Update(6000));  // inside slide 1
  EXPECT_TRUE(show.Cache.Update(6000));
  EXPECT_FALSE(show.Cache.Update(6000));
  EXPECT_EQ(show.Settle(6000), (TIndexes{1, 2}));
  EXPECT_EQ(show.Added, (TIndexes{1, 2}));
  EXPECT_EQ(show.Changes, 2);

  // Past the transition into slide 2: slide 1 goes, slide 3 comes, one change each.
  EXPECT_EQ(show.Settle(10000), (TIndexes{2, 3}));
  EXPECT_EQ(show.Changes, 4);

  // Back again: the earlier slide is made anew and takes its place in front.
  EXPECT_EQ(show.Settle(6000), (TIndexes{1, 2}));
  EXPECT_EQ(show.Added, (TIndexes{1, 2, 3, 1}));

  // A far jump keeps one container to draw until the new ones are there.
  show.Now = 18000;
  EXPECT_TRUE(show.Cache.Update(18000));
  EXPECT_EQ(show.Cache.Containers().size(), 2u);
  EXPECT_EQ(show.Settle(18000), (TIndexes{4, 5}));
}

TEST(SlideCache, TheWrapOfARepeatingShowMakesTheNextRound) {
  TCacheShow show(SlideShowText(5), 2);
  EXPECT_EQ(show.Settle(18000), (TIndexes{4, 5}));
  const TDrawContainer& next = *show.Cache.Containers().back();
  EXPECT_EQ(next.LoopCount(), 1);
  EXPECT_EQ(next.Timing().StartTime, 20000);
  EXPECT_EQ(next.Slide()->Children().at(0)->Name(), u"S1");
  EXPECT_EQ(show.Settle(22000), (TIndexes{5, 6}));

  TCacheShow closing(SlideShowText(5, "close"), 2);
  EXPECT_EQ(closing.Settle(18000), (TIndexes{4}));
}

TEST(SlideCache, LookAheadIsClampedAndTransitionsKeepBothSlides) {
  TCacheShow three(SlideShowText(5), 7);
  EXPECT_EQ(three.Cache.LookAhead(), 3);
  EXPECT_EQ(three.Settle(6000), (TIndexes{1, 2, 3}));

  TCacheShow one(SlideShowText(5), 0);
  EXPECT_EQ(one.Cache.LookAhead(), 1);
  EXPECT_EQ(one.Settle(6000), (TIndexes{1}));
  EXPECT_EQ(one.Settle(8500), (TIndexes{1, 2}));  // the transition needs both
  EXPECT_EQ(one.Settle(500), (TIndexes{-1, 0}));  // the lead-in hands over to slide 0
}

TEST(SlideCache, SlidesWithoutSectionsAreHeldEmptyAndEmptyShowsFail) {
  TCacheShow show(SlideShowText(5, "repeat", "", 3), 2);
  EXPECT_EQ(show.Settle(6000), (TIndexes{1, 2}));
  EXPECT_EQ(show.Cache.Containers().back()->Slide(), nullptr);

  TCacheShow empty("[main]\nopt_slidescount=0\n", 2);
  EXPECT_EQ(FailureOf([&] { empty.Cache.Update(0); }), "No Slides in Presentation");
  EXPECT_TRUE(empty.Cache.Containers().empty());
}

}  // namespace
}  // namespace kiv
