#include "render/transitions/transition_filter.h"

#include <algorithm>


namespace kiv {

TTransitionFilter::TTransitionFilter(int effectClass, int effectType, const TEffectParams& params, const TRect& rect,
                                     int softEdge, int32_t duration)
    : FClass(effectClass),
      FType(effectType),
      FParams(params),
      FRect(rect),
      FSoftEdge(std::max(0, softEdge)),
      FDuration(std::max<int32_t>(0, duration)) {}

void TTransitionFilter::SetTime(double t) { FTime = std::clamp(t, 0.0, double(FDuration)); }

double TTransitionFilter::Progress() const { return FDuration > 0 ? FTime / FDuration : 1.0; }

}  // namespace kiv
