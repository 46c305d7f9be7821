#include "model/shadow_blur.h"

#include <algorithm>
#include <cmath>

namespace kiv {

namespace {

// The weights that make one output sample from the input samples First … First + n − 1.
struct TTaps {
  int32_t First = 0;
  std::vector<float> Weights;
};

// The taps of each of outCount samples resampled from inCount: sample centres map
// linearly, and when shrinking the filter widens by the factor so that every input
// sample counts.
std::vector<TTaps> ResampleTaps(int32_t inCount, int32_t outCount) {
  const double scale = double(inCount) / double(outCount);
  const double stretch = std::max(1.0, scale);
  const double support = 2 * stretch;
  auto taps = std::vector<TTaps>(size_t(outCount));
  for (int32_t i = 0; i < outCount; ++i) {
    const double centre = (i + 0.5) * scale - 0.5;
    const int32_t first = std::max(0, int32_t(std::ceil(centre - support)));
    const int32_t last = std::min(inCount - 1, int32_t(std::floor(centre + support)));
    TTaps& tap = taps[size_t(i)];
    tap.First = first;
    double total = 0;
    for (int32_t j = first; j <= last; ++j) {
      const double weight = CubicBSpline((j - centre) / stretch);
      tap.Weights.push_back(float(weight));
      total += weight;
    }
    if (total > 0)
      for (float& weight : tap.Weights) weight = float(weight / total);
  }
  return taps;
}

TShadowMask ResampleRows(const TShadowMask& mask, int32_t width) {
  const std::vector<TTaps> taps = ResampleTaps(mask.Width, width);
  TShadowMask result(width, mask.Height);
  for (int32_t y = 0; y < mask.Height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const TTaps& tap = taps[size_t(x)];
      float sum = 0;
      for (size_t k = 0; k < tap.Weights.size(); ++k) sum += tap.Weights[k] * mask.At(tap.First + int32_t(k), y);
      result.At(x, y) = sum;
    }
  return result;
}

TShadowMask ResampleColumns(const TShadowMask& mask, int32_t height) {
  const std::vector<TTaps> taps = ResampleTaps(mask.Height, height);
  TShadowMask result(mask.Width, height);
  for (int32_t y = 0; y < height; ++y) {
    const TTaps& tap = taps[size_t(y)];
    float* out = result.Row(y);
    for (size_t k = 0; k < tap.Weights.size(); ++k) {
      const float weight = tap.Weights[k];
      const float* in = mask.Row(tap.First + int32_t(k));
      for (int32_t x = 0; x < mask.Width; ++x) out[x] += weight * in[x];
    }
  }
  return result;
}

TShadowMask Resample(const TShadowMask& mask, int32_t width, int32_t height) {
  return ResampleColumns(ResampleRows(mask, width), height);
}

}  // namespace

double CubicBSpline(double x) {
  x = std::abs(x);
  if (x < 1) return (4 - 6 * x * x + 3 * x * x * x) / 6;
  if (x < 2) return (2 - x) * (2 - x) * (2 - x) / 6;
  return 0;
}

TShadowMask BlurShadowMask(const TShadowMask& mask, double radius) {
  if (!(radius > 1)) return mask;
  const auto shrunk = [radius](int32_t count) { return std::max(1, int32_t(std::ceil(count / radius))); };
  return Resample(Resample(mask, shrunk(mask.Width), shrunk(mask.Height)), mask.Width, mask.Height);
}

}  // namespace kiv
