#include "ini/utf16_reader.h"

#include <algorithm>

namespace kiv {

namespace {
constexpr size_t kBufferSize = 32768;
}

TUTF16Reader::TUTF16Reader(TStream& stream, bool bigEndian)
    : TBufferedTextReader(stream, kBufferSize), FBigEndian(bigEndian) {}

size_t TUTF16Reader::ReadChars(char16_t* buffer, size_t count) {
  size_t delivered = 0;
  while (delivered < count && Need(2)) {
    size_t run = std::min(count - delivered, Available() / 2);
    const uint8_t* bytes = Bytes();
    for (size_t i = 0; i < run; ++i, bytes += 2) {
      buffer[delivered++] = FBigEndian ? char16_t(bytes[0] << 8 | bytes[1])
                                       : char16_t(bytes[1] << 8 | bytes[0]);
    }
    Consume(run * 2);
  }
  return delivered;
}

}  // namespace kiv
