#include "model/text_keys.h"

#include <array>

#include "base/text.h"

namespace kiv {

namespace {

constexpr std::array<std::u16string_view, 3> kAlignNames{u"Left", u"Center", u"Right"};

}  // namespace

std::vector<std::u16string> DecodeTextLines(std::u16string_view value) {
  if (value.size() > 1) {
    if (value.front() == u'"') value.remove_prefix(1);
    if (!value.empty() && value.back() == u'"') value.remove_suffix(1);
  }
  if (value.empty()) value = u" ";
  std::vector<std::u16string> lines(1);
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == u'^' && i + 1 < value.size()) {
      ++i;
      if (value[i] == u'&') {
        lines.emplace_back();
        continue;
      }
      lines.back() += u'^';
    }
    lines.back() += value[i];
  }
  return lines;
}

TTextKeys ReadTextKeys(const TIniIdentList& section, std::u16string_view kindWord) {
  TTextKeys keys;
  keys.Caption = LowerCase(kindWord) == u"textcomment";
  const std::u16string text = section.ReadString(u"Text", u"Text");
  keys.Empty = text.empty();
  keys.Lines = DecodeTextLines(text);
  keys.TextColor = section.ReadColor(u"TextColor", keys.TextColor);
  keys.TextColorHover = section.ReadColor(u"TextColorHover", keys.TextColor);
  keys.TextColorClick = section.ReadColor(u"TextColorClick", keys.TextColor);
  keys.FontName = section.ReadString(u"FontName", keys.FontName);
  keys.FontStyle = ParseFontStyleText(section.ReadString(u"FontStyle", u""));
  keys.Align = TTextAlign(section.ReadEnum(u"TextAlign", kAlignNames, int(keys.Align)));
  keys.LineSpacing = section.ReadInteger(u"LineSpacing", keys.LineSpacing);
  keys.Rasterize = section.ReadBool(u"Rasterize", keys.Rasterize);
  keys.RasterizedGUID = section.ReadString(u"RasterizedGUID", u"");
  keys.BlackBoxSize = section.ReadPoint(u"BlackBoxSize", keys.BlackBoxSize);
  keys.ShiftX = section.ReadFloat(u"ShiftX", keys.ShiftX);
  keys.ShiftY = section.ReadFloat(u"ShiftY", keys.ShiftY);
  keys.Image = ReadImageKeys(section, kindWord);
  keys.Image.Antialiased = false;
  return keys;
}

}  // namespace kiv
