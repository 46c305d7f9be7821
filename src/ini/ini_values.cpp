#include "ini/ini_values.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <system_error>

#include "ini/ini_items.h"

namespace kiv {

namespace {

int DigitValue(char16_t c, int base) {
  int d = c >= u'0' && c <= u'9' ? c - u'0'
          : c >= u'a' && c <= u'f' ? c - u'a' + 10
          : c >= u'A' && c <= u'F' ? c - u'A' + 10
                                    : 99;
  return d < base ? d : -1;
}

bool IsDecimalDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

size_t SkipSpaces(std::u16string_view text, size_t i) {
  while (i < text.size() && text[i] == u' ') ++i;
  return i;
}

size_t SkipDigits(std::u16string_view text, size_t i) {
  while (i < text.size() && IsDecimalDigit(text[i])) ++i;
  return i;
}

}  // namespace

bool ParseIniInteger(std::u16string_view text, int32_t& value) {
  size_t i = SkipSpaces(text, 0);
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  int base = 10;
  if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
    base = 16;
    i += 1;
  } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return false;
  const uint64_t limit = base == 16 ? 0xFFFFFFFFu : negative ? 0x80000000u : 0x7FFFFFFFu;
  uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    int digit = DigitValue(text[i], base);
    if (digit < 0) return false;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return false;
  }
  uint32_t bits = uint32_t(magnitude);
  value = int32_t(negative ? 0u - bits : bits);
  return true;
}

bool ParseIniFloat(std::u16string_view text, double& value) {
  size_t i = SkipSpaces(text, 0);
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  const size_t numberStart = i;
  i = SkipDigits(text, i);
  size_t mantissaDigits = i - numberStart;
  if (i < text.size() && text[i] == u'.') {
    size_t fractionStart = ++i;
    i = SkipDigits(text, i);
    mantissaDigits += i - fractionStart;
  }
  if (mantissaDigits == 0) return false;
  if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
    ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    size_t exponentStart = i;
    i = SkipDigits(text, i);
    if (i == exponentStart) return false;
  }
  if (i != text.size()) return false;

  // The grammar above admits ASCII only, so narrowing is exact; from_chars is locale-free.
  std::string ascii(text.begin() + numberStart, text.end());
  double parsed = 0;
  auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), parsed);
  if (error != std::errc() || end != ascii.data() + ascii.size()) return false;
  value = negative ? -parsed : parsed;
  return true;
}

bool ParseIniBool(std::u16string_view text, bool& value) {
  size_t i = !text.empty() && text[0] == u'-' ? 1 : 0;
  const size_t digitsStart = i;
  bool nonZero = false;
  for (; i < text.size() && IsDecimalDigit(text[i]); ++i) nonZero |= text[i] != u'0';
  if (i == digitsStart) return false;
  for (; i < text.size(); ++i)
    if (text[i] >= 32) return false;
  value = nonZero;
  return true;
}

std::vector<std::u16string_view> SplitIniList(std::u16string_view text) {
  std::vector<std::u16string_view> items;
  size_t position = 0;
  // The end of the text ends the last item as a comma would.
  while (position <= text.size()) {
    while (position < text.size() && IsIniBlank(text[position])) ++position;
    size_t comma = std::min(text.find(u',', position), text.size());
    items.push_back(text.substr(position, comma - position));
    position = comma + 1;
  }
  return items;
}

}  // namespace kiv
