#include "graphics/bitmap.h"

#include "base/errors.h"

namespace kiv {

namespace {

size_t AllowedBytes(int width, int height, int stride) {
  KIV_ASSERT(AllowedPictureSize(width, height));
  return size_t(stride) * size_t(height);
}

}  // namespace

const char* PixelFormatName(TPixelFormat format) {
  switch (format) {
    case TPixelFormat::Indexed8: return "Indexed8";
    case TPixelFormat::Rgb555: return "Rgb555";
    case TPixelFormat::Rgb565: return "Rgb565";
    case TPixelFormat::Bgr24: return "Bgr24";
    case TPixelFormat::Bgra32: return "Bgra32";
  }
  return "?";
}

TBitmap::TBitmap(int width, int height, TPixelFormat format)
    : FWidth(width),
      FHeight(height),
      FFormat(format),
      FStride((width * BytesPerPixel(format) + 3) / 4 * 4),
      FPixels(AllowedBytes(width, height, FStride)) {}

}  // namespace kiv
