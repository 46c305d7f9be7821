#include "container/partial_stream.h"

#include <algorithm>
#include <cstring>

namespace kiv {

namespace {
constexpr int64_t kPlainPiece = 32768;
constexpr int64_t kProgressPiece = 256;
constexpr int64_t kReadAhead = 65536;
}  // namespace

TPartialStream::TPartialStream(TStream* source, bool ownsSource, int64_t size, int64_t offset)
    : FSource(source), FFreeSource(ownsSource), FOffset(offset), FSize(size) {
  if (offset < 0 || size < 0 || source->GetSize() < offset + size) {
    if (ownsSource) delete source;
    throw EStreamError("Insufficient Source Size");
  }
  FSource->SetPosition(FOffset);
  FSourcePosition = 0;
}

TPartialStream::~TPartialStream() {
  if (FFreeSource) delete FSource;
}

void TPartialStream::SetProgress(int pieceSize, TProgress progress) {
  FProgress = std::move(progress);
  FPieceSize = FProgress ? std::clamp<int64_t>(pieceSize, 1, kProgressPiece) : kPlainPiece;
  FAheadLength = 0;
  if (FProgress) FAhead.resize(size_t(kReadAhead));
  else FAhead = {};
}

void TPartialStream::SetPosition(int64_t position) {
  if (position < 0 || position > FSize) throw EStreamError("Incorrect Position");
  FPosition = position;
}

void TPartialStream::SetSize(int64_t) { throw EStreamError("Stream Cannot be resized"); }

void TPartialStream::SeekSource(int64_t windowPosition) {
  if (FSourcePosition != windowPosition) FSource->SetPosition(FOffset + windowPosition);
  FSourcePosition = windowPosition;
}

int64_t TPartialStream::ReadFromSource(void* buffer, int64_t count) {
  SeekSource(FPosition);
  int64_t n = FSource->Read(buffer, count);
  FSourcePosition += std::max<int64_t>(n, 0);
  return n;
}

int64_t TPartialStream::Read(void* buffer, int64_t count) {
  auto* out = static_cast<uint8_t*>(buffer);
  int64_t done = 0;
  while (done < count && FPosition < FSize) {
    const int64_t wanted = std::min(count - done, FSize - FPosition);
    const bool buffered = FPosition >= FAheadStart && FPosition < FAheadStart + FAheadLength;
    int64_t n;
    if (!FProgress) {
      n = ReadFromSource(out + done, wanted);  // nobody to report to: one call on the source
    } else if (!buffered && wanted >= kReadAhead) {
      n = ReadFromSource(out + done, kReadAhead);  // large reads go straight to the caller
    } else {
      if (!buffered) {
        FAheadStart = FPosition;
        FAheadLength = std::max<int64_t>(0, ReadFromSource(FAhead.data(), std::min(kReadAhead, FSize - FPosition)));
      }
      n = std::min(wanted, FAheadStart + FAheadLength - FPosition);
      if (n > 0) std::memcpy(out + done, FAhead.data() + (FPosition - FAheadStart), size_t(n));
    }
    if (n <= 0) break;
    FPosition += n;
    done += n;
    ReportPieces(n);
  }
  return done;
}

void TPartialStream::ReportPieces(int64_t count) {
  if (!FProgress) return;
  for (int64_t piece = 0; piece < count; piece += FPieceSize) FProgress(*this);
}

int64_t TPartialStream::Write(const void* buffer, int64_t count) {
  FAheadLength = 0;
  const auto* in = static_cast<const uint8_t*>(buffer);
  int64_t done = 0;
  while (done < count && FPosition < FSize) {
    int64_t piece = std::min({count - done, FSize - FPosition, FPieceSize});
    SeekSource(FPosition);
    int64_t n = FSource->Write(in + done, piece);
    if (n <= 0) break;
    FSourcePosition += n;
    FPosition += n;
    done += n;
    ReportPieces(n);
  }
  return done;
}

int64_t TPartialStream::CopyFrom(TStream& source, int64_t count) {
  std::vector<uint8_t> piece(size_t(std::min(count, FPieceSize)));
  int64_t copied = 0;
  while (copied < count) {
    int64_t n = source.Read(piece.data(), std::min(count - copied, FPieceSize));
    if (n <= 0) break;
    ReportPieces(n);
    WriteBuffer(piece.data(), n);
    copied += n;
  }
  return copied;
}

}  // namespace kiv
