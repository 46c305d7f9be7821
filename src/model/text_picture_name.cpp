#include "model/text_picture_name.h"

#include <charconv>
#include <cmath>

#include "base/text.h"

namespace kiv {

namespace {

// A fixed-point number, with "." whatever the locale.
std::u16string FixedText(double value, int decimals) {
  if (!std::isfinite(value)) value = 0;
  char digits[400];
  const std::to_chars_result written =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
  return std::u16string(digits, written.ptr);
}

std::u16string ColourBytes(uint32_t colour) {
  return IntToText((colour >> 16) & 0xFF) + u":" + IntToText((colour >> 8) & 0xFF) + u":" + IntToText(colour & 0xFF) +
         u":" + IntToText(colour >> 24);
}

}  // namespace

std::u16string TextPictureName(const TTextKeys& keys, double size) {
  std::u16string text;
  for (size_t i = 0; i < keys.Lines.size(); ++i) {
    if (i > 0) text += u"^&";
    text += keys.Lines[i];
  }
  return u"Text: " + keys.FontName + u":" + FixedText(size, 6) + u":" + FixedText(keys.ShiftX, 6) + u":" +
         FixedText(keys.ShiftY, 6) + u":" + FontStyleText(keys.FontStyle) + u":" + IntToText(int(keys.Align)) + u":" +
         FixedText(keys.LineSpacing, 2) + u":" + ColourBytes(keys.TextColor) + u":\"" + text + u"\"";
}

}  // namespace kiv
