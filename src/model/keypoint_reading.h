#pragma once
// A keypoint as the project writes it: an object whose value is "keypoint", with its
// "Time" and "Origin" and the values it pins.
#include "ini/ini_ident_list.h"
#include "model/keypoint_list.h"

namespace kiv {

// Adds the keypoint of "Time" (ms, default 0) and "Origin" (one of "SlideBegin",
// "PrevEffectEnd", "NextEffectBegin", "SlideEnd" ignoring case; default "SlideBegin").
TKeyPoint& AddKeyPointFrom(const TIniIdentList& section, TKeyPointList& list);

// Reads "Opacity", "Angle", "ScaleX", "ScaleY", "Position", "CenterPos", "AngleX",
// "AngleY", "ZPos" and "Blur" into values, angles from degrees; every absent or bad key
// takes its fixed default (not the previous keypoint's value). The carried values stay.
void ReadKeyValues(const TIniIdentList& section, TKeyValues& values);

}  // namespace kiv
