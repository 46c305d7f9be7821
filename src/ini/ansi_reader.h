#pragma once
// The reader for text without a byte-order mark: one byte is one character of the
// Windows code page 1252.
#include "ini/buffered_text_reader.h"

namespace kiv {

class TAnsiReader : public TBufferedTextReader {
 public:
  explicit TAnsiReader(TStream& stream);
  // Accepts every stream and consumes nothing.
  static bool Detect(TStream&) { return true; }

  size_t ReadChars(char16_t* buffer, size_t count) override;
};

}  // namespace kiv
