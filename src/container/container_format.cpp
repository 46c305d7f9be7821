#include "container/container_format.h"

#include <algorithm>
#include <limits>

#include "base/text.h"

namespace kiv {

namespace {

std::u16string Replaced(std::u16string_view text, char16_t a, char16_t withA, char16_t b, char16_t withB) {
  std::u16string out(text);
  for (char16_t& unit : out) {
    if (unit == a)
      unit = withA;
    else if (unit == b)
      unit = withB;
  }
  return out;
}

}  // namespace

std::u16string EntrySectionName(std::u16string_view entryName) { return Replaced(entryName, u'[', u'<', u']', u'>'); }

std::u16string EntryNameOfSection(std::u16string_view sectionName) {
  return Replaced(sectionName, u'<', u'[', u'>', u']');
}

std::optional<int64_t> ParseInt64(std::u16string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  if (i == text.size()) return std::nullopt;
  uint64_t value = 0;
  const uint64_t limit = uint64_t(std::numeric_limits<int64_t>::max()) + (negative ? 1 : 0);
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
    uint64_t digit = text[i] - u'0';
    if (value > (limit - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return negative ? int64_t(0 - value) : int64_t(value);
}

void PutInt64(uint8_t* bytes, int64_t value) {
  for (int i = 0; i < 8; ++i) bytes[i] = uint8_t(uint64_t(value) >> (8 * i));
}

int64_t GetInt64(const uint8_t* bytes) {
  uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = (value << 8) | bytes[i];
  return int64_t(value);
}

std::vector<uint8_t> ExeGuidBytes(std::u16string_view guid) {
  std::vector<uint8_t> bytes;
  const uint32_t count = uint32_t(guid.size());
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(uint8_t(count >> shift));
  for (char16_t unit : guid) {
    bytes.push_back(uint8_t(unit));
    bytes.push_back(uint8_t(unit >> 8));
  }
  return bytes;
}

std::u16string ReadExeGuid(std::span<const uint8_t> bytes) {
  if (bytes.size() >= 4) {
    const uint32_t count = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    if (count <= kMaxExeGuidUnits && 4 + size_t(count) * 2 == bytes.size()) {
      std::u16string guid;
      for (size_t i = 0; i < count; ++i) guid += char16_t(bytes[4 + 2 * i] | bytes[5 + 2 * i] << 8);
      return guid;
    }
  }
  const std::span<const uint8_t> text = bytes.first(std::min(bytes.size(), kMaxExeGuidUnits));
  return Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
}

}  // namespace kiv
