#pragma once
// The corner colours of boxes and the opacity of what the drawer draws.
#include <cstdint>

#include "render/drawer/device_drawer.h"
#include "render/screen/nine_grid.h"

namespace kiv {

// colour (0xAARRGGBB) with its alpha times percent / 100, rounded, when percent is
// below 100; percent 100 and above keep it.
uint32_t ScaleAlpha(uint32_t colour, float percent);

// The channel-wise mean of two colours, alpha included.
uint32_t MeanColour(uint32_t a, uint32_t b);

// The corner colours (top-left, top-right, bottom-left, bottom-right) of a box by its
// kind, alpha scaled by its opacity. Kinds 0 … 3 put colour 1 in the top-left,
// top-right, bottom-right and bottom-left corner, colour 2 opposite and the mean in the
// two others; kinds 4 … 7 put colour 1 on the right, top, left and bottom edge and
// colour 2 on the opposite one; kind 8 is colour 1 everywhere. A kind above 8 is an
// assertion.
TCornerColours BoxCornerColours(const TBoxParams& box);

}  // namespace kiv
