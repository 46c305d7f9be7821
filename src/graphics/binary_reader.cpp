#include "graphics/binary_reader.h"

#include <bit>
#include <cstring>

namespace kiv {

const uint8_t* TBinaryReader::Take(size_t size) {
  if (FFailed || size > Left()) {
    FFailed = true;
    return nullptr;
  }
  const uint8_t* p = FBytes.data() + FPosition;
  FPosition += size;
  return p;
}

int32_t TBinaryReader::Int32() {
  const uint8_t* p = Take(4);
  return p ? int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24) : 0;
}

uint16_t TBinaryReader::UInt16() {
  const uint8_t* p = Take(2);
  return p ? uint16_t(p[0] | p[1] << 8) : 0;
}

float TBinaryReader::Float() { return std::bit_cast<float>(uint32_t(Int32())); }

std::u16string TBinaryReader::Text(int32_t maxUnits) {
  const int32_t count = Int32();
  if (count < 0 || count > maxUnits || size_t(count) > Left() / 2) {
    FFailed = true;
    return {};
  }
  std::u16string text(size_t(count), u'\0');
  for (char16_t& unit : text) unit = char16_t(UInt16());
  return text;
}

}  // namespace kiv
