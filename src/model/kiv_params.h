#pragma once
// A drawable holder of animated parameters: it owns the keypoints and tells them when
// their origins are.
#include "model/key_points.h"
#include "render/drawer/draw_item.h"

namespace kiv {

class TKivParams : public TDrawItem {
 public:
  TKivParams() : FKeyPoints(*this) {}

  // The show time of a moment of the holder's slide.
  virtual double OriginTime(TKeyOrigin origin) const = 0;

  TKeyPoints& KeyPoints() { return FKeyPoints; }
  const TKeyPoints& KeyPoints() const { return FKeyPoints; }
  // The values at the time last evaluated.
  const TKeyValues& Current() const { return FKeyPoints.Current(); }

 private:
  TKeyPoints FKeyPoints;
};

}  // namespace kiv
