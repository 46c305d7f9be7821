#include <gtest/gtest.h>

#include <vector>

#include "base/text.h"
#include "ini/text_parser.h"
#include "text_test_support.h"

namespace kiv {
namespace {

using namespace std::string_literals;

struct Line {
  std::u16string text;
  TLineEnd end;
  bool operator==(const Line&) const = default;
};

std::vector<Line> SplitLines(const std::string& bytes) {
  TMemoryStream stream = StreamOf(bytes);
  TTextParser parser(CreateTextReader(stream));
  EXPECT_EQ(parser.LineNo(), -1);
  std::vector<Line> lines;
  while (parser.ReadLine()) {
    EXPECT_EQ(parser.LineNo(), int(lines.size()));
    lines.push_back({parser.Line(), parser.LastLineEnd()});
  }
  EXPECT_TRUE(parser.Line().empty());
  EXPECT_FALSE(parser.ReadLine());
  EXPECT_EQ(parser.LineNo(), int(lines.size()) - 1);
  return lines;
}

TEST(TextParser, EachKindOfLineEndEndsOneLine) {
  EXPECT_EQ(SplitLines("a\r\nb\n\rc\rd\ne"),
            (std::vector<Line>{{u"a", TLineEnd::CRLF}, {u"b", TLineEnd::LFCR}, {u"c", TLineEnd::CR},
                               {u"d", TLineEnd::LF}, {u"e", TLineEnd::None}}));
  EXPECT_EQ(SplitLines("a\r\rb\n\n"),
            (std::vector<Line>{{u"a", TLineEnd::CR}, {u"", TLineEnd::CR}, {u"b", TLineEnd::LF},
                               {u"", TLineEnd::LF}}));
  EXPECT_EQ(SplitLines("\r\n\n\r\r\n"),
            (std::vector<Line>{{u"", TLineEnd::CRLF}, {u"", TLineEnd::LFCR}, {u"", TLineEnd::CRLF}}));
}

TEST(TextParser, TheEndOfTextAddsNoLine) {
  EXPECT_TRUE(SplitLines("").empty());
  EXPECT_TRUE(SplitLines("\xEF\xBB\xBF").empty());
  EXPECT_EQ(SplitLines("x\r\n"), (std::vector<Line>{{u"x", TLineEnd::CRLF}}));
  EXPECT_EQ(SplitLines("\xFF\xFE" "x\0\r\0"s), (std::vector<Line>{{u"x", TLineEnd::CR}}));
}

// Lines longer than the 4096-unit buffer, and a CR LF pair cut by a refill.
TEST(TextParser, LinesAndLineEndsSpanBufferRefills) {
  std::string text = std::string(4095, 'a') + "\r\n" + std::string(9000, 'b') + "\n\r" + "c";
  EXPECT_EQ(SplitLines(text), (std::vector<Line>{{std::u16string(4095, u'a'), TLineEnd::CRLF},
                                                 {std::u16string(9000, u'b'), TLineEnd::LFCR},
                                                 {u"c", TLineEnd::None}}));
  EXPECT_EQ(SplitLines(std::string(4095, 'a') + "\n"),
            (std::vector<Line>{{std::u16string(4095, u'a'), TLineEnd::LF}}));
  EXPECT_EQ(SplitLines(std::string(4096, 'a') + "\r"),
            (std::vector<Line>{{std::u16string(4096, u'a'), TLineEnd::CR}}));
}

TEST(TextParser, SplitsALongUtf8TextWithPairsAcrossEveryBuffer) {
  std::vector<std::string> lines;
  std::string text = "\xEF\xBB\xBF";
  for (int i = 0; i < 3000; ++i) {
    lines.push_back("k" + std::to_string(i) + "=\xC3\xA9\xF0\x9F\x98\x80\xE2\x82\xAC");
    text += lines.back() + "\r\n";
  }
  std::vector<Line> split = SplitLines(text);
  ASSERT_EQ(split.size(), lines.size());
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(split[i].text, Utf8ToUtf16(lines[i]));
}

}  // namespace
}  // namespace kiv
