#include "base/guid.h"

#include <array>
#include <cstdint>
#include <random>

namespace kiv {

std::u16string NewGuidText() {
  std::random_device random;
  std::array<uint8_t, 16> bytes;
  for (size_t i = 0; i < bytes.size(); i += 4) {
    const uint32_t word = random();
    for (size_t k = 0; k < 4; ++k) bytes[i + k] = uint8_t(word >> (8 * k));
  }
  bytes[6] = uint8_t((bytes[6] & 0x0F) | 0x40);  // version 4: random
  bytes[8] = uint8_t((bytes[8] & 0x3F) | 0x80);  // the standard variant
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string text = u"{";
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += u'-';
    text += kHex[bytes[i] >> 4];
    text += kHex[bytes[i] & 0x0F];
  }
  text += u'}';
  return text;
}

}  // namespace kiv
