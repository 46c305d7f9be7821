#include "render/transitions/overturn_effect.h"

#include <cmath>
#include <numbers>

#include "render/drawer/drawer_3d.h"
#include "render/drawer/render_target_effecter.h"
#include "render/screen/screen_3d.h"
#include "render/transitions/easing.h"

namespace kiv {

TOverturnEffect::TOverturnEffect(int effectClass, int effectType, const TEffectParams& params, const TRect& rect,
                                 int softEdge, int32_t duration, bool smooth, bool centred, float curving)
    : TTransitionFilter(effectClass, effectType, params, rect, softEdge, duration),
      FSmooth(smooth),
      FCentred(centred),
      FCurving(std::isfinite(curving) ? curving : 0) {}

double TOverturnEffect::Angle() const {
  const double p = Progress();
  return std::numbers::pi * (FSmooth ? Eased(p) : p);
}

int TOverturnEffect::Brightness() const { return int(std::lround(std::abs(std::cos(Angle())) * 155 + 100)); }

void TOverturnEffect::DrawEffect(T3DDrawer& drawer, TEffectSlide) {
  TRenderTargetEffecter* effecter = drawer.Effecter();
  if (!effecter) return;
  const TRect& area = Rect();
  const bool vertical = EffectType() != 3 && EffectType() != 4;  // the axis the card turns about
  const float sense = EffectType() == 2 || EffectType() == 4 ? -1.0f : 1.0f;
  const double angle = Angle();
  const float half = float(vertical ? area.Width() : area.Height()) / 2;
  // Past edge-on the card shows its other face the right way round: the extent stays
  // positive and the receding edge changes sides.
  const float extent = float(std::abs(std::cos(angle))) * half;
  const float depth = float(std::sin(angle)) * half * FCurving * sense;
  const bool secondHalf = angle > std::numbers::pi / 2;
  const float lead = FCentred ? -depth : std::abs(depth) - depth;
  const float trail = FCentred ? depth : std::abs(depth) + depth;
  const float nearZ = secondHalf ? trail : lead;  // the left (top) edge
  const float farZ = secondHalf ? lead : trail;   // the right (bottom) edge
  const float middleX = float(area.Left + area.Right) / 2;
  const float middleY = float(area.Top + area.Bottom) / 2;
  TVector3 origin, xAxis, yAxis;
  if (vertical) {
    origin = {middleX - extent, float(area.Top), nearZ};
    xAxis = {2 * extent, 0, farZ - nearZ};
    yAxis = {0, float(area.Height()), 0};
  } else {
    origin = {float(area.Left), middleY - extent, nearZ};
    xAxis = {float(area.Width()), 0, 0};
    yAxis = {0, 2 * extent, farZ - nearZ};
  }
  const uint32_t level = uint32_t(Brightness());
  const uint32_t colour = 0xFF000000u | level << 16 | level << 8 | level;
  drawer.Screen().DrawQuad(&effecter->Current(), origin, xAxis, yAxis, effecter->Texels(area),
                           {colour, colour, colour, colour}, {1, 1, 1, 1});
}

}  // namespace kiv
