#pragma once
// Device textures have power-of-two sides of at least 32 pixels.

namespace kiv {

// The largest power of two an int holds; larger sides get it too (no device makes such a
// texture, and the doubling below must not overflow).
inline constexpr int kLargestTextureSide = 1 << 30;

constexpr int DeviceTextureSide(int side) {
  int result = 32;
  while (result < side && result < kLargestTextureSide) result *= 2;
  return result;
}

}  // namespace kiv
