#include "render/transitions/transition_filter.h"

#include <algorithm>

#include "render/drawer/drawer_3d.h"
#include "render/drawer/effecter.h"

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

void TTransitionFilter::DrawEffect(T3DDrawer& drawer, TEffectSlide) {
  TRenderTargetD3DEffecter* effecter = drawer.Effecter();
  if (!effecter) return;
  const TRect& from = effecter->Rect();
  TEffectCanvas canvas(drawer.Screen(), effecter->Current(), {float(from.Left), float(from.Top)}, FRect);
  Draw(canvas);
}

}  // namespace kiv
