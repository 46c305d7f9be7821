#include "model/key_points.h"

#include "model/kiv_params.h"

namespace kiv {

double TKeyPoints::OriginTime(TKeyOrigin origin) const { return FHolder.OriginTime(origin); }

}  // namespace kiv
