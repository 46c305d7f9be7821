#pragma once
// The pieces of a transition's mask: convex polygons in screen pixels whose corners
// carry an alpha, blended linearly in between.
#include <vector>

#include "render/device/geometry_3d.h"

namespace kiv {

struct TMaskPoint {
  float X = 0;
  float Y = 0;
  float Alpha = 255;  // 0 … 255
};

using TMaskPolygon = std::vector<TMaskPoint>;

// The part of the convex polygon inside rect, with the alpha of each new corner blended
// from the edge it lies on; empty when nothing is inside.
TMaskPolygon ClipToRect(const TMaskPolygon& polygon, const TRectF& rect);

}  // namespace kiv
