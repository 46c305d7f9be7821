#include "app/command_line.h"

#include <gtest/gtest.h>

#include "app/command_line_tokens.h"
#include "app/start_parameters.h"

namespace kiv {
namespace {

using Tokens = std::vector<std::u16string>;

TStartPosition StartOf(std::u16string_view text) { return TCommandLine::FromText(text).GetStartPosition(); }

void ExpectStart(std::u16string_view text, int value, bool isTime) {
  const TStartPosition position = StartOf(text);
  EXPECT_EQ(position.Value, value) << std::string(text.begin(), text.end());
  EXPECT_EQ(position.IsTime, isTime) << std::string(text.begin(), text.end());
}

TEST(CommandLineTokens, SplitOnBlanksAndControlCharactersOutsideQuotes) {
  EXPECT_EQ(SplitCommandLine(u"  prog\t-slide\r\n3\x01x  "), (Tokens{u"prog", u"-slide", u"3", u"x"}));
  EXPECT_EQ(SplitCommandLine(u"prog \"my show.kiv\" \"tab\there\""), (Tokens{u"prog", u"my show.kiv", u"tab\there"}));
  EXPECT_EQ(SplitCommandLine(u"a\"b\"c a\" \"c"), (Tokens{u"abc", u"a c"}));
  // One quote goes from each end, then all the others.
  EXPECT_EQ(SplitCommandLine(u"\"\"a\"\" -\"slide\""), (Tokens{u"a", u"-slide"}));
  EXPECT_EQ(SplitCommandLine(u"x \"\" y"), (Tokens{u"x", u"", u"y"}));
  // An unclosed quote runs to the end of the text.
  EXPECT_EQ(SplitCommandLine(u"x \"open end  "), (Tokens{u"x", u"open end  "}));
  EXPECT_EQ(SplitCommandLine(u" \t\r\n"), Tokens{});
  EXPECT_EQ(CleanToken(u"\""), u"");
}

TEST(CommandLineTokens, ArgumentsGiveTheSameModelAsTheirJoinedText) {
  const char* argv[] = {"/opt/x/kivplayer", "-filename", "\"my show.kiv\"", "a\"b\"c", "", "t\tab", "caf\xC3\xA9"};
  const int argc = int(std::size(argv));
  const TCommandLine fromArguments = TCommandLine::FromArguments(argc, argv);
  EXPECT_EQ(fromArguments.Tokens(),
            (Tokens{u"/opt/x/kivplayer", u"-filename", u"my show.kiv", u"abc", u"", u"t\tab", u"caf\u00E9"}));
  EXPECT_EQ(TCommandLine::FromText(JoinArguments(argc, argv)).Tokens(), fromArguments.Tokens());
  EXPECT_EQ(fromArguments.GetOptionValue(u"filename", 4), u"caf\u00E9");
}

TEST(CommandLineOptions, ItemsFollowTheirOptionAndTheProgramBelongsToTheEmptyName) {
  const TCommandLine line = TCommandLine::FromText(u"/opt/x/kivplayer -display 2 3 -filename \"a b.kiv\" -resize");
  EXPECT_EQ(line.GetOptionValue(u""), u"/opt/x/kivplayer");
  EXPECT_EQ(line.GetOptionValue(u"display", 0), u"2");
  EXPECT_EQ(line.GetOptionValue(u"display", 1), u"3");
  EXPECT_EQ(line.GetOptionValue(u"display", 2), std::nullopt);
  EXPECT_EQ(line.GetOptionValue(u"filename"), u"a b.kiv");
  EXPECT_EQ(line.GetOptionValue(u"resize"), std::nullopt);
  EXPECT_TRUE(line.HasOption(u"resize"));
  EXPECT_FALSE(line.HasOption(u"cover"));
  // Lookups are lower-cased, so the name may be asked for in any case.
  EXPECT_EQ(line.GetOptionValue(u"DISPLAY", 1), u"3");
}

TEST(CommandLineOptions, OnlyLowerCaseOptionsAreRecognised) {
  const TCommandLine line = TCommandLine::FromText(u"prog -Slide 3 -LOG");
  EXPECT_NE(line.Options().Find(u"Slide"), nullptr);  // kept as typed
  EXPECT_FALSE(line.HasOption(u"slide"));
  EXPECT_FALSE(line.HasOption(u"log"));
  ExpectStart(u"prog -Slide 3", 0, false);
}

TEST(CommandLineOptions, StartPositionComesFromSlideOrElseTime) {
  ExpectStart(u"prog", 0, false);
  ExpectStart(u"prog -slide 3", 2, false);
  ExpectStart(u"prog -slide 1", 0, false);
  ExpectStart(u"prog -slide 0", 0, false);
  ExpectStart(u"prog -slide x", 0, false);
  ExpectStart(u"prog -slide 3x", 0, false);
  ExpectStart(u"prog -slide -2", 0, false);
  ExpectStart(u"prog -slide 99999999999", 0, false);
  ExpectStart(u"prog -time 5000", 4999, true);
  ExpectStart(u"prog -time 0", 0, true);
  ExpectStart(u"prog -time 5000 -slide 4", 3, false);
}

TEST(CommandLineOptions, IntegerValuesAreWholeNumbersOfTheFirstParameter) {
  const TCommandLine line = TCommandLine::FromText(u"prog -display 2 7 -resize -slide x2 -time +40");
  EXPECT_EQ(line.GetIntegerValue(u"display"), 2);
  EXPECT_EQ(line.GetIntegerValue(u"time"), 40);
  EXPECT_EQ(line.GetIntegerValue(u"slide"), std::nullopt);
  EXPECT_EQ(line.GetIntegerValue(u"resize"), std::nullopt);
  EXPECT_EQ(line.GetIntegerValue(u"cover"), std::nullopt);
}

TEST(CommandLineOptions, TheOwnerWindowIsTheLastTokenWhenItIsANumber) {
  const struct {
    const char16_t* Text;
    std::optional<uint64_t> Owner;
  } cases[] = {{u"p -startup -ownerwnd 77594625", 77594625},
               {u"p -startup -ownerwnd 0x4a00001", std::nullopt},
               {u"p -startup -ownerwnd", std::nullopt},
               {u"p -ownerwnd 99999999999999999999", std::nullopt},
               {u"p 5", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(TCommandLine::FromText(c.Text).OwnerWindow(), c.Owner);
}

TEST(CommandLineOptions, RawArgumentsMatchWholeTokensExactly) {
  const TCommandLine line = TCommandLine::FromText(u"prog /s -startup \"/p 12\"");
  EXPECT_TRUE(line.HasRawArgument(u"/s"));
  EXPECT_FALSE(line.HasRawArgument(u"/S"));
  EXPECT_TRUE(line.HasRawArgument(u"-startup"));
  EXPECT_FALSE(line.HasRawArgument(u"-Startup"));
  EXPECT_FALSE(line.HasRawArgument(u"startup"));
  EXPECT_FALSE(line.HasRawArgument(u"/p"));
  EXPECT_TRUE(line.HasRawArgument(u"/p 12"));
  EXPECT_TRUE(TCommandLine::FromText(u"prog /S").HasRawArgument(u"/S"));
}

TEST(CommandsStorage, FindsEachEntryOfASharedBucket) {
  // "slide", "adn" and "asy" all hash to the same bucket.
  ASSERT_EQ(TCommandsStorage::BucketOf(u"slide"), TCommandsStorage::BucketOf(u"adn"));
  ASSERT_EQ(TCommandsStorage::BucketOf(u"slide"), TCommandsStorage::BucketOf(u"asy"));
  TCommandsStorage storage;
  storage.Add(u"slide").Items.push_back({u"3"});
  storage.Add(u"adn").Items.push_back({u"7"});
  storage.Add(u"slide").Items.push_back({u"4"});  // the existing entry, not a new one
  ASSERT_NE(storage.Find(u"slide"), nullptr);
  ASSERT_NE(storage.Find(u"adn"), nullptr);
  EXPECT_EQ(storage.Find(u"slide")->Items.size(), 2u);
  EXPECT_EQ(storage.Find(u"adn")->Items.at(0).Text, u"7");
  EXPECT_EQ(storage.Find(u"asy"), nullptr);
  EXPECT_EQ(storage.Find(u"Slide"), nullptr);
}

}  // namespace
}  // namespace kiv
