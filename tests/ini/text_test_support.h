#pragma once
// Streams and helpers shared by the text reader, splitter and writer tests.
#include <algorithm>
#include <string>
#include <string_view>

#include "base/memory_stream.h"
#include "ini/text_reader.h"

namespace kiv {

inline TMemoryStream StreamOf(std::string_view bytes) {
  return TMemoryStream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

inline std::string BytesOf(const TMemoryStream& stream) {
  return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

// Everything the reader delivers, asked for count units at a time.
inline std::u16string ReadAll(TTextReader& reader, size_t count = 4096) {
  std::u16string text;
  std::u16string piece(count, u'\0');
  while (size_t n = reader.ReadChars(piece.data(), count)) text.append(piece, 0, n);
  return text;
}

inline std::u16string ReadAll(std::string_view bytes, size_t count = 4096) {
  TMemoryStream stream = StreamOf(bytes);
  return ReadAll(*CreateTextReader(stream), count);
}

// Hands out at most one byte per read, as a slow source may, so that every
// multi-byte sequence and mark arrives cut.
class TrickleStream : public TMemoryStream {
 public:
  using TMemoryStream::TMemoryStream;
  int64_t Read(void* buffer, int64_t count) override {
    return TMemoryStream::Read(buffer, std::min<int64_t>(count, 1));
  }
};

}  // namespace kiv
