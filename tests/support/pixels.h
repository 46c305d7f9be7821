#pragma once
// Single pixels of pictures, as 0xAARRGGBB.
#include <cstdint>
#include <cstdlib>

#include "graphics/bitmap.h"
#include "graphics/bitmap_store.h"

namespace kiv {

// The colour at (x, y) of a Bgra32 picture, or of a Bgr24 one with alpha 0xFF.
inline uint32_t PixelAt(const TBitmap& picture, int x, int y) {
  const uint8_t* p = picture.Row(y) + x * BytesPerPixel(picture.Format());
  const uint32_t alpha = picture.Format() == TPixelFormat::Bgra32 ? p[3] : 0xFF;
  return alpha << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

// The colour at (x, y) of a store's level 0 in Bgra32.
inline uint32_t PixelAt(TBitmapStore& store, int x, int y) {
  return PixelAt(*store.GetMipLevel(0, TPixelFormat::Bgra32), x, y);
}

// Whether the red, green and blue of a and b lie within tolerance of each other (alpha
// does not count).
inline bool ColoursNear(uint32_t a, uint32_t b, int tolerance) {
  for (int shift : {16, 8, 0})
    if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > tolerance) return false;
  return true;
}

// The alpha at (x, y) of a Bgra32 picture.
inline int AlphaAt(const TBitmap& picture, int x, int y) { return picture.Row(y)[4 * x + 3]; }

inline void SetPixel(TBitmap& picture, int x, int y, uint32_t colour) {
  uint8_t* p = picture.Row(y) + 4 * x;
  p[0] = uint8_t(colour);
  p[1] = uint8_t(colour >> 8);
  p[2] = uint8_t(colour >> 16);
  p[3] = uint8_t(colour >> 24);
}

}  // namespace kiv
