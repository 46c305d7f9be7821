#include "platform/font_text.h"

#include <cstdint>

namespace kiv {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out += char16_t(c);
  } else {
    c -= 0x10000;
    out += char16_t(0xD800 + (c >> 10));
    out += char16_t(0xDC00 + (c & 0x3FF));
  }
}

}  // namespace

std::vector<char32_t> FontCodePoints(std::u16string_view text) {
  std::vector<char32_t> points;
  points.reserve(text.size());
  for (size_t n = 0; n < text.size(); ++n) {
    const char16_t unit = text[n];
    if (unit >= 0xD800 && unit < 0xDC00 && n + 1 < text.size() && text[n + 1] >= 0xDC00 &&
        text[n + 1] < 0xE000) {
      points.push_back(0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[n + 1]) - 0xDC00));
      ++n;
    } else if (unit >= 0xD800 && unit < 0xE000) {
      points.push_back(kReplacement);
    } else {
      points.push_back(unit);
    }
  }
  return points;
}

std::string FontUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : FontCodePoints(text)) AppendUtf8(out, c);
  return out;
}

std::u16string FontUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t n = 0;
  while (n < text.size()) {
    const auto lead = uint8_t(text[n]);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    bool valid = length > 0 && n + size_t(length) <= text.size();
    for (int k = 1; valid && k < length; ++k) {
      const auto next = uint8_t(text[n + size_t(k)]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are malformed too.
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (valid && (c < kLeast[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))) valid = false;
    if (!valid) {
      AppendUtf16(out, kReplacement);
      ++n;
      continue;
    }
    AppendUtf16(out, c);
    n += size_t(length);
  }
  return out;
}

}  // namespace kiv
