#pragma once
// The show's logo brought to the size it is shown at: halved while it is at least twice
// that size, then resampled once.
#include <cstdint>
#include <memory>

#include "graphics/bitmap.h"

namespace kiv {

struct TScaledLogo {
  std::unique_ptr<TBitmap> Picture;  // null when there is nothing to show
  int32_t Halvings = 0;
};

// picture at targetHeight pixels high and its own aspect ratio; pictures with alpha
// stay Bgra32, the others become Bgr24. A target of no pixels, or an empty picture,
// gives nothing.
TScaledLogo ScaleLogo(const TBitmap& picture, int32_t targetHeight);

}  // namespace kiv
