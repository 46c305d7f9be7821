#pragma once
// A read-ahead copy of a window, fetched in 4096-byte blocks only as far as reads
// and seeks need it and never fetched twice; serves the picture metadata reader,
// which jumps around near the start of a file.
#include "base/memory_stream.h"

namespace kiv {

// Raised when a seek or read aims beyond the end of the window.
class EAbort : public EKivError {
 public:
  EAbort() : EKivError("Operation aborted") {}
};

class TCacheStream : public TMemoryStream {
 public:
  explicit TCacheStream(TStream& window);

  int64_t GetSize() override { return FWindowSize; }
  void SetPosition(int64_t position) override;
  int64_t Read(void* buffer, int64_t count) override;

 private:
  void FetchUpTo(int64_t end);

  TStream& FWindow;
  int64_t FWindowSize;
};

}  // namespace kiv
