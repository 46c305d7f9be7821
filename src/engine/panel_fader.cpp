#include "engine/panel_fader.h"

#include <algorithm>
#include <cmath>

#include "base/clock.h"

namespace kiv {

bool TPanelFader::Update(bool hide) {
  const uint32_t now = Clock().NowMs();
  const double before = FOpacity;
  if (hide != FHiding) {
    // The new fade takes the part of its full time that the way left asks for.
    FHiding = hide;
    FFrom = FOpacity;
    FStart = now;
    const double left = hide ? FOpacity / 100 : 1 - FOpacity / 100;
    FDuration = uint32_t(std::lround((hide ? FFadeOut : FFadeIn) * left));
  }
  const double target = FHiding ? 0 : 100;
  if (FDuration == 0) {
    FOpacity = target;
  } else {
    const double progress = std::min(1.0, double(uint32_t(now - FStart)) / FDuration);
    FOpacity = FFrom + (target - FFrom) * progress;
  }
  return std::abs(FOpacity - before) > 0.001;
}

void TPanelFader::HideNow() {
  FHiding = true;
  FOpacity = 0;
  FDuration = 0;
}

}  // namespace kiv
