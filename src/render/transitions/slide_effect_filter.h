#pragma once
// A show's own transition: an animated effect slide, made from a small project among
// the show's files, played through the change; its pictures marked as effect buffers
// show the outgoing and the incoming slide.
#include <memory>

#include "render/drawer/effect_slide.h"
#include "render/transitions/transition_filter.h"

namespace kiv {

class TSlideEffectFilter : public TTransitionFilter {
 public:
  TSlideEffectFilter(int effectClass, int effectType, const TEffectParams& params, const TRect& rect, int softEdge,
                     int32_t duration, std::unique_ptr<IEffectSlide> slide);

  TEffectPass Pass() const override { return TEffectPass::Custom; }
  // The effect slide follows: progress p of the change is p of its own timeline.
  void SetTime(double t) override;
  void DrawEffect(T3DDrawer& drawer, TEffectSlide slide) override;

 private:
  std::unique_ptr<IEffectSlide> FSlide;
};

}  // namespace kiv
