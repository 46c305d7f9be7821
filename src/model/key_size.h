#pragma once
// The own size of an object as show data gives it ("Size", "BlackBoxSize").
#include <algorithm>

#include "ini/ini_values.h"
#include "model/object_placement.h"

namespace kiv {

// Negative sides count as 0, so a damaged value never turns an object inside out.
inline TSizeF KeySize(const TIniPoint& size) { return {float(std::max(size.X, 0)), float(std::max(size.Y, 0))}; }

}  // namespace kiv
