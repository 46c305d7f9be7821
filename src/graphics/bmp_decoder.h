#pragma once
// Decoding of whole BMP files held in memory.
#include <memory>
#include <span>

#include "graphics/bitmap.h"
#include "graphics/bmp_layout.h"

namespace kiv {

// The picture of file as layout (read from the same bytes) describes, at level 0: palette
// and run-length pictures as Bgr24, 16-bit ones as Rgb555 or Rgb565, the others as
// stored. A 32-bit picture whose alpha is zero everywhere was written without alpha and
// comes out opaque.
std::unique_ptr<TBitmap> DecodeBmpPixels(std::span<const uint8_t> file, const TBmpLayout& layout);

// Layout and pixels in one step; null when the file is refused.
std::unique_ptr<TBitmap> DecodeBmp(std::span<const uint8_t> file);

}  // namespace kiv
