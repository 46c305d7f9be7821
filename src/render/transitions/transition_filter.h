#pragma once
// What every transition object keeps: the slide change's class, type and parameters,
// the slide area it plays on, its soft edge, its duration and the time reached.
#include <cstdint>

#include "base/rect.h"
#include "render/drawer/draw_filter.h"
#include "render/drawer/effect_params.h"

namespace kiv {

class TTransitionFilter : public TDrawFilter {
 public:
  // rect: the slide area on the frame; softEdge: the soft edge's width in pixels.
  TTransitionFilter(int effectClass, int effectType, const TEffectParams& params, const TRect& rect, int softEdge,
                    int32_t duration);

  int EffectClass() const { return FClass; }
  int EffectType() const { return FType; }
  const TEffectParams& Params() const { return FParams; }
  const TRect& Rect() const { return FRect; }
  int SoftEdge() const { return FSoftEdge; }
  int32_t Duration() const { return FDuration; }

  // Kept within [0, duration].
  void SetTime(double t) override;
  double Time() const { return FTime; }
  // Time / duration, 0 … 1 (1 without duration).
  double Progress() const;

  bool Reverse() const override { return FReverse; }
  void SetReverse(bool reverse) { FReverse = reverse; }

 private:
  int FClass;
  int FType;
  TEffectParams FParams;
  TRect FRect;
  int FSoftEdge;
  int32_t FDuration;
  double FTime = 0;
  bool FReverse = false;
};

}  // namespace kiv
