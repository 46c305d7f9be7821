#include "model/finite_values.h"

#include <array>
#include <cmath>
#include <limits>

namespace kiv {

namespace {

bool FitsFloat(double value) { return std::fabs(value) <= std::numeric_limits<float>::max(); }

}  // namespace

float ReadFiniteFloat(const TIniIdentList& section, std::u16string_view name, float def) {
  const double value = section.ReadFloat(name, def);
  return FitsFloat(value) ? float(value) : def;
}

double ReadShowTime(const TIniIdentList& section, std::u16string_view name, double def) {
  const double value = section.ReadFloat(name, def);
  return std::fabs(value) <= kMaxShowTime ? value : def;
}

TPointF ReadFinitePoint(const TIniIdentList& section, std::u16string_view name, TPointF def) {
  std::array<double, 2> parts{};
  if (section.ReadFloats(name, parts) != 2 || !FitsFloat(parts[0]) || !FitsFloat(parts[1])) return def;
  return {float(parts[0]), float(parts[1])};
}

}  // namespace kiv
