#include "container/crypt_stream.h"

#include <vector>

namespace kiv {

TCryptStream::TCryptStream(TStream* inner, std::string key, bool ownsInner)
    : FInner(inner), FFreeInner(ownsInner), FKey(std::move(key)) {
  KIV_ASSERT(FInner != nullptr);
  KIV_ASSERT(!FKey.empty());
}

TCryptStream::~TCryptStream() {
  if (FFreeInner) delete FInner;
}

void TCryptStream::Apply(uint8_t* bytes, int64_t count, int64_t position) const {
  const size_t length = FKey.size();
  size_t k = size_t(position % int64_t(length));
  for (int64_t i = 0; i < count; ++i) {
    bytes[i] ^= uint8_t(FKey[k]);
    if (++k == length) k = 0;
  }
}

int64_t TCryptStream::Read(void* buffer, int64_t count) {
  int64_t position = FInner->GetPosition();
  int64_t n = FInner->Read(buffer, count);
  if (n > 0) Apply(static_cast<uint8_t*>(buffer), n, position);
  return n;
}

int64_t TCryptStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  std::vector<uint8_t> copy(bytes, bytes + count);
  Apply(copy.data(), count, FInner->GetPosition());
  return FInner->Write(copy.data(), count);
}

}  // namespace kiv
