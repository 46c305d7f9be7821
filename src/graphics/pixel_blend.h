#pragma once
// Compositing one colour over one Bgra32 pixel, with 8-bit channels and straight
// (not premultiplied) alpha, as shapes are painted into pictures.
#include <cstdint>

namespace kiv {

// colour (0xAARRGGBB) with its alpha scaled by coverage (1 … 256 of 256).
inline uint32_t WithCoverage(uint32_t colour, int coverage) {
  if (coverage >= 256) return colour;
  const uint32_t alpha = uint32_t(coverage) * (colour >> 24) / 256;
  return alpha << 24 | (colour & 0x00FFFFFF);
}

// Composites colour (0xAARRGGBB) over the pixel at bgra (bytes blue, green, red, alpha).
void BlendOver(uint8_t* bgra, uint32_t colour);

}  // namespace kiv
