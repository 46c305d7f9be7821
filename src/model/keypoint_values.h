#pragma once
// The animated parameters of a slide object: what a keypoint pins to a moment of its
// slide, and what the keypoint list blends for the time being shown.
#include <array>
#include <cstdint>

#include "base/rect.h"

namespace kiv {

// Show data writes angles in degrees; they are held in radians.
constexpr double kRadiansPerDegree = 0.017453292519943295769;


// The moment of its slide that a keypoint's time counts from.
enum class TKeyOrigin : uint8_t {
  SlideBegin = 0,       // the transition into the slide starts
  PrevEffectEnd = 1,    // the transition in is over
  NextEffectBegin = 2,  // the transition out starts
  SlideEnd = 3,         // the slide has left the screen
};

struct TKeyValues {
  float Opacity = 100;  // %
  float Angle = 0;      // radians, in the picture plane
  float ScaleX = 100;   // %
  float ScaleY = 100;   // %
  TPointF Position;     // in the units of the object's position mode
  float ZPos = 0;
  TPointF CenterPos;  // the rotation and scale centre
  // No project key sets these; they travel from the list into new keypoints and back.
  std::array<uint32_t, 4> Carried{};
  float AngleX = 0;  // radians, about the horizontal axis
  float AngleY = 0;  // radians, about the vertical axis
  float Blur = 0;
};

}  // namespace kiv
