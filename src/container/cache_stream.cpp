#include "container/cache_stream.h"

#include <algorithm>
#include <vector>

namespace kiv {

namespace {
constexpr int64_t kBlock = 4096;
}

TCacheStream::TCacheStream(TStream& window) : FWindow(window), FWindowSize(window.GetSize()) {}

void TCacheStream::FetchUpTo(int64_t end) {
  if (end > FWindowSize) throw EAbort();
  int64_t fetched = TMemoryStream::GetSize();
  if (fetched >= end) return;
  int64_t position = TMemoryStream::GetPosition();
  TMemoryStream::SetPosition(fetched);
  std::vector<uint8_t> block(kBlock);
  FWindow.SetPosition(fetched);
  while (fetched < end) {
    int64_t n = FWindow.Read(block.data(), std::min(kBlock, FWindowSize - fetched));
    if (n <= 0) break;
    WriteBuffer(block.data(), n);
    fetched += n;
  }
  TMemoryStream::SetPosition(position);
}

void TCacheStream::SetPosition(int64_t position) {
  FetchUpTo(position);
  TMemoryStream::SetPosition(position);
}

int64_t TCacheStream::Read(void* buffer, int64_t count) {
  int64_t position = TMemoryStream::GetPosition();
  count = std::max<int64_t>(0, std::min(count, FWindowSize - position));
  FetchUpTo(position + count);
  return TMemoryStream::Read(buffer, count);
}

}  // namespace kiv
