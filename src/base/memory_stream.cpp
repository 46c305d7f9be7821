#include "base/memory_stream.h"

#include <algorithm>
#include <cstring>

namespace kiv {

void TMemoryStream::SetPosition(int64_t position) {
  if (position < 0) throw EStreamError("Stream position out of range");
  FPosition = position;
}

void TMemoryStream::SetSize(int64_t size) {
  if (size < 0) throw EStreamError("Stream size out of range");
  FBytes.resize(size_t(size));
  FPosition = std::min(FPosition, size);
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  int64_t available = int64_t(FBytes.size()) - FPosition;
  int64_t n = std::max<int64_t>(0, std::min(count, available));
  if (n > 0) std::memcpy(buffer, FBytes.data() + FPosition, size_t(n));
  FPosition += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (FPosition + count > int64_t(FBytes.size())) FBytes.resize(size_t(FPosition + count));
  std::memcpy(FBytes.data() + FPosition, buffer, size_t(count));
  FPosition += count;
  return count;
}

}  // namespace kiv
