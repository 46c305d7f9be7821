#include "model/slide_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/text.h"
#include "support/show_source.h"

namespace kiv {
namespace {

std::vector<int> OrderOf(const TIniStorage& project, int count) {
  std::vector<int> order;
  for (int i = 0; i < count; ++i) order.push_back(SlideNumberAt(project, i));
  return order;
}

std::string ShuffledProject(std::string_view path, int count, bool random) {
  return "[main]\nProjectFilePath=" + std::string(path) + "\nopt_slidescount=" + std::to_string(count) +
         "\nopt_random=" + (random ? "1" : "0") + "\n";
}

TEST(SlideRandomList, SortsSlidesByRandomKeys) {
  TScriptedRandom random({900, 5, 700, 5, 100});
  TSlideRandomList list(5, true, random);
  EXPECT_EQ(random.Reseeds, 1);
  EXPECT_EQ(random.Ranges, std::vector<uint32_t>(5, 1000000));
  // Ascending keys 5, 5, 100, 700, 900; of the two 5s the later one went to the end first.
  std::vector<int> order;
  for (int i = 0; i < 5; ++i) order.push_back(list.SlideNumber(i));
  EXPECT_EQ(order, (std::vector<int>{3, 1, 4, 2, 0}));
  EXPECT_EQ(list.SlideNumber(12), 12);  // past the list: its own number

  TScriptedRandom unused;
  TSlideRandomList plain(3, false, unused);
  EXPECT_EQ(plain.SlideNumber(2), 2);
  EXPECT_TRUE(unused.Ranges.empty());
}

TEST(SlideOrder, ShuffledOrderIsOnePermutationForTheLifeOfTheProcess) {
  TScriptedRandom random({10, 40, 30, 20, 60, 50, 0, 70});
  TProcessRandomScope scope(random);
  auto project = ParseProject(ShuffledProject("C:\\Shows\\shuffle-test.kiv", 8, true));
  const std::vector<int> first = OrderOf(*project, 8);
  std::vector<int> sorted = first;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(first, (std::vector<int>{6, 0, 3, 2, 1, 5, 4, 7}));

  // Later calls, even through another document of the same project, see the same order.
  EXPECT_EQ(OrderOf(*project, 8), first);
  auto reopened = ParseProject(ShuffledProject("C:\\Shows\\shuffle-test.kiv", 8, false));
  EXPECT_EQ(OrderOf(*reopened, 8), first);
  EXPECT_EQ(random.Reseeds, 1);
  EXPECT_EQ(SlideNumberAt(*project, 20), 20);
}

TEST(SlideOrder, ProjectsWithoutPathOrRandomKeepTheirOrder) {
  TScriptedRandom random({5, 4, 3, 2, 1});
  TProcessRandomScope scope(random);
  auto pathless = ParseProject("[main]\nopt_slidescount=5\nopt_random=1\n");
  EXPECT_EQ(OrderOf(*pathless, 5), (std::vector<int>{0, 1, 2, 3, 4}));
  auto ordered = ParseProject(ShuffledProject("C:\\Shows\\ordered-test.kiv", 5, false));
  EXPECT_EQ(OrderOf(*ordered, 5), (std::vector<int>{0, 1, 2, 3, 4}));
  auto mainless = ParseProject("[Slide1]\npicture=a.jpg\n");
  EXPECT_EQ(SlideNumberAt(*mainless, 3), 3);
  EXPECT_TRUE(random.Ranges.empty());
}

TEST(SlideOrder, SlideSectionFindsTheSlideIgnoringCase) {
  auto project = ParseProject("[main]\nopt_slidescount=3\n[slide1]\nslideid=a\n[SLIDE2]\nslideid=b\n");
  ASSERT_NE(SlideSection(*project, 0), nullptr);
  EXPECT_EQ(SlideSection(*project, 0)->ReadString(u"slideid", u""), u"a");
  EXPECT_EQ(SlideSection(*project, 1)->ReadString(u"slideid", u""), u"b");
  EXPECT_EQ(SlideSection(*project, 2), nullptr);
  EXPECT_EQ(SlideSection(*project, -1), nullptr);
}

}  // namespace
}  // namespace kiv
