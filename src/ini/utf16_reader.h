#pragma once
// UTF-16 readers, chosen by the byte-order marks FF FE (little-endian) and FE FF
// (big-endian). Two bytes make one code unit; an odd final byte is ignored.
#include "ini/buffered_text_reader.h"

namespace kiv {

class TUTF16Reader : public TBufferedTextReader {
 public:
  size_t ReadChars(char16_t* buffer, size_t count) override;

 protected:
  TUTF16Reader(TStream& stream, bool bigEndian);

 private:
  bool FBigEndian;
};

class TUnicodeReader : public TUTF16Reader {
 public:
  explicit TUnicodeReader(TStream& stream) : TUTF16Reader(stream, false) {}
  static bool Detect(TStream& stream) { return SkipMark(stream, "\xFF\xFE"); }
};

class TUnicodeBEReader : public TUTF16Reader {
 public:
  explicit TUnicodeBEReader(TStream& stream) : TUTF16Reader(stream, true) {}
  static bool Detect(TStream& stream) { return SkipMark(stream, "\xFE\xFF"); }
};

}  // namespace kiv
