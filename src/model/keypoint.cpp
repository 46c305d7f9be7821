#include "model/keypoint.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/keypoint_list.h"

namespace kiv {

namespace {

bool PointsDiffer(TPointF a, TPointF b) { return ValuesDiffer(a.X, b.X) || ValuesDiffer(a.Y, b.Y); }

bool AnyValueDiffers(const TKeyValues& a, const TKeyValues& b) {
  return ValuesDiffer(a.Opacity, b.Opacity) || ValuesDiffer(a.Angle, b.Angle) || ValuesDiffer(a.ScaleX, b.ScaleX) ||
         ValuesDiffer(a.ScaleY, b.ScaleY) || PointsDiffer(a.Position, b.Position) || ValuesDiffer(a.ZPos, b.ZPos) ||
         PointsDiffer(a.CenterPos, b.CenterPos) || a.Carried != b.Carried || ValuesDiffer(a.AngleX, b.AngleX) ||
         ValuesDiffer(a.AngleY, b.AngleY) || ValuesDiffer(a.Blur, b.Blur);
}

}  // namespace

bool ValuesDiffer(double a, double b) { return std::nearbyint(a * 10000) != std::nearbyint(b * 10000); }

TKeyPoint::TKeyPoint(TKeyPointList& list, uint64_t serial, TKeyOrigin origin, double time)
    : FList(list), FSerial(serial), FTime(std::isfinite(time) ? time : 0), FOrigin(origin) {}

void TKeyPoint::SetTime(double time) {
  if (!std::isfinite(time) || !ValuesDiffer(time, FTime)) return;
  FTime = time;
  FChanged = true;
  FList.KeyPointMoved();
}

void TKeyPoint::SetOrigin(TKeyOrigin origin) {
  if (origin == FOrigin) return;
  FOrigin = origin;
  FChanged = true;
  FList.KeyPointMoved();
}

double TKeyPoint::AbsoluteTime() const { return FList.OriginTime(FOrigin) + FTime; }

int32_t TKeyPoint::IntegerTime() const {
  const double time = std::trunc(AbsoluteTime());
  if (!(time == time)) return 0;
  return int32_t(std::clamp<double>(time, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

void TKeyPoint::SetValues(const TKeyValues& values) {
  TKeyValues taken = values;
  // Written so that a scale that is not a number is raised too.
  if (!(taken.ScaleX >= kMinScale)) taken.ScaleX = kMinScale;
  if (!(taken.ScaleY >= kMinScale)) taken.ScaleY = kMinScale;
  if (AnyValueDiffers(taken, FValues)) FChanged = true;
  FValues = taken;
}

}  // namespace kiv
