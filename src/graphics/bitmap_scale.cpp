#include "graphics/bitmap_scale.h"

#include <algorithm>

namespace kiv {

namespace {

// The mean of n samples of one colour channel, rounded.
uint8_t Mean(uint32_t sum, uint32_t n) { return uint8_t((sum + n / 2) / n); }

// Averages the n (1 to 4) pixels at pixels[] into target.
void AverageOpaque(const uint8_t* const* pixels, uint32_t n, uint8_t* target) {
  for (int c = 0; c < 3; ++c) {
    uint32_t sum = 0;
    for (uint32_t i = 0; i < n; ++i) sum += pixels[i][c];
    target[c] = Mean(sum, n);
  }
}

void AverageWeightedByAlpha(const uint8_t* const* pixels, uint32_t n, uint8_t* target) {
  uint32_t alphaSum = 0;
  for (uint32_t i = 0; i < n; ++i) alphaSum += pixels[i][3];
  if (alphaSum == 0) {
    AverageOpaque(pixels, n, target);
  } else {
    for (int c = 0; c < 3; ++c) {
      uint32_t sum = 0;
      for (uint32_t i = 0; i < n; ++i) sum += uint32_t(pixels[i][c]) * pixels[i][3];
      target[c] = Mean(sum, alphaSum);
    }
  }
  target[3] = Mean(alphaSum, n);
}

}  // namespace

std::unique_ptr<TBitmap> HalveBitmap(const TBitmap& source) {
  const TPixelFormat format = source.Format();
  if (format != TPixelFormat::Bgr24 && format != TPixelFormat::Bgra32) return nullptr;
  const int bytes = BytesPerPixel(format);
  auto target = std::make_unique<TBitmap>((source.Width() + 1) / 2, (source.Height() + 1) / 2, format);
  target->SetMipLevel(source.MipLevel() + 1);
  for (int y = 0; y < target->Height(); ++y) {
    const int y0 = 2 * y;
    const int y1 = std::min(y0 + 1, source.Height() - 1);
    uint8_t* out = target->Row(y);
    for (int x = 0; x < target->Width(); ++x, out += bytes) {
      const int x0 = 2 * x;
      const int x1 = std::min(x0 + 1, source.Width() - 1);
      // The covered pixels, each counted once at the right and bottom edges.
      const uint8_t* covered[4];
      uint32_t n = 0;
      for (int sy = y0; sy <= y1; ++sy)
        for (int sx = x0; sx <= x1; ++sx) covered[n++] = source.Row(sy) + size_t(sx) * size_t(bytes);
      if (format == TPixelFormat::Bgra32)
        AverageWeightedByAlpha(covered, n, out);
      else
        AverageOpaque(covered, n, out);
    }
  }
  return target;
}

}  // namespace kiv
