#include "container/inflate_stream.h"

#include <algorithm>

namespace kiv {

namespace {

constexpr size_t kInputBlock = 65536;
constexpr int64_t kSkipPiece = 8192;

const char* ZlibMessage(int code) {
  switch (code) {
    case Z_NEED_DICT: return "need dictionary";
    case Z_STREAM_END: return "stream end";
    case Z_ERRNO: return "file error";
    case Z_STREAM_ERROR: return "stream error";
    case Z_DATA_ERROR: return "data error";
    case Z_MEM_ERROR: return "insufficient memory";
    case Z_BUF_ERROR: return "buffer error";
    case Z_VERSION_ERROR: return "incompatible version";
    default: return "";
  }
}

[[noreturn]] void InvalidOperation() { throw EZDecompressionError("Invalid ZStream operation!"); }

}  // namespace

TInflateStream::TInflateStream(TStream& compressed, int64_t declaredSize)
    : FSource(compressed),
      FSourceStart(compressed.GetPosition()),
      FSourcePosition(FSourceStart),
      FInput(kInputBlock),
      FDeclaredSize(declaredSize) {
  int result = inflateInit2(&FZ, -15);
  if (result != Z_OK) throw EZDecompressionError(ZlibMessage(result));
}

TInflateStream::~TInflateStream() { inflateEnd(&FZ); }

void TInflateStream::Restart() {
  inflateReset(&FZ);
  FZ.avail_in = 0;
  FEnded = false;
  FProduced = 0;
  FSourcePosition = FSourceStart;
  FSource.SetPosition(FSourceStart);
}

int64_t TInflateStream::Read(void* buffer, int64_t count) {
  if (FSource.GetPosition() != FSourcePosition) FSource.SetPosition(FSourcePosition);
  FZ.next_out = static_cast<Bytef*>(buffer);
  FZ.avail_out = uInt(std::min<int64_t>(count, 0x7FFFFFFF));
  while (FZ.avail_out > 0 && !FEnded) {
    if (FZ.avail_in == 0) {
      int64_t n = FSource.Read(FInput.data(), int64_t(FInput.size()));
      if (n <= 0) break;
      FSourcePosition = FSource.GetPosition();
      FZ.next_in = FInput.data();
      FZ.avail_in = uInt(n);
    }
    int result = inflate(&FZ, Z_NO_FLUSH);
    if (result < 0) throw EZDecompressionError(ZlibMessage(result));
    FEnded = result == Z_STREAM_END;
  }
  int64_t produced = int64_t(FZ.next_out - static_cast<Bytef*>(buffer));
  FProduced += produced;
  return produced;
}

void TInflateStream::SetPosition(int64_t position) {
  if (position == FLastPosition) return;
  if (position == 0) {
    Restart();
  } else if (position > FProduced) {
    std::vector<uint8_t> discard(kSkipPiece);
    while (FProduced < position) {
      int64_t piece = std::min(kSkipPiece, position - FProduced);
      if (Read(discard.data(), piece) != piece) throw EStreamReadError();
    }
  } else {
    InvalidOperation();
  }
  FLastPosition = position;
}

void TInflateStream::SetSize(int64_t) { InvalidOperation(); }

int64_t TInflateStream::Write(const void*, int64_t) { InvalidOperation(); }

}  // namespace kiv
