#include "render/drawer/kiv_filter.h"

#include <mutex>

namespace kiv {

namespace {

struct TFactoryHook {
  std::mutex Lock;
  TTransitionFactory Factory;
};

TFactoryHook& FactoryHook() {
  static TFactoryHook hook;
  return hook;
}

}  // namespace

void SetTransitionFactory(TTransitionFactory factory) {
  TFactoryHook& hook = FactoryHook();
  std::lock_guard lock(hook.Lock);
  hook.Factory = std::move(factory);
}

TKivFilter::TKivFilter(int effectClass, int effectType, const TEffectParams& params, int32_t duration)
    : FClass(effectClass),
      FType(effectType),
      FParams(params),
      FDuration(duration),
      FTimeScale(duration > 0 ? 1.0 / duration : 0.0) {}

TKivFilter::~TKivFilter() = default;

TDrawFilter* TKivFilter::Transition(const TRect& rect) {
  if (FTransitionAsked) return FTransition.get();
  FTransitionAsked = true;
  TTransitionFactory factory;
  {
    TFactoryHook& hook = FactoryHook();
    std::lock_guard lock(hook.Lock);
    factory = hook.Factory;
  }
  if (factory) FTransition = factory(*this, rect);
  return FTransition.get();
}

}  // namespace kiv
