#pragma once
// The transition of one slide change: class, type and parameters of the effect, its
// duration and the time reached inside it, and the transition object, made on first use
// by the installed transition factory and kept until the filter goes.
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "base/rect.h"
#include "render/drawer/draw_filter.h"
#include "render/drawer/effect_params.h"
#include "render/drawer/effect_slide.h"

namespace kiv {

// The effect slide of a show's own transition file, made for a slide area of size;
// none when the file is missing or unreadable.
using TEffectSlideSource = std::function<std::unique_ptr<IEffectSlide>(std::u16string_view file, TPixelSize size)>;

class TKivFilter {
 public:
  TKivFilter(int effectClass, int effectType, const TEffectParams& params, int32_t duration);
  ~TKivFilter();
  TKivFilter(const TKivFilter&) = delete;
  TKivFilter& operator=(const TKivFilter&) = delete;

  int EffectClass() const { return FClass; }
  int EffectType() const { return FType; }
  const TEffectParams& Params() const { return FParams; }
  int32_t Duration() const { return FDuration; }
  // 1 / duration; 0 without duration.
  double TimeScale() const { return FTimeScale; }

  // t: ms since the change began.
  void SetTime(double t) { FTime = t; }
  double Time() const { return FTime; }
  // 0 ≤ t < duration.
  bool Running() const { return FTime >= 0 && FTime < FDuration; }
  double Progress() const { return FTime * FTimeScale; }

  // Where a custom transition (class 18) finds its effect slides.
  void SetEffectSlides(TEffectSlideSource source) { FEffectSlides = std::move(source); }
  const TEffectSlideSource& EffectSlides() const { return FEffectSlides; }

  // The transition object for the slide rectangle rect, made at the first call; null
  // when the factory makes none.
  TDrawFilter* Transition(const TRect& rect);

 private:
  int FClass;
  int FType;
  TEffectParams FParams;
  int32_t FDuration;
  double FTimeScale;
  double FTime = 0;
  bool FTransitionAsked = false;
  TEffectSlideSource FEffectSlides;
  std::unique_ptr<TDrawFilter> FTransition;
};

// Makes the transition object of a slide change for the slide rectangle rect, or none.
using TTransitionFactory = std::function<std::unique_ptr<TDrawFilter>(const TKivFilter& filter, const TRect& rect)>;

// Installs the process's transition factory; an empty one makes no transition objects
// (the outgoing slide then stays until the change ends).
void SetTransitionFactory(TTransitionFactory factory);

}  // namespace kiv
