#include "graphics/bitmap_scale.h"

#include <algorithm>
#include <cmath>
#include <vector>

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


namespace {

// The source pixels each target pixel of one axis blends, with their weights: a tent as
// wide as one target pixel covers in the source (at least one source pixel), summing to 1.
struct TTaps {
  std::vector<int> First;
  std::vector<std::vector<float>> Weights;
};

TTaps AxisTaps(int sourceLength, int targetLength) {
  TTaps taps;
  const double scale = double(sourceLength) / targetLength;
  const double support = std::max(1.0, scale);
  for (int d = 0; d < targetLength; ++d) {
    const double centre = (d + 0.5) * scale - 0.5;
    const int low = int(std::ceil(centre - support)), high = int(std::floor(centre + support));
    std::vector<float> weights(size_t(high - low + 1));
    double sum = 0;
    for (int s = low; s <= high; ++s) sum += weights[size_t(s - low)] = float(std::max(0.0, 1 - std::abs(s - centre) / support));
    for (float& weight : weights) weight = sum > 0 ? float(weight / sum) : 0;
    taps.First.push_back(low);
    taps.Weights.push_back(std::move(weights));
  }
  return taps;
}

}  // namespace

std::unique_ptr<TBitmap> StretchBitmap(const TBitmap& source, int width, int height) {
  if (source.Format() != TPixelFormat::Bgr24 && source.Format() != TPixelFormat::Bgra32) return nullptr;
  if (!AllowedPictureSize(width, height)) return nullptr;
  const int channels = source.Format() == TPixelFormat::Bgr24 ? 3 : 4;
  const TTaps across = AxisTaps(source.Width(), width), down = AxisTaps(source.Height(), height);
  // Across first, into a picture of the target's width and the source's height.
  std::vector<float> middle(size_t(width) * size_t(source.Height()) * size_t(channels));
  for (int y = 0; y < source.Height(); ++y) {
    const uint8_t* row = source.Row(y);
    float* out = &middle[size_t(y) * size_t(width) * size_t(channels)];
    for (int x = 0; x < width; ++x)
      for (size_t i = 0; i < across.Weights[size_t(x)].size(); ++i) {
        const int s = std::clamp(across.First[size_t(x)] + int(i), 0, source.Width() - 1);
        for (int c = 0; c < channels; ++c) out[x * channels + c] += across.Weights[size_t(x)][i] * row[s * channels + c];
      }
  }
  auto target = std::make_unique<TBitmap>(width, height, source.Format());
  std::vector<float> line(size_t(width) * size_t(channels));
  for (int y = 0; y < height; ++y) {
    std::fill(line.begin(), line.end(), 0.0f);
    for (size_t i = 0; i < down.Weights[size_t(y)].size(); ++i) {
      const int s = std::clamp(down.First[size_t(y)] + int(i), 0, source.Height() - 1);
      const float* in = &middle[size_t(s) * size_t(width) * size_t(channels)];
      for (size_t k = 0; k < line.size(); ++k) line[k] += down.Weights[size_t(y)][i] * in[k];
    }
    uint8_t* out = target->Row(y);
    for (size_t k = 0; k < line.size(); ++k) out[k] = uint8_t(std::clamp(std::lround(line[k]), 0L, 255L));
  }
  return target;
}

std::unique_ptr<TBitmap> CropBitmap(const TBitmap& source, int left, int top, int width, int height) {
  if (source.Format() != TPixelFormat::Bgr24 && source.Format() != TPixelFormat::Bgra32) return nullptr;
  const int x0 = std::max(left, 0), y0 = std::max(top, 0);
  const int x1 = int(std::min<int64_t>(int64_t(left) + width, source.Width()));
  const int y1 = int(std::min<int64_t>(int64_t(top) + height, source.Height()));
  if (x1 <= x0 || y1 <= y0) return nullptr;
  const int channels = source.Format() == TPixelFormat::Bgr24 ? 3 : 4;
  auto target = std::make_unique<TBitmap>(x1 - x0, y1 - y0, source.Format());
  for (int y = y0; y < y1; ++y)
    std::copy_n(source.Row(y) + size_t(x0) * channels, size_t(x1 - x0) * channels, target->Row(y - y0));
  return target;
}

}  // namespace kiv
