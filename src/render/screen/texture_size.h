#pragma once
// Device textures have power-of-two sides of at least 32 pixels.

namespace kiv {

constexpr int DeviceTextureSide(int side) {
  int result = 32;
  while (result < side) result *= 2;
  return result;
}

}  // namespace kiv
