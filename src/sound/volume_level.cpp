#include "sound/volume_level.h"

#include <algorithm>
#include <cmath>

namespace kiv {

int32_t LevelFromFactor(float factor) {
  if (!(factor > 0)) return kSilentLevel;
  const double level = std::lround(-600.0 * std::log2(1.0 / double(factor)));
  return int32_t(std::clamp<double>(level, kSilentLevel, 0));
}

float FactorFromLevel(int32_t level) {
  if (level >= 0) return 1;
  if (level <= kSilentLevel) return 0;
  return float(std::exp2(level / 600.0));
}

float AmplitudeFromLevel(int32_t level) {
  if (level >= 0) return 1;
  if (level <= kSilentLevel) return 0;
  return float(std::pow(10.0, level / 2000.0));
}

}  // namespace kiv
