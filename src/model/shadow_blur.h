#pragma once
// The blur of a shadow mask: resampled down by the blur radius and back up, both ways
// with a cubic B-spline filter of support 2, one direction at a time.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kiv {

// Mask values 0 … 1, rows top-down.
struct TShadowMask {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<float> Values;  // Width × Height

  TShadowMask(int32_t width, int32_t height) : Width(width), Height(height), Values(size_t(width) * size_t(height)) {}
  float& At(int32_t x, int32_t y) { return Values[size_t(y) * size_t(Width) + size_t(x)]; }
  float At(int32_t x, int32_t y) const { return Values[size_t(y) * size_t(Width) + size_t(x)]; }
  float* Row(int32_t y) { return &At(0, y); }
  const float* Row(int32_t y) const { return Values.data() + size_t(y) * size_t(Width); }
};

// The cubic B-spline: smooth, never negative, so the blur neither rings nor darkens.
double CubicBSpline(double x);

// mask blurred with radius (pixels); a radius of 1 or less leaves it as it is.
TShadowMask BlurShadowMask(const TShadowMask& mask, double radius);

}  // namespace kiv
