#pragma once
// Where an object lies in the slide space: its size fitted into its parent, scaled and
// turned by its current values, composed with its parent's placement, and moved to its
// position along the parent's axes.
#include <array>
#include <cstdint>

#include "model/keypoint_values.h"
#include "base/vector3.h"

namespace kiv {

// How an object's own size is fitted into its parent's ("FitMode").
enum class TFitMode : uint8_t {
  None = 0,       // natural size
  PlaceInto = 1,  // the whole object inside the parent
  Cover = 2,      // the parent covered by the object
};

// Units of a position or a centre ("PosMode", "CenterMode").
enum class TPositionMode : uint8_t {
  Absolute = 0,  // pixels
  Percent = 1,   // percent of the half size, measured from the middle
};

struct TSizeF {
  float Width = 0;
  float Height = 0;
  bool operator==(const TSizeF&) const = default;
};

// Rows: the object's x, y and z axes, scale included (row vectors).
using TPlacementMatrix = std::array<TVector3, 3>;
constexpr TPlacementMatrix kIdentityPlacement = {TVector3{1, 0, 0}, TVector3{0, 1, 0}, TVector3{0, 0, 1}};

// The origin (the object's pivot) and the three axes in slide space.
struct TPlacementFrame {
  TVector3 Origin;
  TVector3 AxisX{1, 0, 0};
  TVector3 AxisY{0, 1, 0};
  TVector3 AxisZ{0, 0, 1};
  double InverseDeterminant = 1;
  bool Invertible = true;

  // Whether origin and axes are the same (the derived values follow from them).
  bool SamePlace(const TPlacementFrame& other) const;
  // origin + x·AxisX + y·AxisY + z·AxisZ.
  TVector3 PointAt(const TVector3& local) const;
  // The inverse of PointAt; only for an invertible frame.
  TVector3 LocalOf(const TVector3& point) const;
};

// The fit factor k of own size into parent size: "None" 1, "PlaceInto" the smaller and
// "Cover" the larger of the two side ratios; 0 when a side is 0.
double FitFactor(TFitMode mode, TSizeF own, TSizeF parent);

// The local axes for scales (factors, fit included) and the three angles (radians).
TPlacementMatrix LocalAxes(double scaleX, double scaleY, double angle, double angleX, double angleY);

// local × parent: the local axes expressed in the parent's space.
TPlacementMatrix Compose(const TPlacementMatrix& local, const TPlacementMatrix& parent);

// The frame of origin and matrix, with the z components of the axes multiplied by the
// slide's depth scale.
TPlacementFrame MakeFrame(const TVector3& origin, const TPlacementMatrix& matrix, double depthScale);

// The position of a pivot along its parent's axes: (x, y) in pixels or in percent of
// the parent's half size; z = zPos × parent height / 200.
TVector3 PositionVector(TPositionMode mode, TPointF position, float zPos, TSizeF parent);

// The top-left corner relative to the pivot, in own pixels: centre 0,0 is the middle;
// in percent −100 is the left or top edge and 100 the right or bottom edge, in absolute
// mode the centre is a distance in pixels from the middle.
TPointF CentreOffset(TPositionMode mode, TPointF centre, TSizeF own);

}  // namespace kiv
