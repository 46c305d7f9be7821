#include "base/text.h"

namespace kiv {

namespace {

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

void AppendUtf8(std::string& out, uint32_t v) {
  if (v < 0x80) {
    out += char(v);
  } else if (v < 0x800) {
    out += char(0xC0 | (v >> 6));
    out += char(0x80 | (v & 0x3F));
  } else if (v < 0x10000) {
    out += char(0xE0 | (v >> 12));
    out += char(0x80 | ((v >> 6) & 0x3F));
    out += char(0x80 | (v & 0x3F));
  } else {
    out += char(0xF0 | (v >> 18));
    out += char(0x80 | ((v >> 12) & 0x3F));
    out += char(0x80 | ((v >> 6) & 0x3F));
    out += char(0x80 | (v & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, uint32_t v) {
  if (v < 0x10000) {
    out += char16_t(v);
  } else {
    v -= 0x10000;
    out += char16_t(0xD800 + (v >> 10));
    out += char16_t(0xDC00 + (v & 0x3FF));
  }
}

// Length of the UTF-8 sequence that starts with lead byte b, 0 when b cannot lead.
// Strict (C0, C1 and F5 … FF never lead), and on purpose not the table of the project
// text reader in ini/utf8_reader.cpp: text from the operating system is never refused,
// so a byte that does not decode, an overlong form included, becomes U+FFFD, while a
// project file is read as written (overlong forms accepted) or not at all.
int SequenceLength(uint8_t b) {
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF4) return 4;
  return 0;
}

// The code point of the sequence at text[i] into v and its length in bytes; 0 when the
// bytes there do not decode (a bad lead or follower, a cut or overlong sequence).
int DecodeUtf8(std::string_view text, size_t i, uint32_t& v) {
  const uint8_t b = uint8_t(text[i]);
  const int len = SequenceLength(b);
  if (len == 0 || i + len > text.size()) return 0;
  v = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
  for (int k = 1; k < len; ++k) {
    const uint8_t c = uint8_t(text[i + k]);
    if ((c & 0xC0) != 0x80) return 0;
    v = (v << 6) | (c & 0x3F);
  }
  static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  return v < kSmallest[len] || v > 0x10FFFF ? 0 : len;
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t u = text[i];
    if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      AppendUtf8(out, 0x10000 + ((uint32_t(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    uint32_t v = 0;
    const int len = DecodeUtf8(text, i, v);
    if (len == 0) {
      out += u'\xFFFD';
      ++i;
      continue;
    }
    AppendUtf16(out, v);
    i += len;
  }
  return out;
}

bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    uint32_t v = 0;
    const int len = DecodeUtf8(text, i, v);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

char16_t LowerCaseUnit(char16_t u) {
  if (u < 0x80) return (u >= 'A' && u <= 'Z') ? char16_t(u + 32) : u;
  if ((u >= 0xC0 && u <= 0xDE && u != 0xD7) ||             // Latin-1
      (u >= 0x391 && u <= 0x3AB && u != 0x3A2) ||          // Greek
      (u >= 0x410 && u <= 0x42F) || (u >= 0xFF21 && u <= 0xFF3A))  // Cyrillic, full width
    return char16_t(u + 32);
  if (u >= 0x400 && u <= 0x40F) return char16_t(u + 80);   // Cyrillic with marks
  if (u >= 0x531 && u <= 0x556) return char16_t(u + 48);   // Armenian
  if (u == 0x130) return u'i';
  if (u == 0x178) return 0xFF;
  if (u == 0x386) return 0x3AC;
  if (u >= 0x388 && u <= 0x38A) return char16_t(u + 37);
  if (u == 0x38C) return 0x3CC;
  if (u == 0x38E || u == 0x38F) return char16_t(u + 63);
  // Latin Extended-A and the Cyrillic supplements pair capital and small letters
  // as neighbours; the capital is the even unit except in two runs of Latin.
  bool oddCapitals = (u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E);
  bool pairedRun = (u >= 0x100 && u <= 0x17F && u != 0x138 && u != 0x149 && u != 0x17F) ||
                   (u >= 0x460 && u <= 0x481) || (u >= 0x48A && u <= 0x4BF) ||
                   (u >= 0x1E00 && u <= 0x1EFF);
  if (pairedRun && ((u & 1) == (oddCapitals ? 1 : 0))) return char16_t(u + 1);
  return u;
}

std::u16string LowerCase(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& u : out) u = LowerCaseUnit(u);
  return out;
}

bool SameTextIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && LowerCaseUnit(a[i]) != LowerCaseUnit(b[i])) return false;
  return true;
}

std::u16string IntToText(int64_t value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace kiv
