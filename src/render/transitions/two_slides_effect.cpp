#include "render/transitions/two_slides_effect.h"

#include <cmath>
#include <numbers>

#include "render/drawer/drawer_3d.h"
#include "render/drawer/render_target_effecter.h"
#include "render/screen/screen_3d.h"
#include "render/transitions/easing.h"

namespace kiv {

namespace {

float Finite(float value, float fallback) { return std::isfinite(value) ? value : fallback; }

// A reflection fades from half opacity at the floor to nothing a third of the way up.
constexpr uint32_t kReflectionAtFloor = 0x80FFFFFFu;
constexpr uint32_t kReflectionTop = 0x00FFFFFFu;

}  // namespace

TTwoSlidesEffect::TTwoSlidesEffect(int effectClass, int effectType, const TEffectParams& params, const TRect& rect,
                                   int softEdge, int32_t duration, float width, float depth, float maxAngle)
    : TTransitionFilter(effectClass, effectType, params, rect, softEdge, duration),
      FWidth(Finite(width, 1)),
      FDepth(Finite(depth, 4)),
      FMaxAngle(Finite(maxAngle, 60) * std::numbers::pi_v<float> / 180) {}

void TTwoSlidesEffect::DrawEffect(T3DDrawer& drawer, TEffectSlide slide) {
  const float x = float(Eased(Progress()));
  // Type 1 sends the outgoing card to the right and brings the incoming one from the left.
  const float sense = EffectType() == 2 || EffectType() == 4 ? -1.0f : 1.0f;
  if (slide == TEffectSlide::Outgoing)
    DrawCard(drawer, x, sense);
  else
    DrawCard(drawer, 1 - x, -sense);
}

void TTwoSlidesEffect::DrawCard(T3DDrawer& drawer, float x, float sense) {
  TRenderTargetEffecter* effecter = drawer.Effecter();
  if (!effecter) return;
  const TRect& area = Rect();
  const bool sideways = EffectType() != 3 && EffectType() != 4;
  const float w = float(area.Width());
  const float h = float(area.Height());
  const float aside = std::sin(std::numbers::pi_v<float> * x) * (sideways ? w : h) * FWidth * sense;
  const float back = x * FDepth * h;
  // The edge the card swings towards stays nearest; the far edge tilts back.
  const float tilt = std::sin(x * FMaxAngle) * (sideways ? w : h);
  const float leadingBack = back, trailingBack = back + tilt;
  TVector3 origin{float(area.Left), float(area.Top), 0};
  TVector3 xAxis{w, 0, 0};
  TVector3 yAxis{0, h, 0};
  if (sideways) {
    origin.X += aside;
    origin.Z = sense > 0 ? trailingBack : leadingBack;  // the left edge
    xAxis.Z = (sense > 0 ? leadingBack : trailingBack) - origin.Z;
  } else {
    origin.Y += aside;
    origin.Z = sense > 0 ? trailingBack : leadingBack;  // the top edge
    yAxis.Z = (sense > 0 ? leadingBack : trailingBack) - origin.Z;
  }
  const TRectF texels = effecter->Texels(area);
  const uint32_t white = 0xFFFFFFFFu;
  T3DScreen& screen = drawer.Screen();
  screen.DrawQuad(&effecter->Current(), origin, xAxis, yAxis, texels, {white, white, white, white}, {1, 1, 1, 1});
  if (!sideways) return;
  // The floor's reflection: the card's lower two thirds turned over about its bottom
  // edge, fading out away from it.
  const TVector3 floor{origin.X, origin.Y + h, origin.Z};
  const TRectF below{texels.Left, texels.Bottom, texels.Right, texels.Bottom - h * 2 / 3};
  screen.DrawQuad(&effecter->Current(), floor, xAxis, {0, h * 2 / 3, 0}, below,
                  {kReflectionAtFloor, kReflectionAtFloor, kReflectionTop, kReflectionTop}, {1, 1, 1, 1});
}

}  // namespace kiv
