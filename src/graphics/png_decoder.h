#pragma once
// PNG header reading and decoding through libpng, from data held in memory. The
// library's errors come back as failed results.
#include <cstdint>
#include <optional>
#include <span>

#include "graphics/bitmap.h"

namespace kiv {

struct TPngHeader {
  int Width = 0;
  int Height = 0;
  bool HasAlpha = false;  // an alpha channel or a transparent colour (tRNS)
};

// The header of the PNG in data, or nothing when it cannot be read or is larger than
// the player allows.
std::optional<TPngHeader> ReadPngHeader(std::span<const uint8_t> data);

// Decodes data into target, which has the picture's size and is Bgra32 for a picture
// with alpha, Bgr24 otherwise: palettes, grey and low bit depths are expanded, 16-bit
// samples scaled to 8 bits. Rows the data does not reach keep their contents. True
// when every row decoded.
bool DecodePng(std::span<const uint8_t> data, TBitmap& target);

}  // namespace kiv
