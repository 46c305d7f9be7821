#include "model/hit_test.h"

#include <cmath>

namespace kiv {

bool CameraOnPositiveSide(const TPlacementFrame& frame, const TVector3& camera) {
  return Dot(Cross(frame.AxisX, frame.AxisY), camera - frame.Origin) >= 0;
}

std::optional<TPointF> ScreenPointOnPlane(const TPlacementFrame& frame, const TVector3& camera, float x, float y) {
  if (camera.Z == 0 || !frame.Invertible) return std::nullopt;
  const TVector3 direction = TVector3{x, y, 0} - camera;
  const TVector3 normal = Cross(frame.AxisX, frame.AxisY);
  const double along = Dot(normal, direction);
  // A ray that grazes the plane (within float rounding of edge-on) meets it nowhere useful.
  const double scale = std::sqrt(Dot(normal, normal) * Dot(direction, direction));
  if (!(std::fabs(along) > scale * 1e-6)) return std::nullopt;
  const double distance = Dot(normal, frame.Origin - camera) / along;
  if (!(distance > 0) || !std::isfinite(distance)) return std::nullopt;
  const TVector3 local = frame.LocalOf(camera + direction * distance);
  return TPointF{local.X, local.Y};
}

}  // namespace kiv
