#include "model/effect_chooser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "model/effect_options.h"
#include "support/show_source.h"

namespace kiv {
namespace {

TEffectOptions OptionsOf(std::string_view keys) {
  auto project = ParseProject("[main]\n" + std::string(keys));
  return ReadEffectOptions(*project->FindSection(u"main"));
}

constexpr std::string_view kOn = "opt_fx_enable=1\nopt_fx_time=1000\n";

TEST(EffectOptions, TypeCharactersMapToTypes) {
  const std::pair<char16_t, int> kTypes[] = {{u'1', 1},  {u'8', 8},  {u'9', 1},  {u'0', 1}, {u'A', 9},
                                             {u'H', 16}, {u'c', 11}, {u'h', 16}, {u'i', 1}};
  for (auto [character, type] : kTypes) EXPECT_EQ(EffectTypeOf(character), type) << char(character);
  EXPECT_EQ(EffectTypeOf(u""), 1);
  EXPECT_EQ(EffectTypeOf(u"c2"), 11);
}

TEST(EffectOptions, OnlyTheSwitchesAreReadWhileTransitionsAreOff) {
  constexpr std::string_view kRest = "opt_fx_smoothline=30\nopt_fx_mosaic_dx=5\nopt_fx_eff3=1\n";
  for (std::string_view off : {"opt_fx_enable=0\nopt_fx_time=1000\n", "opt_fx_enable=1\nopt_fx_time=0\n",
                               "opt_fx_enable=True\nopt_fx_time=1000\n"}) {
    const TEffectOptions options = OptionsOf(std::string(off) + std::string(kRest));
    EXPECT_FALSE(options.TransitionsOn());
    EXPECT_EQ(options.Settings.SmoothLine, 30);
    EXPECT_EQ(options.Settings.MosaicColumns, 1);
  }
  EXPECT_FALSE(OptionsOf(std::string(kOn)).TransitionsOn());  // no class takes part

  const TEffectOptions on = OptionsOf(std::string(kOn) + std::string(kRest));
  EXPECT_TRUE(on.TransitionsOn());
  EXPECT_EQ(on.Time, 1000);
  EXPECT_EQ(on.Settings.MosaicColumns, 5);
  EXPECT_DOUBLE_EQ(on.Settings.SwapMaxAngle, 60);  // defaults where the keys are absent
  EXPECT_EQ(on.Settings.RollBackColor, kDefaultRollBackColor);
}

TEST(EffectOptions, GroupsAndCustomEffectsFollowTheirKeys) {
  const TEffectOptions options = OptionsOf(std::string(kOn) +
                                           "opt_fx_eff5=12\nopt_fx_eff12=123456781234567812\n"
                                           "opt_fx_rollusebackcolor=1\nopt_fx_rollbackcolor=$00FF8000\n"
                                           "opt_fx_custom_count=3\nopt_fx_custom0=a.kiv\n"
                                           "opt_fx_custom1=b.kiv, c.kiv\nopt_fx_eff19=1,0,1,1\n");
  ASSERT_EQ(options.Groups.size(), 3u);
  EXPECT_EQ(options.Groups[0].Class, 4);
  EXPECT_EQ(options.Groups[0].Types, (std::vector<int>{1, 2}));
  EXPECT_EQ(options.Groups[1].Class, 11);
  EXPECT_EQ(options.Groups[1].Types.size(), 16u);  // at most 16 types
  EXPECT_EQ(options.Groups[2].Class, kCustomEffectClass);
  EXPECT_EQ(options.Groups[2].Types, (std::vector<int>{0, 2}));  // flag 3 names no custom effect
  EXPECT_EQ(options.CustomEffects, (std::vector<std::u16string>{u"a.kiv", u"b.kiv, c.kiv", u""}));

  const TEffectParams params = MakeEffectParams(options.Settings, true, 7, u"");
  EXPECT_EQ(params.RollBackColor, (TRgb{0xFF, 0x80, 0x00}));
  EXPECT_TRUE(params.RollUseBackColor);
}

TEST(EffectChooser, CircleTransitionsAlternateBetweenClosingAndOpening) {
  for (uint32_t draw : {0u, 1u}) {
    TScriptedRandom random(std::vector<uint32_t>(20, draw));
    TEffectChooser chooser(OptionsOf(std::string(kOn) + "opt_fx_eff5=12\n").Groups, random);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(chooser.ChooseEffect(i), (TEffectChoice{4, i % 2 ? 1 : 2})) << i;
  }
}

TEST(EffectChooser, SuccessiveTypesAlternateBetweenOddAndEvenPositions) {
  // One class: every choice shuffles a round of one first, which takes a draw of its own.
  TScriptedRandom random({0, 0, 0, 3, 0, 2, 0, 1, 0, 2, 0, 2, 0, 0, 0, 3, 0, 4});
  TEffectChooser chooser({{7, {1, 2, 3, 4, 5}}}, random);
  for (int i = 0; i < 8; ++i) {
    const int position = chooser.ChooseEffect(i).Type - 1;
    EXPECT_EQ(position % 2, i % 2 ? 0 : 1) << i;
    EXPECT_EQ(chooser.Alternation(), i % 2 == 0);
  }
  // The last position wraps to the first, whatever its parity.
  EXPECT_EQ(chooser.ChooseEffect(8).Type, 1);
}

TEST(EffectChooser, EveryClassComesOncePerShuffledRound) {
  // First round: Fisher–Yates draws 2, 0, 0 turn (1, 2, 3) into (3, 2, 1).
  TScriptedRandom random({2, 0, 0});
  TEffectChooser chooser({{1, {1}}, {2, {1}}, {3, {1}}}, random);
  std::vector<int> classes;
  for (int i = 0; i < 9; ++i) classes.push_back(chooser.ChooseEffect(i).Class);
  EXPECT_EQ(std::vector<int>(classes.begin(), classes.begin() + 3), (std::vector<int>{3, 2, 1}));
  for (int round = 0; round < 3; ++round) {
    std::set<int> seen(classes.begin() + round * 3, classes.begin() + round * 3 + 3);
    EXPECT_EQ(seen, (std::set<int>{1, 2, 3}));
  }
  EXPECT_EQ(random.Reseeds, 3);

  TScriptedRandom none;
  TEffectChooser empty({}, none);
  EXPECT_EQ(empty.ChooseEffect(0), (TEffectChoice{0, 0}));
}

TEST(EffectChooser, RepeatableModeDependsOnlyOnSlideAndSeed) {
  TScriptedRandom random;
  TEffectChooser chooser({{4, {1, 2, 3, 4}}, {7, {1, 2}}}, random);
  chooser.SetRepeatable(true, 5);
  // Slide 3: class entry 1; position (3 xor 5) mod 2 = 0 moved to the odd 1.
  EXPECT_EQ(chooser.ChooseEffect(3), (TEffectChoice{7, 2}));
  // Slide 2: class entry 0; position (2 xor 5) mod 4 = 3 moved to the even 0.
  EXPECT_EQ(chooser.ChooseEffect(2), (TEffectChoice{4, 1}));
  EXPECT_EQ(chooser.ChooseEffect(3), (TEffectChoice{7, 2}));
  EXPECT_EQ(chooser.RandomSeed(2), 7);
  EXPECT_FALSE(chooser.RollVariantsFor(2));  // (2 xor 5) mod 1000 = 7, not above 500
  EXPECT_TRUE(random.Ranges.empty());
  EXPECT_FALSE(chooser.Alternation());
}

TEST(EffectChooser, RandomSeedAndPerSlideRollVariantsDrawFromTheSource) {
  TScriptedRandom random({3, 5, 501, 0, 0, 501});
  TEffectChooser chooser({{14, {1}}}, random);
  EXPECT_EQ(chooser.RandomSeed(0), 3 * 4096 + 5);
  EXPECT_TRUE(chooser.RollVariantsFor(0));
  chooser.ChooseEffect(0);  // flips the alternation
  EXPECT_FALSE(chooser.RollVariantsFor(0));
}

}  // namespace
}  // namespace kiv
