#pragma once
// Reads a raw deflate stream (no zlib header or checksum) from the current position
// of a compressed source, 64 KiB of input at a time. Meant to be read from start to
// end: forward seeks skip by inflating, a seek to 0 starts again.
#include <zlib.h>

#include <vector>

#include "base/stream.h"

namespace kiv {

class EZDecompressionError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

class TInflateStream : public TStream {
 public:
  // declaredSize is the uncompressed size, -1 when unknown.
  TInflateStream(TStream& compressed, int64_t declaredSize);
  ~TInflateStream() override;
  TInflateStream(const TInflateStream&) = delete;
  TInflateStream& operator=(const TInflateStream&) = delete;

  int64_t GetPosition() override { return FLastPosition; }
  void SetPosition(int64_t position) override;
  int64_t GetSize() override { return FDeclaredSize; }
  void SetSize(int64_t size) override;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;

 private:
  void Restart();

  TStream& FSource;
  int64_t FSourceStart;
  int64_t FSourcePosition;  // where the source must stand for the next refill
  std::vector<uint8_t> FInput;
  z_stream FZ{};
  bool FEnded = false;
  int64_t FDeclaredSize;
  int64_t FLastPosition = 0;
  int64_t FProduced = 0;
};

}  // namespace kiv
