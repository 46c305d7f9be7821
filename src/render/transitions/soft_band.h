#pragma once
// The soft edge of a growing shape: rings from the shape's opaque core outwards, each
// blending from the opacity at its inner side to the one at its outer side along a
// fixed S-shaped curve.
#include <vector>

namespace kiv {

struct TBandRing {
  float From = 0;  // distances from the shape's centre
  float To = 0;
  float AlphaInside = 255;  // the shape's opacity at From and at To, 0 … 255
  float AlphaOutside = 0;
};

// The rings between inner (the opaque core's reach; may be negative) and outer (the
// shape's reach), none starting beyond maximum. Steps narrower than 2 pixels are merged
// into the next one, so a thin band is drawn in few rings.
std::vector<TBandRing> SoftBandRings(float inner, float outer, float maximum);

}  // namespace kiv
