#pragma once
// The keypoint list of one slide object: its origins are the moments of that object's
// slide.
#include "model/keypoint_list.h"

namespace kiv {

class TKivParams;

class TKeyPoints : public TKeyPointList {
 public:
  explicit TKeyPoints(const TKivParams& holder) : FHolder(holder) {}
  double OriginTime(TKeyOrigin origin) const override;

 private:
  const TKivParams& FHolder;
};

}  // namespace kiv
