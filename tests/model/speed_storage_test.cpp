#include "model/speed_storage.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "model/smoother.h"

namespace kiv {
namespace {

std::vector<std::pair<int, int>> Runs(const TSpeedStorage& storage) {
  std::vector<std::pair<int, int>> runs;
  for (const TInterval& i : storage.Intervals()) runs.emplace_back(i.From, i.To);
  return runs;
}

TSpeedStorage Parsed(std::u16string_view text) {
  TSpeedStorage storage;
  EXPECT_TRUE(storage.FromText(text)) << std::string(text.begin(), text.end());
  return storage;
}

using TRuns = std::vector<std::pair<int, int>>;

TEST(SpeedStorageKeys, AddKeyOpensWidensAndJoinsRuns) {
  TSpeedStorage storage;
  int changes = 0;
  storage.SetChangeHook([&changes] { ++changes; });
  storage.AddKey(1000);
  EXPECT_TRUE(storage.Intervals().empty());
  storage.AddKey(3000);
  EXPECT_EQ(Runs(storage), (TRuns{{0, 1}}));
  storage.AddKey(5000);  // after the last: the last run reaches it
  EXPECT_EQ(Runs(storage), (TRuns{{0, 2}}));
  storage.AddKey(0);  // before the first: the first run reaches back to it
  EXPECT_EQ(Runs(storage), (TRuns{{0, 3}}));
  EXPECT_EQ(storage.Keys(), (std::vector<int32_t>{0, 1000, 3000, 5000}));
  EXPECT_EQ(changes, 4);

  TSpeedStorage two = Parsed(u"4;0;1000;2000;3000;2;0;1;0.2;0.8;1;3;0.1;0.9;");
  two.AddKey(1500);  // inside the second run
  EXPECT_EQ(Runs(two), (TRuns{{0, 1}, {1, 4}}));
  two.AddKey(1000);  // equal times go after: the run ending at the old key still ends there
  EXPECT_EQ(two.Keys(), (std::vector<int32_t>{0, 1000, 1000, 1500, 2000, 3000}));
  EXPECT_EQ(Runs(two), (TRuns{{0, 1}, {1, 5}}));
  two.AddKey(-10);
  EXPECT_EQ(Runs(two), (TRuns{{0, 2}, {2, 6}}));
}

TEST(SpeedStorageKeys, RemoveKeyShortensMergesAndKeepsLaterRunsOnTheirKeys) {
  // Neither starts nor ends there: the spanning run shrinks.
  TSpeedStorage spanning = Parsed(u"3;0;1000;2000;1;0;2;0.2;0.8;");
  spanning.RemoveKey(1000);
  EXPECT_EQ(Runs(spanning), (TRuns{{0, 1}}));

  // A run ends and the next starts there: the two merge and keep the first pair.
  TSpeedStorage merging = Parsed(u"3;0;1000;2000;2;0;1;0.2;0.8;1;2;0.1;0.9;");
  merging.RemoveKey(1000);
  ASSERT_EQ(Runs(merging), (TRuns{{0, 1}}));
  EXPECT_DOUBLE_EQ(merging.Intervals()[0].S1, 0.2);

  // Only a run ends there: it ends one key earlier, and the run after it still points
  // at its own keys (4000 and 5000 are now indexes 2 and 3).
  TSpeedStorage ending = Parsed(u"5;0;1000;2000;4000;5000;2;0;2;0.2;0.8;3;4;0.1;0.9;");
  ending.RemoveKey(2000);
  EXPECT_EQ(Runs(ending), (TRuns{{0, 1}, {2, 3}}));

  // Only a run starts there: it starts at the next key; one left without length goes.
  TSpeedStorage starting = Parsed(u"4;0;1000;2000;3000;1;1;2;0.2;0.8;");
  starting.RemoveKey(1000);
  EXPECT_TRUE(starting.Intervals().empty());
  TSpeedStorage longer = Parsed(u"4;0;1000;2000;3000;1;1;3;0.2;0.8;");
  longer.RemoveKey(1000);
  EXPECT_EQ(Runs(longer), (TRuns{{1, 2}}));

  // A run that ends at its first key after the removal goes.
  TSpeedStorage pair = Parsed(u"2;0;1000;1;0;1;0.2;0.8;");
  pair.RemoveKey(1000);
  EXPECT_TRUE(pair.Intervals().empty());
  pair.RemoveKey(0);
  EXPECT_TRUE(pair.Keys().empty());
  EXPECT_THROW(pair.RemoveKey(0), EAssertionFailed);
}

TEST(SpeedStorageText, TextRoundTripsAndBadTextLeavesOneKeyAtZero) {
  const TSpeedStorage profile = Parsed(u"3; 0;1000;2500;1;0;2;0.25;0.75;0.1;0.9;");
  EXPECT_EQ(profile.AsText(), u"3;0;1000;2500;1;0;2;0.25;0.75;0.1;0.9;");
  EXPECT_DOUBLE_EQ(profile.DefaultS1(), 0.1);
  EXPECT_EQ(Parsed(profile.AsText()).AsText(), profile.AsText());

  // Runs of no length are dropped when there are several keys, kept with one.
  EXPECT_TRUE(Parsed(u"2;0;10;2;1;1;0.2;0.8;0;1;0.2;0.8;").Intervals().size() == 1);
  EXPECT_EQ(Parsed(u"1;5;1;0;0;0.5;0.5;").Intervals().size(), 1u);

  for (std::u16string_view bad : {u"10001;", u"1;0;10001;", u"-1;", u"2;0;10;1;0;1;0.3;0.2;", u"2;0;10;1;0;1;1;0;",
                                  u"1;0;0;0.5;", u"1;0;0;0.5;0.4;", u"1;0;0;;", u"", u"2;0;10;1;0;2;0;1;"}) {
    TSpeedStorage storage = Parsed(u"2;0;10;1;0;1;0.2;0.8;");
    EXPECT_FALSE(storage.FromText(bad)) << std::string(bad.begin(), bad.end());
    EXPECT_EQ(storage.Keys(), (std::vector<int32_t>{0}));
    EXPECT_TRUE(storage.Intervals().empty());
    EXPECT_EQ(storage.AsText(), u"1;0;0;0;1;");
  }
}

TEST(Smoother, MotionStartsAndEndsAtRestAndCoversTheDistance) {
  TSmoother motion;
  motion.SetupMotion(10, 110, 1000, 2000, 1000);
  EXPECT_DOUBLE_EQ(motion.MotionValue(-5), 10);
  EXPECT_NEAR(motion.MotionValue(500), 14.1667, 1e-4);
  EXPECT_NEAR(motion.MotionValue(3500), 105.833, 1e-3);
  EXPECT_DOUBLE_EQ(motion.MotionValue(4000), 110);
  // No cruising phase; no length at all.
  motion.SetupMotion(0, 100, 500, 0, 500);
  EXPECT_NEAR(motion.MotionValue(500), 50, 1e-9);
  motion.SetupMotion(0, 100, 0, 0, 0);
  EXPECT_DOUBLE_EQ(motion.MotionValue(0), 0);
  EXPECT_DOUBLE_EQ(motion.MotionValue(1), 100);
}

}  // namespace
}  // namespace kiv
