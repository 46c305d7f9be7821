#pragma once
// A window [offset, offset + size) of another stream. With a progress callback the
// window calls it for every piece of at most 256 bytes that moves, so a loading thread
// can yield often; small reads come from a 64 KiB read-ahead buffer and large ones
// straight from the source, so the small pieces cost no extra calls on the source.
#include <functional>
#include <memory>
#include <vector>

#include "base/stream.h"

namespace kiv {

class TPartialStream : public TStream {
 public:
  using TProgress = std::function<void(TPartialStream&)>;

  // Raises "Insufficient Source Size" when the source is shorter than offset + size.
  TPartialStream(TStream* source, bool ownsSource, int64_t size, int64_t offset);
  ~TPartialStream() override;
  TPartialStream(const TPartialStream&) = delete;
  TPartialStream& operator=(const TPartialStream&) = delete;

  // With a callback the piece size is min(pieceSize, 256); without one it is 32768.
  void SetProgress(int pieceSize, TProgress progress);

  int64_t GetPosition() override { return FPosition; }
  void SetPosition(int64_t position) override;
  int64_t GetSize() override { return FSize; }
  void SetSize(int64_t size) override;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t CopyFrom(TStream& source, int64_t count) override;

 private:
  int64_t ReadFromSource(void* buffer, int64_t count);
  // Calls the progress callback once for every piece in count bytes.
  void ReportPieces(int64_t count);
  void SeekSource(int64_t windowPosition);

  TStream* FSource;
  bool FFreeSource;
  int64_t FOffset;
  int64_t FSize;
  int64_t FPosition = 0;
  int64_t FSourcePosition;  // where the source stands, relative to the window
  TProgress FProgress;
  int64_t FPieceSize = 32768;
  // Read-ahead of the source used while pieces are small: FAheadLength bytes of the
  // window starting at FAheadStart.
  std::vector<uint8_t> FAhead;
  int64_t FAheadStart = 0;
  int64_t FAheadLength = 0;
};

}  // namespace kiv
