#pragma once
// The ELF (PJW) hash over the low byte of each UTF-16 unit, in 32-bit arithmetic.
// INI indexes and the command-line option table bucket their names with it.
#include <cstdint>
#include <string_view>

namespace kiv {

constexpr uint32_t ElfHash(std::u16string_view key) {
  uint32_t h = 0;
  for (char16_t u : key) {
    h = (h << 4) + (u & 0xFF);
    if (h >= 0x10000000) h = (h ^ ((h >> 28) << 4)) & 0x0FFFFFFF;
  }
  return h;
}

}  // namespace kiv
