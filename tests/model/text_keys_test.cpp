#include "model/text_keys.h"

#include <gtest/gtest.h>

#include "model/kind_keys_test_support.h"

namespace kiv {
namespace {

using TLines = std::vector<std::u16string>;

TEST(TextKeys, DefaultsWhenTheSectionSaysNothing) {
  const TParsedObject parsed = ParseObject("text");
  const TTextKeys keys = ReadTextKeys(*parsed.Object, parsed.Object->GetValue());
  EXPECT_FALSE(keys.Caption);
  EXPECT_EQ(keys.Lines, TLines{u"Text"});
  EXPECT_FALSE(keys.Empty);
  EXPECT_EQ(keys.TextColor, MakeColor(255, 255, 255));
  EXPECT_EQ(keys.TextColorHover, keys.TextColor);
  EXPECT_EQ(keys.TextColorClick, keys.TextColor);
  EXPECT_EQ(keys.FontName, u"Arial");
  EXPECT_EQ(keys.FontStyle, 0);
  EXPECT_EQ(keys.Align, TTextAlign::Center);
  EXPECT_EQ(keys.LineSpacing, 0);
  EXPECT_FALSE(keys.Rasterize);
  EXPECT_EQ(keys.RasterizedGUID, u"");
  EXPECT_EQ(keys.BlackBoxSize, (TIniPoint{0, 0}));
  EXPECT_EQ(keys.ShiftX, 0);
  EXPECT_EQ(keys.ShiftY, 0);
  EXPECT_FALSE(keys.Image.Antialiased);  // texts are never smoothed
}

TEST(TextKeys, EveryKeyIsRead) {
  const TParsedObject parsed =
      ParseObject("TextComment",
                  "Text=\"Hello^&World\"\nTextColor=255,0,0\nTextColorClick=0,0,255\nFontName=Times New Roman\n"
                  "FontStyle=Bold,Italic\nTextAlign=right\nLineSpacing=4\nRasterize=1\nRasterizedGUID={A-B}\n"
                  "BlackBoxSize=320,48\nShiftX=1.5\nShiftY=-2\nAntialiased=1\nImageName=ignored.png\n");
  const TTextKeys keys = ReadTextKeys(*parsed.Object, parsed.Object->GetValue());
  EXPECT_TRUE(keys.Caption);
  EXPECT_EQ(keys.Lines, (TLines{u"Hello", u"World"}));
  EXPECT_EQ(keys.TextColor, MakeColor(255, 0, 0));
  EXPECT_EQ(keys.TextColorHover, MakeColor(255, 0, 0));  // follows the text colour
  EXPECT_EQ(keys.TextColorClick, MakeColor(0, 0, 255));
  EXPECT_EQ(keys.FontName, u"Times New Roman");
  EXPECT_EQ(keys.FontStyle, kFontBold | kFontItalic);
  EXPECT_EQ(keys.Align, TTextAlign::Right);  // any case
  EXPECT_EQ(keys.LineSpacing, 4);
  EXPECT_TRUE(keys.Rasterize);
  EXPECT_EQ(keys.RasterizedGUID, u"{A-B}");
  EXPECT_EQ(keys.BlackBoxSize, (TIniPoint{320, 48}));
  EXPECT_DOUBLE_EQ(keys.ShiftX, 1.5);
  EXPECT_DOUBLE_EQ(keys.ShiftY, -2);
  EXPECT_FALSE(keys.Image.Antialiased);  // forced off whatever the section says
  EXPECT_FALSE(keys.Image.MainImage);
  EXPECT_EQ(keys.Image.ImageName, u"ignored.png");
}

TEST(TextKeys, StyleNamesAreExactAndAlignmentIgnoresCase) {
  for (const auto& [style, bits] : {std::pair{"Bold,Italic", 3}, std::pair{"bold", 0}})
    EXPECT_EQ(ReadTextKeys(*ParseObject("text", std::string("FontStyle=") + style + "\n").Object, u"text").FontStyle,
              bits)
        << style;

  const TParsedObject centred = ParseObject("text", "TextAlign=LEFT\n");
  EXPECT_EQ(ReadTextKeys(*centred.Object, u"text").Align, TTextAlign::Left);
  const TParsedObject unknown = ParseObject("text", "TextAlign=justify\n");
  EXPECT_EQ(ReadTextKeys(*unknown.Object, u"text").Align, TTextAlign::Center);
}

TEST(TextKeys, TextValuesDecodeIntoLines) {
  EXPECT_EQ(DecodeTextLines(u"\"one^&two\""), (TLines{u"one", u"two"}));
  EXPECT_EQ(DecodeTextLines(u"plain"), TLines{u"plain"});
  EXPECT_EQ(DecodeTextLines(u"a^b^^&c^"), TLines{u"a^b^^&c^"});  // "^" keeps the character after it
  EXPECT_EQ(DecodeTextLines(u"^&"), (TLines{u"", u""}));
  EXPECT_EQ(DecodeTextLines(u"\"\""), TLines{u" "});
  EXPECT_EQ(DecodeTextLines(u"\""), TLines{u"\""});  // one character keeps its quote
  EXPECT_EQ(DecodeTextLines(u"say \"hi\""), TLines{u"say \"hi"});
  EXPECT_EQ(DecodeTextLines(u""), TLines{u" "});

  const TParsedObject empty = ParseObject("text", "Text=\n");
  const TTextKeys keys = ReadTextKeys(*empty.Object, u"text");
  EXPECT_TRUE(keys.Empty);
  EXPECT_EQ(keys.Lines, TLines{u" "});
}

}  // namespace
}  // namespace kiv
