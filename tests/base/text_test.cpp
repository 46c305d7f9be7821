#include "base/text.h"

#include <gtest/gtest.h>

#include "base/elf_hash.h"

namespace kiv {
namespace {

TEST(Utf8Conversion, RoundTripsEveryPlaneAndLoneSurrogates) {
  const std::u16string text = u"A\u00E9\u20AC\U0001F600z";
  EXPECT_EQ(Utf16ToUtf8(text), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z");
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);

  // A lone surrogate of either kind, and a high surrogate at the end, survive the trip.
  const std::u16string lone = {u'a', char16_t(0xDC01), u'b', char16_t(0xD801), u'c', char16_t(0xD802)};
  EXPECT_EQ(Utf16ToUtf8(lone), "a\xED\xB0\x81" "b\xED\xA0\x81" "c\xED\xA0\x82");
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(lone)), lone);
}

TEST(Utf8Conversion, BytesThatAreNotUtf8BecomeReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xC3"), u"\uFFFD");             // cut sequence
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");   // overlong slash
  EXPECT_EQ(Utf8ToUtf16("\xE2\x28\xA1"), u"\uFFFD(\uFFFD");
}

TEST(Utf8Conversion, IsUtf8ExactlyWhenNothingIsReplaced) {
  for (const std::string_view text : {"", "plain", "Krak\xC3\xB3w", "\xF0\x9F\x98\x80", "Krak\xF3w", "\xC3",
                                      "\xC0\xAF", "\xE2\x28\xA1", "\xF4\x90\x80\x80"})
    EXPECT_EQ(IsUtf8(text), Utf8ToUtf16(text).find(u'\xFFFD') == std::u16string::npos) << text;
}

TEST(CaseFolding, IsPerCodeUnitAndCoversCommonAlphabets) {
  EXPECT_EQ(LowerCase(u"MiXeD_09[]"), u"mixed_09[]");
  EXPECT_EQ(LowerCase(u"\u00C9\u00D7\u00DF"), u"\u00E9\u00D7\u00DF");  // É lowers, × and ß stay
  EXPECT_EQ(LowerCase(u"\u0100\u0139\u017D\u0178"), u"\u0101\u013A\u017E\u00FF");
  EXPECT_EQ(LowerCase(u"\u0391\u03A3\u0386"), u"\u03B1\u03C3\u03AC");
  EXPECT_EQ(LowerCase(u"\u0410\u042F\u0401"), u"\u0430\u044F\u0451");
  EXPECT_TRUE(SameTextIgnoringCase(u"Slide1", u"sLIDE1"));
  EXPECT_FALSE(SameTextIgnoringCase(u"Slide1", u"Slide"));
  EXPECT_FALSE(SameTextIgnoringCase(u"[", u"{"));  // not an ASCII bit trick
}

TEST(ElfHash, MatchesTheClassicPjwValues) {
  EXPECT_EQ(ElfHash(u""), 0u);
  EXPECT_EQ(ElfHash(u"a"), 0x61u);
  EXPECT_EQ(ElfHash(u"ab"), 0x672u);
  // Long keys fold the top nibble back in and stay below 2^28.
  EXPECT_EQ(ElfHash(u"opt_slidescount"), 0x6F43384u);
  EXPECT_LT(ElfHash(u"a very long section name that overflows"), 0x10000000u);
  // Only the low byte of each unit counts.
  EXPECT_EQ(ElfHash(u"\u0161"), ElfHash(u"a"));
}

}  // namespace
}  // namespace kiv
