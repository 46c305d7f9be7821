#pragma once
// How show data writes numbers, truth values and lists in INI values. The rules never
// depend on the locale: the decimal point is always ".".
#include <cstdint>
#include <string_view>
#include <vector>

namespace kiv {

struct TIniPoint {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const TIniPoint&) const = default;
};

struct TIniPointF {
  float X = 0;
  float Y = 0;
  bool operator==(const TIniPointF&) const = default;
};

// A colour: alpha in the top byte, then red, green, blue.
constexpr uint32_t MakeColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 0xFF) {
  return uint32_t(alpha) << 24 | uint32_t(red) << 16 | uint32_t(green) << 8 | blue;
}

// Optional leading spaces, an optional "+" or "-", then decimal digits, or hexadecimal
// digits after "$", "x", "X", "0x" or "0X"; nothing may follow. Decimal values must fit
// in 32 signed bits; hexadecimal ones may use all 32 bits ("$FFFFFFFF" is -1), as
// colours are often written that way.
bool ParseIniInteger(std::u16string_view text, int32_t& value);

// Optional leading spaces, an optional sign, digits with "." as the decimal point
// (digits on at least one side of it), an optional exponent "e"/"E" with optional sign
// and digits; nothing may follow. Values out of the double range are not accepted.
bool ParseIniFloat(std::u16string_view text, double& value);

// Decimal digits with an optional "-" directly before them; only control characters may
// follow. True when any digit is not zero.
bool ParseIniBool(std::u16string_view text, bool& value);

// Comma-separated items, each without the blanks before it (blanks after it stay).
// An empty text is one empty item; a trailing comma adds an empty item.
std::vector<std::u16string_view> SplitIniList(std::u16string_view text);

}  // namespace kiv
