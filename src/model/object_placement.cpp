#include "model/object_placement.h"

#include <algorithm>
#include <cmath>

namespace kiv {

bool TPlacementFrame::SamePlace(const TPlacementFrame& other) const {
  return Origin == other.Origin && AxisX == other.AxisX && AxisY == other.AxisY && AxisZ == other.AxisZ;
}

TVector3 TPlacementFrame::PointAt(const TVector3& local) const {
  return Origin + AxisX * local.X + AxisY * local.Y + AxisZ * local.Z;
}

// Cramer's rule with the stored inverse determinant.
TVector3 TPlacementFrame::LocalOf(const TVector3& point) const {
  const TVector3 d = point - Origin;
  return {float(Dot(d, Cross(AxisY, AxisZ)) * InverseDeterminant),
          float(Dot(d, Cross(AxisZ, AxisX)) * InverseDeterminant),
          float(Dot(d, Cross(AxisX, AxisY)) * InverseDeterminant)};
}

double FitFactor(TFitMode mode, TSizeF own, TSizeF parent) {
  if (mode == TFitMode::None) return 1;
  if (own.Width == 0 || own.Height == 0 || parent.Width == 0 || parent.Height == 0) return 0;
  const double byWidth = double(parent.Width) / own.Width;
  const double byHeight = double(parent.Height) / own.Height;
  return mode == TFitMode::Cover ? std::max(byWidth, byHeight) : std::min(byWidth, byHeight);
}

TPlacementMatrix LocalAxes(double scaleX, double scaleY, double angle, double angleX, double angleY) {
  const double cz = std::cos(angle), sz = std::sin(angle);
  const double cx = std::cos(angleX), sx = std::sin(angleX);
  const double cy = std::cos(angleY), sy = std::sin(angleY);
  const auto row = [](double x, double y, double z) { return TVector3{float(x), float(y), float(z)}; };
  return {
      row(scaleX * cy * cz, scaleX * cy * sz, scaleX * sy),
      row(scaleY * (sx * sy * cz - cx * sz), scaleY * (sx * sy * sz + cx * cz), -scaleY * sx * cy),
      row(-scaleY * (cx * sy * cz + sx * sz), scaleY * (sx * cz - cx * sy * sz), scaleY * cx * cy),
  };
}

TPlacementMatrix Compose(const TPlacementMatrix& local, const TPlacementMatrix& parent) {
  TPlacementMatrix result;
  for (size_t i = 0; i < 3; ++i)
    result[i] = parent[0] * local[i].X + parent[1] * local[i].Y + parent[2] * local[i].Z;
  return result;
}

TPlacementFrame MakeFrame(const TVector3& origin, const TPlacementMatrix& matrix, double depthScale) {
  const auto deepened = [depthScale](TVector3 axis) {
    axis.Z = float(axis.Z * depthScale);
    return axis;
  };
  TPlacementFrame frame{origin, deepened(matrix[0]), deepened(matrix[1]), deepened(matrix[2]), 0, false};
  const double determinant = Dot(frame.AxisX, Cross(frame.AxisY, frame.AxisZ));
  if (determinant != 0 && std::isfinite(1 / determinant)) {
    frame.InverseDeterminant = 1 / determinant;
    frame.Invertible = true;
  }
  return frame;
}

TVector3 PositionVector(TPositionMode mode, TPointF position, float zPos, TSizeF parent) {
  const double z = double(zPos) * parent.Height / 200;
  if (mode == TPositionMode::Absolute) return {position.X, position.Y, float(z)};
  return {float(position.X * 0.005 * parent.Width), float(position.Y * 0.005 * parent.Height), float(z)};
}

TPointF CentreOffset(TPositionMode mode, TPointF centre, TSizeF own) {
  const double halfWidth = own.Width / 2.0, halfHeight = own.Height / 2.0;
  if (mode == TPositionMode::Absolute) return {float(-centre.X - halfWidth), float(-centre.Y - halfHeight)};
  return {float(-own.Width * centre.X * 0.005 - halfWidth), float(-own.Height * centre.Y * 0.005 - halfHeight)};
}

}  // namespace kiv
