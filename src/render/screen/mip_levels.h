#pragma once
// The pixels of one mip level from the level above.
#include "graphics/bitmap.h"

namespace kiv {

// Fills target (Bgra32) from source (Bgra32): each target pixel is the mean of the
// 2 x 2 block under it when target is exactly half of source, otherwise the
// area-weighted mean of the source pixels it covers.
void ReduceInto(const TBitmap& source, TBitmap& target);

}  // namespace kiv
