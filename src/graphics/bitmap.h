#pragma once
// A picture in memory: rows top-down, each padded to a multiple of 4 bytes.
#include <array>
#include <cstddef>
#include <cstdint>

#include "graphics/pixel_buffer.h"
#include "graphics/pixel_format.h"

namespace kiv {

// Largest picture the player allocates: wider or taller than this, or with more pixels
// than kMaxPixels, a picture is refused instead of allocated.
inline constexpr int kMaxPictureSide = 20000;
inline constexpr int64_t kMaxPixels = int64_t(400) << 20;

// Whether a width and height from a file may be allocated.
constexpr bool AllowedPictureSize(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPixels;
}

class TBitmap {
 public:
  // Zero-filled; the size must be allowed (an assertion otherwise).
  TBitmap(int width, int height, TPixelFormat format);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TPixelFormat Format() const { return FFormat; }
  int Stride() const { return FStride; }
  uint8_t* Row(int y) { return FPixels.data() + size_t(y) * size_t(FStride); }
  const uint8_t* Row(int y) const { return FPixels.data() + size_t(y) * size_t(FStride); }
  TPixelBuffer& Pixels() { return FPixels; }
  const TPixelBuffer& Pixels() const { return FPixels; }

  // Colours of an Indexed8 bitmap, as 0xAARRGGBB.
  std::array<uint32_t, 256>& Palette() { return FPalette; }
  const std::array<uint32_t, 256>& Palette() const { return FPalette; }

  // The detail level this bitmap was made for (0 = full size).
  int MipLevel() const { return FMipLevel; }
  void SetMipLevel(int level) { FMipLevel = level; }

 private:
  int FWidth;
  int FHeight;
  TPixelFormat FFormat;
  int FStride;
  int FMipLevel = 0;
  TPixelBuffer FPixels;
  std::array<uint32_t, 256> FPalette{};
};

}  // namespace kiv
