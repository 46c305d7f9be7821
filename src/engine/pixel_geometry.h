#pragma once
// Sizes in screen pixels; rectangles are TRect.
#include <cstdint>

#include "base/rect.h"

namespace kiv {

struct TPixelSize {
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const TPixelSize&) const = default;
};

}  // namespace kiv
