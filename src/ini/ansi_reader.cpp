#include "ini/ansi_reader.h"

#include <algorithm>
#include <array>

namespace kiv {

namespace {

constexpr size_t kBufferSize = 4096;

// Code page 1252 differs from Latin-1 only in 0x80..0x9F; the five bytes it leaves
// undefined become 0.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr std::array<char16_t, 256> kCodePage1252 = [] {
  std::array<char16_t, 256> table{};
  for (size_t b = 0; b < table.size(); ++b) table[b] = char16_t(b);
  for (size_t i = 0; i < kHighControls.size(); ++i) table[0x80 + i] = kHighControls[i];
  return table;
}();

}  // namespace

TAnsiReader::TAnsiReader(TStream& stream) : TBufferedTextReader(stream, kBufferSize) {}

size_t TAnsiReader::ReadChars(char16_t* buffer, size_t count) {
  size_t delivered = 0;
  while (delivered < count && Need(1)) {
    size_t run = std::min(count - delivered, Available());
    const uint8_t* bytes = Bytes();
    for (size_t i = 0; i < run; ++i) buffer[delivered++] = kCodePage1252[bytes[i]];
    Consume(run);
  }
  return delivered;
}

}  // namespace kiv
