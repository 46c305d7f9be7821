#include "model/logo_scale.h"

#include <algorithm>
#include <cmath>

#include "graphics/bitmap_convert.h"
#include "graphics/bitmap_scale.h"

namespace kiv {
namespace {

// source at size, each pixel taken between its four nearest source pixels.
std::unique_ptr<TBitmap> Resampled(const TBitmap& source, int32_t width, int32_t height) {
  const int bytes = BytesPerPixel(source.Format());
  auto target = std::make_unique<TBitmap>(width, height, source.Format());
  const double sx = double(source.Width()) / width, sy = double(source.Height()) / height;
  for (int32_t y = 0; y < height; ++y) {
    const double fy = std::clamp((y + 0.5) * sy - 0.5, 0.0, double(source.Height() - 1));
    const int32_t y0 = int32_t(fy), y1 = std::min(y0 + 1, source.Height() - 1);
    const double wy = fy - y0;
    uint8_t* out = target->Row(y);
    for (int32_t x = 0; x < width; ++x) {
      const double fx = std::clamp((x + 0.5) * sx - 0.5, 0.0, double(source.Width() - 1));
      const int32_t x0 = int32_t(fx), x1 = std::min(x0 + 1, source.Width() - 1);
      const double wx = fx - x0;
      for (int c = 0; c < bytes; ++c) {
        const double top = source.Row(y0)[x0 * bytes + c] * (1 - wx) + source.Row(y0)[x1 * bytes + c] * wx;
        const double bottom = source.Row(y1)[x0 * bytes + c] * (1 - wx) + source.Row(y1)[x1 * bytes + c] * wx;
        out[x * bytes + c] = uint8_t(std::lround(top * (1 - wy) + bottom * wy));
      }
    }
  }
  return target;
}

}  // namespace

TScaledLogo ScaleLogo(const TBitmap& picture, int32_t targetHeight) {
  TScaledLogo logo;
  if (picture.Width() <= 0 || picture.Height() <= 0 || targetHeight <= 0) return logo;
  const int64_t targetWidth = std::llround(double(targetHeight) * picture.Width() / picture.Height());
  if (!AllowedPictureSize(targetWidth, targetHeight)) return logo;
  const TPixelFormat format = picture.Format() == TPixelFormat::Bgra32 ? TPixelFormat::Bgra32 : TPixelFormat::Bgr24;
  std::unique_ptr<TBitmap> current = ConvertBitmap(picture, format);
  if (!current) return logo;
  // Each halving leaves at least the target, so the loop ends after a few rounds.
  while (current->Width() >= 2 * targetWidth && current->Height() >= 2 * targetHeight) {
    current = HalveBitmap(*current);
    ++logo.Halvings;
  }
  logo.Picture = Resampled(*current, int32_t(targetWidth), targetHeight);
  return logo;
}

}  // namespace kiv
