#include <gtest/gtest.h>

#include "text_test_support.h"

namespace kiv {
namespace {

using namespace std::string_literals;

// Ignores every seek, as a stream that cannot go back would.
class UnseekableStream : public TMemoryStream {
 public:
  using TMemoryStream::TMemoryStream;
  bool FSeekable = true;
  void SetPosition(int64_t position) override {
    if (FSeekable) TMemoryStream::SetPosition(position);
  }
};

TEST(TextReader, TheByteOrderMarkChoosesTheReaderAndIsConsumed) {
  EXPECT_EQ(ReadAll("\xFF\xFE" "a\0\xAC\x20"s), u"a\u20AC");
  EXPECT_EQ(ReadAll("\xFE\xFF" "\0a\x20\xAC"s), u"a\u20AC");
  EXPECT_EQ(ReadAll("\xEF\xBB\xBF" "a\xE2\x82\xAC"), u"a\u20AC");
  // Without a mark, or with one cut short, every byte is ANSI text.
  EXPECT_EQ(ReadAll("\xFF"), u"\u00FF");
  EXPECT_EQ(ReadAll("\xFE"), u"\u00FE");
  EXPECT_EQ(ReadAll("\xEF\xBB"), u"\u00EF\u00BB");
  EXPECT_EQ(ReadAll("abc"), u"abc");
  EXPECT_EQ(ReadAll("\xEF\xBB\xBE" "a"), u"\u00EF\u00BB\u00BE" "a");
  EXPECT_EQ(ReadAll(""), u"");
}

TEST(TextReader, DetectionStartsAtTheStreamPosition) {
  TMemoryStream stream = StreamOf("xy\xFF\xFE" "a\0"s);
  stream.SetPosition(2);
  EXPECT_EQ(ReadAll(*CreateTextReader(stream)), u"a");
  stream.SetPosition(1);
  EXPECT_EQ(ReadAll(*CreateTextReader(stream)), u"y\u00FF\u00FE" "a\0"s);

  TrickleStream trickle(std::vector<uint8_t>{0xEF, 0xBB, 0xBF, 0xC3, 0xA9});
  EXPECT_EQ(ReadAll(*CreateTextReader(trickle)), u"\u00E9");
}

TEST(TextReader, AnsiTextIsCodePage1252WithUndefinedBytesAsZero) {
  std::u16string text = ReadAll("\x80\x81\x8D\x8F\x90\x9D\x9F\xE9\x41\xA0\x8A\x99");
  EXPECT_EQ(text, u"\u20AC\0\0\0\0\0\u0178\u00E9\u0041\u00A0\u0160\u2122"s);
  // More than one 4096-byte buffer, delivered one unit at a time.
  std::string bytes(10000, 'a');
  bytes[4095] = '\x80';
  bytes[4096] = '\xE9';
  std::u16string expected(10000, u'a');
  expected[4095] = u'\u20AC';
  expected[4096] = u'\u00E9';
  EXPECT_EQ(ReadAll(bytes, 1), expected);
}

TEST(TextReader, Utf16IgnoresAnOddFinalByteAndKeepsLoneSurrogates) {
  EXPECT_EQ(ReadAll("\xFF\xFE" "a\0b"s), u"a");
  EXPECT_EQ(ReadAll("\xFE\xFF" "\0a\0"s), u"a");
  EXPECT_EQ(ReadAll("\xFF\xFE" "\x00\xDC\x3D\xD8"s), u"\xDC00\xD83D");
  // Units cut by a slow source and by the buffer end still pair their bytes right.
  std::string le = "\xFF\xFE"s;
  std::u16string expected;
  for (int i = 0; i < 20000; ++i) {
    char16_t unit = char16_t(0x20AC + i);
    le += char(unit & 0xFF);
    le += char(unit >> 8);
    expected += unit;
  }
  EXPECT_EQ(ReadAll(le, 3), expected);
  TrickleStream trickle(std::vector<uint8_t>(le.begin(), le.begin() + 13));
  EXPECT_EQ(ReadAll(*CreateTextReader(trickle)), expected.substr(0, 5));
}

TEST(TextReader, RewindGoesBackToTheFirstCharacterAfterTheMark) {
  for (std::string bytes : {"zz\xEF\xBB\xBF" "abc\xC3\xA9"s, "zz\xFE\xFF\0a\0b"s, "zzabc"s}) {
    TMemoryStream stream = StreamOf(bytes);
    stream.SetPosition(2);
    auto reader = CreateTextReader(stream);
    std::u16string whole = ReadAll(*reader);
    reader->Rewind();
    char16_t first;
    ASSERT_EQ(reader->ReadChars(&first, 1), 1u);
    EXPECT_EQ(first, whole[0]);
    reader->Rewind();
    EXPECT_EQ(ReadAll(*reader), whole);
  }
}

TEST(TextReader, RewindThatDoesNotLandRaisesSeekError) {
  UnseekableStream stream(std::vector<uint8_t>{'a', 'b'});
  auto reader = CreateTextReader(stream);
  EXPECT_EQ(ReadAll(*reader), u"ab");
  stream.FSeekable = false;
  EXPECT_THROW(reader->Rewind(), EStreamSeekError);
}

}  // namespace
}  // namespace kiv
