// Text picture names, style texts and the names texts and fonts are stored under.
#include <gtest/gtest.h>

#include "graphics/text_params.h"

namespace kiv {
namespace {

TTextParams Params(std::vector<std::u16string> lines) {
  TTextParams p;
  p.FontName = u"DejaVu Sans";
  p.Size = 0.03125;
  p.OffsetX = 1.5f;
  p.OffsetY = -2;
  p.Style = kFontBold | kFontStrikeOut;
  p.Align = kAlignRight;
  p.LineSpacing = 12.5;
  p.Red = 255, p.Green = 0, p.Blue = 7, p.Alpha = 128;
  p.Lines = std::move(lines);
  return p;
}

TEST(TextPictureName, IsWrittenWithFixedDecimalsAndReadBack) {
  const TTextParams p = Params({u"Two", u"Lines: \"quoted\" ^ yes", u""});
  const std::u16string name = TextPictureName(p);
  EXPECT_EQ(name,
            u"Text: DejaVu Sans:0.031250:1.500000:-2.000000:Bold,StrikeOut:2:12.50:255:0:7:128:"
            u"\"Two^&Lines: \"quoted\" ^ yes^&\"");
  const std::optional<TTextParams> back = ParseTextPictureName(name);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->FontName, p.FontName);
  EXPECT_EQ(back->Size, p.Size);
  EXPECT_EQ(back->OffsetX, p.OffsetX);
  EXPECT_EQ(back->OffsetY, p.OffsetY);
  EXPECT_EQ(back->Style, p.Style);
  EXPECT_EQ(back->Align, p.Align);
  EXPECT_EQ(back->LineSpacing, p.LineSpacing);
  EXPECT_EQ(back->Colour(), p.Colour());
  EXPECT_EQ(back->Lines, p.Lines);
}

TEST(TextPictureName, OnlyTextNamesParse) {
  EXPECT_FALSE(ParseTextPictureName(u"Button: 1:2"));
  EXPECT_FALSE(ParseTextPictureName(u"text: Arial:1"));
  EXPECT_FALSE(ParseTextPictureName(u"Text:Arial:1"));
}

TEST(TextPictureName, FieldsThatDoNotParseKeepTheirDefaults) {
  const TTextParams defaults;
  // Every number field spoilt: blanks, words, overflow, out of byte range, not finite.
  const std::optional<TTextParams> p =
      ParseTextPictureName(u"Text: Arial:1,5:x:1e99:Bold:3000:nan: 1:256:-1:2.0:\"a\"");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->Size, defaults.Size);
  EXPECT_EQ(p->OffsetX, defaults.OffsetX);
  EXPECT_EQ(p->OffsetY, defaults.OffsetY);
  EXPECT_EQ(p->Align, defaults.Align);
  EXPECT_EQ(p->LineSpacing, defaults.LineSpacing);
  EXPECT_EQ(p->Colour(), defaults.Colour());
  EXPECT_EQ(p->Style, kFontBold);
  EXPECT_EQ(p->Lines, std::vector<std::u16string>{u"a"});

  // Fields missing at the end keep theirs too.
  const std::optional<TTextParams> short_ = ParseTextPictureName(u"Text: Tahoma:2.5");
  ASSERT_TRUE(short_);
  EXPECT_EQ(short_->FontName, u"Tahoma");
  EXPECT_EQ(short_->Size, 2.5);
  EXPECT_EQ(short_->Align, defaults.Align);
  EXPECT_TRUE(short_->Lines.empty());
}

TEST(TextPictureName, OnlyOneEnclosingPairOfQuotesGoes) {
  struct TCase {
    std::u16string_view Field;
    std::vector<std::u16string> Lines;
  };
  const TCase cases[] = {
      {u"\"\"x\"\"", {u"\"x\""}},
      {u"\"half", {u"\"half"}},
      {u"\"", {u"\""}},
      {u"\"\"", {u""}},
      {u"a^&^&b:c", {u"a", u"", u"b:c"}},
  };
  for (const TCase& c : cases) {
    const std::optional<TTextParams> p =
        ParseTextPictureName(u"Text: A:1:0:0::1:0:1:2:3:4:" + std::u16string(c.Field));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Lines, c.Lines) << std::string(c.Field.begin(), c.Field.end());
  }
}

TEST(FontStyleText, ListsTheSetStylesInOneOrder) {
  EXPECT_EQ(FontStyleText(0), u"");
  EXPECT_EQ(FontStyleText(kFontStrikeOut | kFontItalic), u"Italic,StrikeOut");
  EXPECT_EQ(FontStyleText(0xFF), u"Bold,Italic,Underline,StrikeOut");
  for (uint8_t style = 0; style < 16; ++style) EXPECT_EQ(ParseFontStyleText(FontStyleText(style)), style);
}

TEST(FontStyleText, ParsesExactNamesAfterBlanks) {
  struct TCase {
    std::u16string_view Text;
    uint8_t Style;
  };
  const TCase cases[] = {
      {u"Bold, Italic", kFontBold | kFontItalic},
      {u" \t Underline", kFontUnderline},
      {u"bold", 0},
      {u"Bold ", 0},
      {u"Italic,,Bold", kFontBold | kFontItalic},
      {u"Bold,Bold,Bold,Bold,Italic", kFontBold},  // a fifth name is not looked at
      {u"", 0},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(ParseFontStyleText(c.Text), c.Style) << std::string(c.Text.begin(), c.Text.end());
}

TEST(StoredTextNames, TakeFontStyleAndQuotedText) {
  const TTextParams p = Params({u"a:b", u"c"});
  EXPECT_EQ(FontSpecText(p.FontName, p.Style), u"DejaVu Sans:Bold,StrikeOut");
  EXPECT_EQ(StoredVectorTextName(p), u"VectTxt2: DejaVu Sans:Bold,StrikeOut:\"a:b^&c\"");
  EXPECT_EQ(GlyphCacheName(u"Arial:"), u"VectTextCache: Arial:");
}

}  // namespace
}  // namespace kiv
