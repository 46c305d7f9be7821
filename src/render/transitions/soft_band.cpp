#include "render/transitions/soft_band.h"

namespace kiv {

namespace {

constexpr int kSteps = 14;
constexpr float kStepWidth = 18.214285f;  // 255 / 14

// How much of the shape has faded at x of 0 … 255 across the band.
float Fade(float x) { return x < 127.5f ? x * x / 128 : 255 - (255 - x) * (255 - x) / 128; }

}  // namespace

std::vector<TBandRing> SoftBandRings(float inner, float outer, float maximum) {
  std::vector<TBandRing> rings;
  const float width = outer - inner;
  float from = inner;
  float faded = 0;
  if (inner < 0) {
    from = 0;
    faded = Fade(-inner * 255 / width);
  }
  for (int i = 1; i <= kSteps; ++i) {
    const float x = kStepWidth * float(i);
    const float to = inner + x * width / 255;
    if (to <= 0 || to <= from) continue;
    if (to - from < 2 && i < kSteps) continue;
    if (from > maximum) break;
    rings.push_back({from, to, 255 - faded, 255 - Fade(x)});
    from = to;
    faded = Fade(x);
  }
  return rings;
}

}  // namespace kiv
