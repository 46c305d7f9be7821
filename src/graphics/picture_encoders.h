#pragma once
// Pictures written as the bytes of a file: a BMP (24-bit, bottom-up, no compression) for
// slides saved by the user, a PNG (8-bit RGB, no time stamp) for pages sent to a printer.
#include <cstdint>
#include <vector>

#include "graphics/bitmap.h"

namespace kiv {

// The BMP file of picture (any format that converts to Bgr24); empty when it cannot be
// converted.
std::vector<uint8_t> EncodeBmp(const TBitmap& picture);

// The PNG file of picture (Bgr24 or Bgra32, alpha dropped); empty when libpng fails.
std::vector<uint8_t> EncodePng(const TBitmap& picture);

}  // namespace kiv
