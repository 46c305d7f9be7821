#pragma once
// The pixel layouts pictures are decoded into and converted between.
#include <cstdint>

namespace kiv {

enum class TPixelFormat : uint8_t {
  Indexed8,  // one byte per pixel into a palette of up to 256 colours
  Rgb555,    // 16 bits: x-5-5-5, blue in the low bits
  Rgb565,    // 16 bits: 5-6-5, blue in the low bits
  Bgr24,     // bytes blue, green, red
  Bgra32,    // bytes blue, green, red, alpha
};

constexpr int BytesPerPixel(TPixelFormat format) {
  switch (format) {
    case TPixelFormat::Indexed8: return 1;
    case TPixelFormat::Rgb555:
    case TPixelFormat::Rgb565: return 2;
    case TPixelFormat::Bgr24: return 3;
    case TPixelFormat::Bgra32: return 4;
  }
  return 4;
}

const char* PixelFormatName(TPixelFormat format);

}  // namespace kiv
