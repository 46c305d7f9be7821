#include "graphics/text_params.h"

#include <array>
#include <charconv>
#include <cmath>

#include "base/text.h"

namespace kiv {

namespace {

constexpr std::u16string_view kTextPrefix = u"Text: ";
constexpr std::u16string_view kLineBreak = u"^&";
constexpr size_t kFieldCount = 12;

struct TStyleName {
  std::u16string_view Name;
  uint8_t Bit;
};
constexpr std::array<TStyleName, 4> kStyleNames{{
    {u"Bold", kFontBold},
    {u"Italic", kFontItalic},
    {u"Underline", kFontUnderline},
    {u"StrikeOut", kFontStrikeOut},
}};

// Longer than any number TextPictureName prints (a double in fixed notation).
constexpr size_t kLongestNumber = 400;

// A field as ASCII for std::from_chars; empty when it holds anything else.
std::string AsciiField(std::u16string_view field) {
  std::string ascii;
  if (field.size() > kLongestNumber) return ascii;
  for (char16_t unit : field) {
    if (unit >= 0x80) return {};
    ascii += char(unit);
  }
  return ascii;
}

template <typename T>
void ParseNumber(std::u16string_view field, T& value) {
  const std::string ascii = AsciiField(field);
  if (ascii.empty()) return;
  T parsed{};
  const std::from_chars_result result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), parsed);
  if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size()) return;
  if constexpr (std::is_floating_point_v<T>)
    if (!std::isfinite(parsed)) return;
  value = parsed;
}

void ParseByte(std::u16string_view field, uint8_t& value) {
  int parsed = -1;
  ParseNumber(field, parsed);
  if (parsed >= 0 && parsed <= 255) value = uint8_t(parsed);
}

std::u16string FixedText(double value, int decimals) {
  if (!std::isfinite(value)) value = 0;
  char digits[kLongestNumber];
  const std::to_chars_result written =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
  return std::u16string(digits, written.ptr);
}

std::u16string QuotedText(const std::vector<std::u16string>& lines) {
  std::u16string text = u"\"";
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += kLineBreak;
    text += lines[i];
  }
  return text + u"\"";
}

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"') text = text.substr(1, text.size() - 2);
  std::vector<std::u16string> lines;
  for (;;) {
    const size_t end = text.find(kLineBreak);
    lines.emplace_back(text.substr(0, end));
    if (end == std::u16string_view::npos) return lines;
    text.remove_prefix(end + kLineBreak.size());
  }
}

}  // namespace

std::optional<TTextParams> ParseTextPictureName(std::u16string_view name) {
  if (!name.starts_with(kTextPrefix)) return std::nullopt;
  name.remove_prefix(kTextPrefix.size());
  std::array<std::optional<std::u16string_view>, kFieldCount> fields;
  for (size_t i = 0; i < kFieldCount; ++i) {
    const size_t end = i + 1 < kFieldCount ? name.find(u':') : std::u16string_view::npos;
    fields[i] = name.substr(0, end);
    if (end == std::u16string_view::npos) break;
    name.remove_prefix(end + 1);
  }

  TTextParams params;
  if (fields[0]) params.FontName = *fields[0];
  if (fields[1]) ParseNumber(*fields[1], params.Size);
  if (fields[2]) ParseNumber(*fields[2], params.OffsetX);
  if (fields[3]) ParseNumber(*fields[3], params.OffsetY);
  if (fields[4]) params.Style = ParseFontStyleText(*fields[4]);
  if (fields[5]) ParseByte(*fields[5], params.Align);
  if (fields[6]) ParseNumber(*fields[6], params.LineSpacing);
  uint8_t* colour[] = {&params.Red, &params.Green, &params.Blue, &params.Alpha};
  for (size_t i = 0; i < 4; ++i)
    if (fields[7 + i]) ParseByte(*fields[7 + i], *colour[i]);
  if (fields[11]) params.Lines = SplitLines(*fields[11]);
  return params;
}

std::u16string TextPictureName(const TTextParams& p) {
  return std::u16string(kTextPrefix) + p.FontName + u":" + FixedText(p.Size, 6) + u":" + FixedText(p.OffsetX, 6) +
         u":" + FixedText(p.OffsetY, 6) + u":" + FontStyleText(p.Style) + u":" + IntToText(p.Align) + u":" +
         FixedText(p.LineSpacing, 2) + u":" + IntToText(p.Red) + u":" + IntToText(p.Green) + u":" +
         IntToText(p.Blue) + u":" + IntToText(p.Alpha) + u":" + QuotedText(p.Lines);
}

std::u16string FontStyleText(uint8_t style) {
  std::u16string text;
  for (const TStyleName& name : kStyleNames) {
    if (!(style & name.Bit)) continue;
    if (!text.empty()) text += u',';
    text += name.Name;
  }
  return text;
}

uint8_t ParseFontStyleText(std::u16string_view text) {
  uint8_t style = 0;
  for (size_t field = 0; field < kStyleNames.size(); ++field) {
    const size_t end = text.find(u',');
    std::u16string_view item = text.substr(0, end);
    while (!item.empty() && (item.front() == u' ' || item.front() == u'\t')) item.remove_prefix(1);
    for (const TStyleName& name : kStyleNames)
      if (item == name.Name) style |= name.Bit;
    if (end == std::u16string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return style;
}

std::u16string FontSpecText(std::u16string_view fontName, uint8_t style) {
  return std::u16string(fontName) + u":" + FontStyleText(style);
}

std::u16string StoredVectorTextName(const TTextParams& params) {
  return u"VectTxt2: " + FontSpecText(params.FontName, params.Style) + u":" + QuotedText(params.Lines);
}

std::u16string GlyphCacheName(std::u16string_view fontSpec) { return u"VectTextCache: " + std::u16string(fontSpec); }

}  // namespace kiv
