#include "sound/local_buffer.h"

#include <algorithm>
#include <cstring>

namespace kiv {

void TLocalBuffer::Reserve(size_t count) {
  if (Free() >= count) return;
  FBytes.resize(std::max(FUsed + count, FBytes.size() + FBytes.size() / 2));
}

void TLocalBuffer::Append(const void* bytes, size_t count) {
  if (count == 0) return;
  std::memcpy(WriteSpace(count), bytes, count);
  FUsed += count;
}

void TLocalBuffer::AppendFill(uint8_t value, size_t count) {
  if (count == 0) return;
  std::memset(WriteSpace(count), value, count);
  FUsed += count;
}

void TLocalBuffer::Consume(size_t count) {
  count = std::min(count, FUsed);
  if (count == 0) return;
  std::memmove(FBytes.data(), FBytes.data() + count, FUsed - count);
  FUsed -= count;
}

uint8_t* TLocalBuffer::WriteSpace(size_t count) {
  Reserve(count);
  return FBytes.data() + FUsed;
}

void TLocalBuffer::Commit(size_t count) { FUsed = std::min(FUsed + count, FBytes.size()); }

}  // namespace kiv
