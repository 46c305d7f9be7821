#include "ini/text_parser.h"

namespace kiv {

namespace {
constexpr size_t kBufferSize = 4096;
}

TTextParser::TTextParser(std::unique_ptr<TTextReader> reader) : FReader(std::move(reader)) {}

bool TTextParser::AtEndOfText() {
  if (FBufferPos < FBuffer.size()) return false;
  FBuffer.resize(kBufferSize);
  FBuffer.resize(FReader->ReadChars(FBuffer.data(), kBufferSize));
  FBufferPos = 0;
  return FBuffer.empty();
}

bool TTextParser::ReadLine() {
  FLine.clear();
  if (FEnd) return false;
  for (;;) {
    if (AtEndOfText()) {
      // After a line end the end is found ahead, so an empty line here means no text at all.
      FEnd = true;
      if (FLine.empty()) return false;
      FLineEnd = TLineEnd::None;
      break;
    }
    size_t stop = FBuffer.find_first_of(u"\r\n", FBufferPos);
    if (stop == std::u16string::npos) stop = FBuffer.size();
    FLine.append(FBuffer, FBufferPos, stop - FBufferPos);
    FBufferPos = stop;
    if (stop == FBuffer.size()) continue;

    char16_t first = FBuffer[FBufferPos++];
    char16_t partner = first == u'\r' ? u'\n' : u'\r';
    FLineEnd = first == u'\r' ? TLineEnd::CR : TLineEnd::LF;
    if (!AtEndOfText() && FBuffer[FBufferPos] == partner) {
      ++FBufferPos;
      FLineEnd = first == u'\r' ? TLineEnd::CRLF : TLineEnd::LFCR;
    }
    FEnd = AtEndOfText();
    break;
  }
  ++FLineNo;
  return true;
}

}  // namespace kiv
