#pragma once
// The UTF-8 reader, chosen by the mark EF BB BF. Overlong forms are accepted;
// anything that cannot become UTF-16 raises EInvalidChar: a byte that cannot lead,
// a bad continuation byte, the 5- and 6-byte forms, values above U+10FFFF and a
// sequence cut by the end of the stream.
#include "ini/buffered_text_reader.h"

namespace kiv {

class TUTF8Reader : public TBufferedTextReader {
 public:
  explicit TUTF8Reader(TStream& stream);
  static bool Detect(TStream& stream) { return SkipMark(stream, "\xEF\xBB\xBF"); }

  size_t ReadChars(char16_t* buffer, size_t count) override;
};

}  // namespace kiv
