#pragma once
// Run-length coded BMP pixel data (8-bit and 4-bit indexes).
#include <span>

#include "graphics/bitmap.h"
#include "graphics/bmp_layout.h"

namespace kiv {

// Expands the coded pixel data of file (layout Rle8 or Rle4) into target, a Bgr24 bitmap
// of the layout's size. Pixels the data leaves out stay black. Runs and moves past the
// end of a row are cut there; the data ends at its end-of-picture mark, at a move past
// the last row, or where the file ends.
void DecodeBmpRle(std::span<const uint8_t> file, const TBmpLayout& layout, TBitmap& target);

}  // namespace kiv
