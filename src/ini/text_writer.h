#pragma once
// Text writers over a stream, buffered in 32767 bytes. The UTF-8 writer writes the
// mark EF BB BF when created; the UTF-16 writer writes FF FE. A short write raises
// EStreamWriteError.
#include <string>
#include <string_view>
#include <vector>

#include "base/stream.h"

namespace kiv {

enum class TLineEnd { None, LF, CR, LFCR, CRLF };

class TTextWriter {
 public:
  explicit TTextWriter(TStream& stream);
  // Flushes what is left; failures there are swallowed, so call Flush to see them.
  virtual ~TTextWriter();
  TTextWriter(const TTextWriter&) = delete;
  TTextWriter& operator=(const TTextWriter&) = delete;

  void Write(std::u16string_view text);
  void WriteLineEnd(TLineEnd lineEnd);
  void WriteLine(std::u16string_view text);  // text + CR LF
  void WriteEmptyLine();                     // CR LF
  void Flush();

 protected:
  virtual void Encode(std::u16string_view text) = 0;
  void PutBytes(const void* bytes, size_t count);

 private:
  TStream& FStream;
  std::vector<uint8_t> FBuffer;
};

// UTF-8; a surrogate pair within one Write becomes one four-byte sequence and every
// unpaired surrogate is written as the three-byte form of the unit, so any text
// that was read can be saved.
class TUTF8Writer : public TTextWriter {
 public:
  explicit TUTF8Writer(TStream& stream);

 protected:
  void Encode(std::u16string_view text) override;
};

class TUnicodeWriter : public TTextWriter {
 public:
  explicit TUnicodeWriter(TStream& stream);

 protected:
  void Encode(std::u16string_view text) override;
};

}  // namespace kiv
