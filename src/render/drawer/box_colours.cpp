#include "render/drawer/box_colours.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/errors.h"

namespace kiv {

namespace {

enum : size_t { kTopLeft = 0, kTopRight = 1, kBottomLeft = 2, kBottomRight = 3 };

// The corners in turn around the box, clockwise from the top-left.
constexpr std::array<size_t, 4> kClockwise = {kTopLeft, kTopRight, kBottomRight, kBottomLeft};

// The two corners of the right, top, left and bottom edge.
constexpr std::array<std::array<size_t, 2>, 4> kEdges = {
    {{kTopRight, kBottomRight}, {kTopLeft, kTopRight}, {kTopLeft, kBottomLeft}, {kBottomLeft, kBottomRight}}};

TCornerColours Gradient(const TBoxParams& box) {
  KIV_ASSERT(box.Kind <= 8);
  const uint32_t c1 = box.Color1;
  const uint32_t c2 = box.Color2;
  if (box.Kind < 4) {
    const uint32_t mean = MeanColour(c1, c2);
    TCornerColours corners = {mean, mean, mean, mean};
    corners[kClockwise[box.Kind]] = c1;
    corners[kClockwise[(box.Kind + 2) % 4]] = c2;
    return corners;
  }
  if (box.Kind < 8) {
    TCornerColours corners = {c2, c2, c2, c2};
    for (size_t corner : kEdges[box.Kind - 4]) corners[corner] = c1;
    return corners;
  }
  return {c1, c1, c1, c1};
}

}  // namespace

uint32_t ScaleAlpha(uint32_t colour, float percent) {
  if (percent >= 100) return colour;
  const double alpha = std::round(double(colour >> 24) * std::max(0.0f, percent) / 100.0);
  return (colour & 0x00FFFFFFu) | uint32_t(alpha) << 24;
}

uint32_t MeanColour(uint32_t a, uint32_t b) {
  uint32_t mean = 0;
  for (int shift = 0; shift < 32; shift += 8) mean |= ((((a >> shift) & 0xFF) + ((b >> shift) & 0xFF)) / 2) << shift;
  return mean;
}

TCornerColours BoxCornerColours(const TBoxParams& box) {
  TCornerColours corners = Gradient(box);
  for (uint32_t& colour : corners) colour = ScaleAlpha(colour, box.Opacity);
  return corners;
}

}  // namespace kiv
