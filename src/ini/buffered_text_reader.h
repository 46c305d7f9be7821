#pragma once
// The common part of the text readers: a byte buffer over the stream, refilled on
// demand, and the way back to the first character after the byte-order mark.
#include <cstdint>
#include <string_view>
#include <vector>

#include "ini/text_reader.h"

namespace kiv {

class TBufferedTextReader : public TTextReader {
 public:
  void Rewind() override;

 protected:
  // The text starts at the stream's current position.
  TBufferedTextReader(TStream& stream, size_t bufferSize);

  // True, with the mark consumed, when the stream holds mark at its position.
  static bool SkipMark(TStream& stream, std::string_view mark);

  // Makes at least count bytes available, keeping the unconsumed ones; false when
  // the stream ends first.
  bool Need(size_t count);
  const uint8_t* Bytes() const { return FBuffer.data() + FBufferPos; }
  size_t Available() const { return FBufferEnd - FBufferPos; }
  void Consume(size_t count) { FBufferPos += count; }

 private:
  TStream& FStream;
  int64_t FTextStart;
  std::vector<uint8_t> FBuffer;
  size_t FBufferPos = 0;
  size_t FBufferEnd = 0;
};

}  // namespace kiv
