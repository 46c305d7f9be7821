#pragma once
// Seeing an object's plane from the camera: which side the camera is on, and where the
// ray from the camera through a screen point meets the plane.
#include <optional>

#include "model/object_placement.h"

namespace kiv {

// Whether the camera is on the side the plane's normal (x axis × y axis) points to.
// An object facing the viewer unturned has the camera on its negative side.
bool CameraOnPositiveSide(const TPlacementFrame& frame, const TVector3& camera);

// The point of frame's plane that shows at screen point (x, y) (the screen is the plane
// z = 0), in the frame's own coordinates along its x and y axes. None when the camera
// lies in the screen plane, the ray runs along the object's plane or meets it behind the
// camera, or the frame is flat (not invertible).
std::optional<TPointF> ScreenPointOnPlane(const TPlacementFrame& frame, const TVector3& camera, float x, float y);

}  // namespace kiv
