#include "model/smoother.h"

#include <algorithm>

namespace kiv {

void TSmoother::SetupMotion(double from, double to, double accelerating, double cruising, double decelerating) {
  const double a = std::max(accelerating, 0.0);
  const double k = std::max(cruising, 0.0);
  const double d = std::max(decelerating, 0.0);
  FFrom = from;
  FTo = to;
  FT1 = a;
  FT2 = a + k;
  FT3 = a + k + d;
  // The speeding-up and slowing-down phases each cover half of what cruising would, so
  // the distance is v × (k + T3) / 2.
  const double span = k + FT3;
  FSpeed = span > 0 ? 2 * (to - from) / span : 0;
  FValueAtT1 = from + a * FSpeed / 2;
  FValueAtT2 = FValueAtT1 + k * FSpeed;
  FInvAccelerating = a > 0 ? 1 / a : 0;
  FInvDecelerating = d > 0 ? 1 / d : 0;
}

double TSmoother::MotionValue(double elapsed) const {
  if (!(elapsed > 0)) return FFrom;
  if (elapsed < FT1) return FFrom + elapsed * elapsed * FInvAccelerating * FSpeed / 2;
  if (elapsed <= FT2) return FValueAtT1 + (elapsed - FT1) * FSpeed;
  if (elapsed >= FT3) return FTo;
  const double remaining = 1 - (elapsed - FT2) * FInvDecelerating;
  return FValueAtT2 + (1 - remaining * remaining) * (FT3 - FT2) * FSpeed / 2;
}

}  // namespace kiv
