#include "ini/buffered_text_reader.h"

#include <cstring>
#include <string>

namespace kiv {

TBufferedTextReader::TBufferedTextReader(TStream& stream, size_t bufferSize)
    : FStream(stream), FTextStart(stream.GetPosition()), FBuffer(bufferSize) {}

void TBufferedTextReader::Rewind() {
  FStream.SetPosition(FTextStart);
  if (FStream.GetPosition() != FTextStart) throw EStreamSeekError();
  FBufferPos = FBufferEnd = 0;
}

bool TBufferedTextReader::SkipMark(TStream& stream, std::string_view mark) {
  std::string head(mark.size(), '\0');
  size_t got = 0;
  while (got < head.size()) {
    int64_t n = stream.Read(head.data() + got, int64_t(head.size() - got));
    if (n <= 0) return false;
    got += size_t(n);
  }
  return head == mark;
}

bool TBufferedTextReader::Need(size_t count) {
  KIV_ASSERT(count <= FBuffer.size());
  while (Available() < count) {
    // Move the tail of a cut sequence to the front so the refill completes it.
    std::memmove(FBuffer.data(), Bytes(), Available());
    FBufferEnd -= FBufferPos;
    FBufferPos = 0;
    int64_t n = FStream.Read(FBuffer.data() + FBufferEnd, int64_t(FBuffer.size() - FBufferEnd));
    if (n <= 0) return false;
    FBufferEnd += size_t(n);
  }
  return true;
}

}  // namespace kiv
