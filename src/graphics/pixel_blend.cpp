#include "graphics/pixel_blend.h"

#include <algorithm>

namespace kiv {

namespace {

uint8_t ToByte(int64_t value) { return uint8_t(std::clamp<int64_t>(value, 0, 255)); }

}  // namespace

void BlendOver(uint8_t* bgra, uint32_t colour) {
  const int sa = int(colour >> 24);
  if (sa == 0) return;
  const int da = bgra[3];
  const int source[3] = {int(colour & 0xFF), int(colour >> 8 & 0xFF), int(colour >> 16 & 0xFF)};
  if (sa == 255 || da == 0) {
    bgra[0] = uint8_t(source[0]), bgra[1] = uint8_t(source[1]), bgra[2] = uint8_t(source[2]);
    bgra[3] = uint8_t(sa);
    return;
  }
  if (da == 255) {
    // An opaque pixel stays opaque: each channel moves towards the colour by its alpha.
    for (int c = 0; c < 3; ++c) bgra[c] = ToByte(bgra[c] + (sa * (source[c] - bgra[c]) >> 8));
    return;
  }
  // Both translucent: the result's alpha is the union of both, its colour the sum of
  // both weighted by what each contributes, divided by that alpha (as a reciprocal).
  const int fa = sa + da - (da * sa >> 8);
  const int64_t reciprocal = 65536 / fa;
  for (int c = 0; c < 3; ++c) {
    const int weighted = da * bgra[c];
    bgra[c] = ToByte(reciprocal * (weighted + sa * (source[c] - weighted / 256)) >> 16);
  }
  bgra[3] = uint8_t(fa >= 256 ? 255 : fa);
}

}  // namespace kiv
