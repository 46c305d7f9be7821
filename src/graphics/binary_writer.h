#pragma once
// Writes the little-endian fields of a stored record to a stream (the counterpart of
// TBinaryReader); a stream that takes fewer bytes raises EStreamWriteError.
#include <bit>
#include <cstdint>
#include <string_view>

#include "base/stream.h"

namespace kiv {

class TBinaryWriter {
 public:
  explicit TBinaryWriter(TStream& stream) : FStream(stream) {}

  void Int32(int32_t value) {
    const uint32_t v = uint32_t(value);
    const uint8_t bytes[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    FStream.WriteBuffer(bytes, 4);
  }
  void UInt16(uint16_t value) {
    const uint8_t bytes[2] = {uint8_t(value), uint8_t(value >> 8)};
    FStream.WriteBuffer(bytes, 2);
  }
  void Float(float value) { Int32(std::bit_cast<int32_t>(value)); }
  // An int32 count of UTF-16 units, then the units.
  void Text(std::u16string_view text) {
    Int32(int32_t(text.size()));
    for (char16_t unit : text) UInt16(uint16_t(unit));
  }

 private:
  TStream& FStream;
};

}  // namespace kiv
