#include "render/transitions/slide_effect_filter.h"

#include "render/drawer/drawer_3d.h"

namespace kiv {

TSlideEffectFilter::TSlideEffectFilter(int effectClass, int effectType, const TEffectParams& params, const TRect& rect,
                                       int softEdge, int32_t duration, std::unique_ptr<IEffectSlide> slide)
    : TTransitionFilter(effectClass, effectType, params, rect, softEdge, duration), FSlide(std::move(slide)) {}

void TSlideEffectFilter::SetTime(double t) {
  TTransitionFilter::SetTime(t);
  FSlide->SetProgress(Progress());
}

void TSlideEffectFilter::DrawEffect(T3DDrawer& drawer, TEffectSlide) { drawer.Draw(FSlide->Item()); }

}  // namespace kiv
