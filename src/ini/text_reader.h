#pragma once
// Text readers: detect the encoding of a byte stream at its current position
// (UTF-16 LE/BE or UTF-8 by their byte-order marks, else the ANSI code page cp1252)
// and deliver UTF-16 code units.
#include <cstddef>
#include <memory>

#include "base/errors.h"
#include "base/stream.h"

namespace kiv {

class EInvalidChar : public EKivError {
 public:
  EInvalidChar() : EKivError("Invalid character in text") {}
};

// Raised when going back to the start of the text does not land there.
class EStreamSeekError : public EStreamError {
 public:
  EStreamSeekError() : EStreamError("Stream seek error") {}
};

class TTextReader {
 public:
  virtual ~TTextReader() = default;
  // Delivers up to count UTF-16 units into buffer and returns how many; with count >= 2,
  // 0 only at the end of the text. A surrogate pair decoded from UTF-8 is never split
  // across two deliveries, so with count 1 it waits (0 delivered) for a larger call.
  // Raises EInvalidChar on bytes that do not decode.
  virtual size_t ReadChars(char16_t* buffer, size_t count) = 0;
  // Goes back to the first character after the byte-order mark.
  virtual void Rewind() = 0;
};

// Asks the registered readers in order (UTF-16 LE, UTF-16 BE, UTF-8, ANSI); the first
// that accepts reads on from just past the mark it consumed. The stream is not owned
// and must outlive the reader.
std::unique_ptr<TTextReader> CreateTextReader(TStream& stream);

}  // namespace kiv
