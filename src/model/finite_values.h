#pragma once
// Numbers of show data that the model computes with. A value that is absent, does not
// parse, or is too large to compute with takes the default, so placement and animation
// never see infinities from a damaged project.
#include <string_view>

#include "ini/ini_ident_list.h"
#include "model/keypoint_values.h"

namespace kiv {

// Times of a slide lie well inside this many ms (about 31 years).
constexpr double kMaxShowTime = 1e12;

// A float within the float range.
float ReadFiniteFloat(const TIniIdentList& section, std::u16string_view name, float def);
// A time in ms within ±kMaxShowTime.
double ReadShowTime(const TIniIdentList& section, std::u16string_view name, double def);
// "x,y" with both parts within the float range.
TPointF ReadFinitePoint(const TIniIdentList& section, std::u16string_view name, TPointF def);

}  // namespace kiv
