#pragma once
// Halving a picture for the next detail level, for stores that decode full size only;
// stretching and cropping pictures for snapshots and printed pages.
#include <memory>

#include "graphics/bitmap.h"

namespace kiv {

// source at half its width and height (rounded up), each pixel the mean of the up to
// four pixels it covers, one mip level further; null for formats other than Bgr24 and
// Bgra32. In Bgra32 the colours are weighted by their alpha, so that the colour of
// fully transparent pixels does not bleed into their visible neighbours.
std::unique_ptr<TBitmap> HalveBitmap(const TBitmap& source);

// source (Bgr24 or Bgra32) stretched or shrunk to width x height, in its own format: each
// pixel the bilinear blend of the four source pixels around its centre, or the mean of
// the source pixels it covers when shrinking to less than half. Null for other formats
// or a size that is not allowed.
std::unique_ptr<TBitmap> StretchBitmap(const TBitmap& source, int width, int height);

// The part of source (Bgr24 or Bgra32) within rect, clipped to the picture; null when
// nothing of it lies within.
std::unique_ptr<TBitmap> CropBitmap(const TBitmap& source, int left, int top, int width, int height);

}  // namespace kiv
