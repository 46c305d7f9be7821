#pragma once
// Halving a picture for the next detail level, for stores that decode full size only.
#include <memory>

#include "graphics/bitmap.h"

namespace kiv {

// source at half its width and height (rounded up), each pixel the mean of the up to
// four pixels it covers, one mip level further; null for formats other than Bgr24 and
// Bgra32. In Bgra32 the colours are weighted by their alpha, so that the colour of
// fully transparent pixels does not bleed into their visible neighbours.
std::unique_ptr<TBitmap> HalveBitmap(const TBitmap& source);

}  // namespace kiv
