#include <gtest/gtest.h>

#include "base/text.h"
#include "text_test_support.h"

namespace kiv {
namespace {

const std::string kMark = "\xEF\xBB\xBF";

std::u16string Decode(const std::string& text, size_t count = 4096) { return ReadAll(kMark + text, count); }

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// Reads count units at a time and checks that no delivery ends inside a pair.
std::u16string DecodeWithWholePairs(const std::string& text, size_t count) {
  TMemoryStream stream = StreamOf(kMark + text);
  auto reader = CreateTextReader(stream);
  std::u16string all;
  std::u16string piece(count, u'\0');
  while (size_t n = reader->ReadChars(piece.data(), count)) {
    EXPECT_FALSE(IsHighSurrogate(piece[n - 1])) << "pair split after unit " << all.size() + n;
    all.append(piece, 0, n);
  }
  return all;
}

TEST(Utf8Reader, DecodesEveryLengthAndAcceptsOverlongForms) {
  EXPECT_EQ(Decode("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), u"A\u00E9\u20AC\xD83D\xDE00");
  EXPECT_EQ(Decode("\xF4\x8F\xBF\xBF"), u"\xDBFF\xDFFF");
  EXPECT_EQ(Decode("\xC0\x80\xC1\xBF\xE0\x80\x80"), std::u16string(u"\0\u007F\0", 3));
  EXPECT_EQ(Decode("\xED\xA0\x80"), std::u16string(1, char16_t(0xD800)));
}

TEST(Utf8Reader, UndecodableBytesRaiseInvalidChar) {
  for (const char* bad : {"\x80", "a\xBF", "\xFE", "\xFF",       // cannot lead
                          "\xC3\x41", "\xE2\x82\x41", "\xF0\x9F\xC0\x80",  // bad continuation
                          "\xF8\x88\x80\x80\x80", "\xFC\x84\x80\x80\x80\x80",  // 5 and 6 bytes
                          "\xF4\x90\x80\x80", "\xF7\xBF\xBF\xBF",              // above U+10FFFF
                          "ab\xE2\x82", "\xF0\x9F\x98", "\xC3"}) {  // cut by the end
    EXPECT_THROW(Decode(bad), EInvalidChar) << bad;
  }
}

// Sequences of every length straddle the 32768-byte buffer end at every offset.
TEST(Utf8Reader, SequencesCutByTheBufferEndAreCompletedAfterRefill) {
  const std::string sequences = "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
  for (size_t shift = 0; shift < 6; ++shift) {
    std::string text = std::string(32768 - shift, 'a') + sequences + "z" + sequences;
    std::u16string expected = Utf8ToUtf16(text);
    for (size_t count : {2, 3, 4096, 32767, 40000}) EXPECT_EQ(DecodeWithWholePairs(text, count), expected);
  }
  const std::string marked = kMark + sequences;
  TrickleStream trickle(std::vector<uint8_t>(marked.begin(), marked.end()));
  EXPECT_EQ(ReadAll(*CreateTextReader(trickle)), Utf8ToUtf16(sequences));
  EXPECT_THROW(Decode(std::string(32767, 'a') + "\xE2\x82"), EInvalidChar);
}

TEST(Utf8Reader, APairWaitsForADeliveryWithRoomForBoth) {
  TMemoryStream stream = StreamOf(kMark + "a\xF0\x9F\x98\x80" "b");
  auto reader = CreateTextReader(stream);
  char16_t units[3];
  EXPECT_EQ(reader->ReadChars(units, 2), 1u);  // a, with the pair left for the next call
  EXPECT_EQ(units[0], u'a');
  EXPECT_EQ(reader->ReadChars(units, 1), 0u);
  EXPECT_EQ(reader->ReadChars(units, 2), 2u);
  EXPECT_EQ(std::u16string(units, 2), u"\xD83D\xDE00");
  EXPECT_EQ(reader->ReadChars(units, 3), 1u);
  EXPECT_EQ(units[0], u'b');
  EXPECT_EQ(reader->ReadChars(units, 3), 0u);
}

}  // namespace
}  // namespace kiv
