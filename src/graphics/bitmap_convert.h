#pragma once
// Conversion of a bitmap into another pixel format.
#include <memory>

#include "graphics/bitmap.h"

namespace kiv {

// A copy of source in format, or null when that conversion cannot be made. Every format
// converts to Bgr24 and Bgra32 (alpha 255 where the source has none); Bgra32 and Bgr24
// convert to Rgb555 and Rgb565. Nothing converts to Indexed8.
std::unique_ptr<TBitmap> ConvertBitmap(const TBitmap& source, TPixelFormat format);

}  // namespace kiv
