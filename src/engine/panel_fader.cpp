#include "engine/panel_fader.h"

#include <algorithm>
#include <cmath>

#include "base/clock.h"

namespace kiv {

// Times compare as differences, so that a clock wrapping like a tick counter does not
// matter.
bool TPanelFader::Update(bool hide, uint32_t since) {
  const uint32_t now = Now();
  const double before = FOpacity;
  // Not in the future, and not before the opacity was last worked out.
  uint32_t start = int32_t(now - since) < 0 ? now : since;
  if (FLooked && int32_t(start - FLastLook) < 0) start = FLastLook;
  FLooked = true;
  FLastLook = now;
  if (hide != FHiding) {
    // The new fade takes the part of its full time that the way left asks for.
    FHiding = hide;
    FFrom = FOpacity;
    FStart = start;
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
