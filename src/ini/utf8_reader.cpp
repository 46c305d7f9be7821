#include "ini/utf8_reader.h"

#include <algorithm>

namespace kiv {

namespace {

constexpr size_t kBufferSize = 32768;

// Length of the sequence that lead byte b opens; 0 when b cannot lead one that
// fits in UTF-16. Deliberately not Utf8ToUtf16's table (base/text.cpp): a project file
// is read as written, so overlong forms (C0 80 for U+0000) give their value, and a byte
// that does not decode fails the whole read with EInvalidChar instead of becoming
// U+FFFD, so a damaged project is not loaded half-replaced. Values are checked against
// U+10FFFF after decoding, which is why F5 … F7 may lead here.
size_t SequenceLength(uint8_t b) {
  if (b < 0x80) return 1;
  if (b >= 0xC0 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF7) return 4;
  return 0;
}

}  // namespace

TUTF8Reader::TUTF8Reader(TStream& stream) : TBufferedTextReader(stream, kBufferSize) {}

size_t TUTF8Reader::ReadChars(char16_t* buffer, size_t count) {
  size_t delivered = 0;
  while (delivered < count && Need(1)) {
    // Runs of plain ASCII, the bulk of any project text, go straight through.
    const uint8_t* bytes = Bytes();
    size_t run = std::min(count - delivered, Available());
    size_t ascii = 0;
    while (ascii < run && bytes[ascii] < 0x80) buffer[delivered++] = bytes[ascii++];
    Consume(ascii);
    if (ascii == run) continue;

    size_t length = SequenceLength(bytes[ascii]);
    if (length == 0) throw EInvalidChar();
    if (!Need(length)) throw EInvalidChar();
    bytes = Bytes();
    uint32_t value = bytes[0] & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
      if ((bytes[k] & 0xC0) != 0x80) throw EInvalidChar();
      value = value << 6 | (bytes[k] & 0x3F);
    }
    if (value < 0x10000) {
      buffer[delivered++] = char16_t(value);
    } else {
      if (value > 0x10FFFF) throw EInvalidChar();
      if (count - delivered < 2) break;  // the pair goes whole into the next delivery
      value -= 0x10000;
      buffer[delivered++] = char16_t(0xD800 + (value >> 10));
      buffer[delivered++] = char16_t(0xDC00 + (value & 0x3FF));
    }
    Consume(length);
  }
  return delivered;
}

}  // namespace kiv
