#include "base/stream.h"

#include <vector>

namespace kiv {

namespace {
constexpr int64_t kCopyPiece = 32768;
}

void TStream::Clear() {
  SetPosition(0);
  SetSize(0);
}

void TStream::LoadFromStream(TStream& source) {
  Clear();
  int64_t sourcePosition = source.GetPosition();
  source.SetPosition(0);
  int64_t size = source.GetSize();
  if (size < 0) {
    std::vector<uint8_t> piece(kCopyPiece);
    for (int64_t n; (n = source.Read(piece.data(), kCopyPiece)) > 0;) WriteBuffer(piece.data(), n);
  } else {
    SetSize(size);
    SetPosition(0);
    if (CopyFrom(source, size) != size) throw EStreamReadError();
  }
  source.SetPosition(sourcePosition);
  SetPosition(0);
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  std::vector<uint8_t> piece(size_t(std::min(count, kCopyPiece)));
  int64_t copied = 0;
  while (copied < count) {
    int64_t n = source.Read(piece.data(), std::min(count - copied, kCopyPiece));
    if (n <= 0) break;
    WriteBuffer(piece.data(), n);
    copied += n;
  }
  return copied;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  auto* bytes = static_cast<uint8_t*>(buffer);
  int64_t done = 0;
  while (done < count) {
    int64_t n = Read(bytes + done, count - done);
    if (n <= 0) throw EStreamReadError();
    done += n;
  }
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count > 0 && Write(buffer, count) != count) throw EStreamWriteError();
}

uint8_t TStream::ReadByte() {
  uint8_t b;
  ReadBuffer(&b, 1);
  return b;
}

uint16_t TStream::ReadWord() {
  uint8_t b[2];
  ReadBuffer(b, 2);
  return uint16_t(b[0] | (b[1] << 8));
}

uint32_t TStream::ReadDWord() {
  uint8_t b[4];
  ReadBuffer(b, 4);
  return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}

}  // namespace kiv
