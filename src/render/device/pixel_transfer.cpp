#include "render/device/pixel_transfer.h"

#include "base/errors.h"

namespace kiv {

std::vector<uint8_t> BgraToDeviceRgba(const TBitmap& bitmap) {
  KIV_ASSERT(bitmap.Format() == TPixelFormat::Bgra32);
  const int width = bitmap.Width();
  std::vector<uint8_t> rgba(size_t(width) * bitmap.Height() * 4);
  uint8_t* out = rgba.data();
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* in = bitmap.Row(y);
    for (int x = 0; x < width; ++x, in += 4, out += 4) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
      out[3] = in[3];
    }
  }
  return rgba;
}

// One loop per format, so that the rows of a whole frame read back convert without a
// choice per pixel.
void DeviceRgbaToBitmap(const uint8_t* rgba, bool opaque, TBitmap& target) {
  const int width = target.Width();
  for (int y = 0; y < target.Height(); ++y) {
    const uint8_t* in = rgba + size_t(y) * width * 4;
    uint8_t* out = target.Row(y);
    switch (target.Format()) {
      case TPixelFormat::Bgra32:
        for (int x = 0; x < width; ++x, in += 4, out += 4) {
          out[0] = in[2];
          out[1] = in[1];
          out[2] = in[0];
          out[3] = opaque ? 255 : in[3];
        }
        break;
      case TPixelFormat::Bgr24:
        for (int x = 0; x < width; ++x, in += 4, out += 3) {
          out[0] = in[2];
          out[1] = in[1];
          out[2] = in[0];
        }
        break;
      case TPixelFormat::Rgb565:
        for (int x = 0; x < width; ++x, in += 4, out += 2) {
          const uint16_t packed = uint16_t(((in[0] >> 3) << 11) | ((in[1] >> 2) << 5) | (in[2] >> 3));
          out[0] = uint8_t(packed);
          out[1] = uint8_t(packed >> 8);
        }
        break;
      case TPixelFormat::Indexed8:
        for (int x = 0; x < width; ++x, in += 4) *out++ = in[0];
        break;
      default: KIV_FAIL("Pixel format not served by the device");
    }
  }
}

}  // namespace kiv
