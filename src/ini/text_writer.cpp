#include "ini/text_writer.h"

#include <algorithm>

#include "base/text.h"

namespace kiv {

namespace {
constexpr size_t kBufferSize = 32767;
}

TTextWriter::TTextWriter(TStream& stream) : FStream(stream) { FBuffer.reserve(kBufferSize); }

TTextWriter::~TTextWriter() {
  try {
    Flush();
  } catch (...) {
    // A destructor must not throw; callers that care call Flush first.
  }
}

void TTextWriter::Write(std::u16string_view text) { Encode(text); }

void TTextWriter::WriteLineEnd(TLineEnd lineEnd) {
  switch (lineEnd) {
    case TLineEnd::None: break;
    case TLineEnd::LF: Write(u"\n"); break;
    case TLineEnd::CR: Write(u"\r"); break;
    case TLineEnd::LFCR: Write(u"\n\r"); break;
    case TLineEnd::CRLF: Write(u"\r\n"); break;
  }
}

void TTextWriter::WriteLine(std::u16string_view text) {
  Write(text);
  WriteLineEnd(TLineEnd::CRLF);
}

void TTextWriter::WriteEmptyLine() { WriteLineEnd(TLineEnd::CRLF); }

void TTextWriter::Flush() {
  if (FBuffer.empty()) return;
  int64_t size = int64_t(FBuffer.size());
  int64_t written = FStream.Write(FBuffer.data(), size);
  // The bytes are given up either way, so a later flush does not write them twice.
  FBuffer.clear();
  if (written != size) throw EStreamWriteError();
}

void TTextWriter::PutBytes(const void* bytes, size_t count) {
  auto* next = static_cast<const uint8_t*>(bytes);
  while (count > 0) {
    size_t piece = std::min(count, kBufferSize - FBuffer.size());
    FBuffer.insert(FBuffer.end(), next, next + piece);
    next += piece;
    count -= piece;
    if (FBuffer.size() == kBufferSize) Flush();
  }
}

TUTF8Writer::TUTF8Writer(TStream& stream) : TTextWriter(stream) { PutBytes("\xEF\xBB\xBF", 3); }

void TUTF8Writer::Encode(std::u16string_view text) {
  std::string bytes = Utf16ToUtf8(text);
  PutBytes(bytes.data(), bytes.size());
}

TUnicodeWriter::TUnicodeWriter(TStream& stream) : TTextWriter(stream) { PutBytes("\xFF\xFE", 2); }

void TUnicodeWriter::Encode(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes += char(unit & 0xFF);
    bytes += char(unit >> 8);
  }
  PutBytes(bytes.data(), bytes.size());
}

}  // namespace kiv
