#include "graphics/picture_stream_bytes.h"

#include <algorithm>

namespace kiv {

namespace {
constexpr int64_t kReadPiece = 65536;
}

bool StreamStartsWith(TStream& stream, std::span<const uint8_t> signature) {
  const int64_t position = stream.GetPosition();
  std::vector<uint8_t> head(signature.size());
  const int64_t n = stream.Read(head.data(), int64_t(head.size()));
  stream.SetPosition(position);
  return n == int64_t(signature.size()) && std::equal(head.begin(), head.end(), signature.begin());
}

std::vector<uint8_t> ReadRemainingBytes(TStream& stream) {
  std::vector<uint8_t> bytes;
  const int64_t size = stream.GetSize();
  // Room for the known rest plus the probing read that finds the end.
  if (size > 0) bytes.reserve(size_t(std::max<int64_t>(0, size - stream.GetPosition()) + kReadPiece));
  for (;;) {
    const size_t filled = bytes.size();
    bytes.resize(filled + size_t(kReadPiece));
    const int64_t n = stream.Read(bytes.data() + filled, kReadPiece);
    bytes.resize(filled + size_t(std::max<int64_t>(0, n)));
    if (n <= 0) return bytes;
  }
}

}  // namespace kiv
