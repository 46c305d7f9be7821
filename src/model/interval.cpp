#include "model/interval.h"

#include <cmath>

namespace kiv {

bool TInterval::SoundPair(double s1, double s2) { return 0 <= s1 && s1 <= s2 && s2 <= 1; }

// std::nearbyint rounds halves to even in the default rounding mode.
bool TInterval::Eases() const { return std::nearbyint(S1 * 100) != 0 || std::nearbyint((1 - S2) * 100) != 0; }

}  // namespace kiv
