#include "render/transitions/transition_factory.h"

#include <cmath>

#include "model/effect_options.h"
#include "model/slide_effect.h"
#include "render/transitions/broom_effect.h"
#include "render/transitions/clock_effect.h"
#include "render/transitions/fade_filter.h"
#include "render/transitions/overturn_effect.h"
#include "render/transitions/random_filter.h"
#include "render/transitions/roll_effect.h"
#include "render/transitions/shape_filters.h"
#include "render/transitions/slide_effect_filter.h"
#include "render/transitions/slide_filter.h"
#include "render/transitions/two_slides_effect.h"

namespace kiv {

namespace {

constexpr TPointF kMiddle{0.5f, 0.5f};

// What every transition is made with.
struct TTransitionBase {
  int Class;
  int Type;
  const TEffectParams& Params;
  const TRect& Rect;
  int SoftEdge;
  int32_t Duration;
};

template <class TFilter, class... TMore>
std::unique_ptr<TDrawFilter> Make(const TTransitionBase& b, bool reverse, TMore... more) {
  auto filter = std::make_unique<TFilter>(b.Class, b.Type, b.Params, b.Rect, b.SoftEdge, b.Duration, more...);
  filter->SetReverse(reverse);
  return filter;
}

std::unique_ptr<TDrawFilter> Fade(const TTransitionBase& b) { return Make<TFadeFilter>(b, false); }

std::unique_ptr<TDrawFilter> Strips(const TTransitionBase& b, TPointF across, TPointF down, bool reverse) {
  if (b.Type <= 2) return Make<THLines>(b, reverse, across);
  return Make<TVLines>(b, reverse, down);
}

// How many types a class has, numbered from 1; 0 for a class whose type does not matter.
int TypeCount(int effectClass) {
  switch (effectClass) {
    case 3:
    case 4:
    case 5:
    case 6: return 2;
    case 7:
    case 8:
    case 9:
    case 10:
    case 12:
    case 13:
    case 16:
    case 17: return 4;
    case 11: return 16;
    case 14:
    case 15: return 8;
    default: return 0;
  }
}

}  // namespace

std::unique_ptr<TDrawFilter> CreateTransition(const TRect& rect, int effectClass, int effectType,
                                              const TEffectParams& params, int32_t duration) {
  if (effectClass <= 0) return nullptr;
  const float softFraction = std::isfinite(params.SoftEdge) ? params.SoftEdge : 0;
  const TTransitionBase b{effectClass, effectType, params, rect,
                          int(std::lround(float(rect.Width()) * softFraction)), duration};
  const int type = effectType;
  const int types = TypeCount(effectClass);
  if (types > 0 && (type < 1 || type > types)) return Fade(b);
  const bool mirrored = type == 3 || type == 4;
  switch (effectClass) {
    case 1: {
      const int spread = params.MosaicSpread < 100 ? params.MosaicSpread : 1000;
      return Make<TRandomFilter>(b, false, params.MosaicColumns, params.MosaicRows, spread,
                                 uint32_t(params.RandomSeed));
    }
    case 3: return Make<TClockEffect>(b, false);
    case 4:
      return Make<TCircleFilter>(b, type == 1, TPointF{float(params.CenterX) / 100, float(params.CenterY) / 100});
    case 5: return Make<TRhombFilter>(b, type == 1, kMiddle);
    case 6: return Make<TSquareFilter>(b, type == 1, kMiddle);
    case 7: return Strips(b, kMiddle, kMiddle, type == 1 || type == 3);
    case 8: return Make<TDiagLines>(b, type == 1 || type == 3, 1, mirrored);
    case 9: return Strips(b, {type == 2 ? 1.0f : 0.0f, 0.5f}, {0.5f, type == 4 ? 1.0f : 0.0f}, false);
    case 10: return Make<TDiagLines>(b, false, type == 1 || type == 3 ? 0 : 2, mirrored);
    case 11: {
      const float fraction = std::isfinite(params.BroomOffset) ? params.BroomOffset : 0;
      return Make<TBroomEffect>(b, type > 8, float(rect.Width() + rect.Height()) / 2 * fraction);
    }
    case 12: return Make<TPushFilter>(b, false);
    case 13: return Make<TSlideFilter>(b, false);
    case 14:
    case 15: {
      const float diameter = float(rect.Width()) * (std::isfinite(params.RollDiameter) ? params.RollDiameter : 0);
      return Make<TRollEffect>(b, type > 4, diameter, params.RollVariants, params.RollUseBackColor,
                               params.RollBackColor, params.Roll3D, params.RollCurving);
    }
    case 16:
      return Make<TOverturnEffect>(b, false, params.FlipSmooth, params.FlipCenter, params.FlipCurving);
    case 17:
      return Make<TTwoSlidesEffect>(b, false, params.SwapWidth, params.SwapDepth, params.SwapMaxAngle);
    default: return Fade(b);
  }
}

std::unique_ptr<TDrawFilter> CreateTransition(const TKivFilter& filter, const TRect& rect) {
  if (filter.EffectClass() == kCustomEffectClass && filter.EffectSlides()) {
    const std::u16string file = ChosenEffectFile(filter.Params().CustomEffect, uint32_t(filter.Params().RandomSeed));
    const TPixelSize area{rect.Width(), rect.Height()};
    if (std::unique_ptr<IEffectSlide> slide = file.empty() ? nullptr : filter.EffectSlides()(file, area))
      return std::make_unique<TSlideEffectFilter>(filter.EffectClass(), filter.EffectType(), filter.Params(), rect, 0,
                                                  filter.Duration(), std::move(slide));
  }
  return CreateTransition(rect, filter.EffectClass(), filter.EffectType(), filter.Params(), filter.Duration());
}

TTransitionFactory StandardTransitions() {
  return [](const TKivFilter& filter, const TRect& rect) { return CreateTransition(filter, rect); };
}

}  // namespace kiv
