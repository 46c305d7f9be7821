#include "render/transitions/roll_effect.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "render/drawer/drawer_3d.h"
#include "render/drawer/render_target_effecter.h"
#include "render/screen/screen_3d.h"
#include "render/screen/vertex_buffer.h"

namespace kiv {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kDiagonal = 0.70710677f;

// The roll's kind: 1 … 4 from an edge, 5 … 8 from a corner.
int RollKind(int effectClass, int type) {
  // Types 7, 8, 5 and 6 roll as 1, 2, 3 and 4 do, in reverse.
  const int pair = type > 4 ? (type - 3) % 4 + 1 : type;
  static constexpr int kEdge[] = {1, 4, 2, 3};
  static constexpr int kCorner[] = {5, 7, 8, 6};
  const int index = std::clamp(pair, 1, 4) - 1;
  return effectClass == 15 ? kCorner[index] : kEdge[index];
}

TPointF RollDirection(int kind) {
  switch (kind) {
    case 2: return {-1, 0};
    case 3: return {0, -1};
    case 4: return {0, 1};
    case 5: return {kDiagonal, kDiagonal};
    case 6: return {kDiagonal, -kDiagonal};
    case 7: return {-kDiagonal, kDiagonal};
    case 8: return {-kDiagonal, -kDiagonal};
    default: return {1, 0};
  }
}

// A corner of a strip of the slide: where it lies on the slide and how far along.
struct TStripPoint {
  TPointF At;
  float Along;
};

// The part of polygon whose distance along is at least from (keepAbove) or at most it.
std::vector<TStripPoint> CutAt(const std::vector<TStripPoint>& polygon, float from, bool keepAbove) {
  std::vector<TStripPoint> kept;
  for (size_t i = 0; i < polygon.size(); ++i) {
    const TStripPoint& a = polygon[i];
    const TStripPoint& b = polygon[(i + 1) % polygon.size()];
    const float da = keepAbove ? a.Along - from : from - a.Along;
    const float db = keepAbove ? b.Along - from : from - b.Along;
    if (da >= 0) kept.push_back(a);
    if ((da >= 0) != (db >= 0)) {
      const float t = da / (da - db);
      kept.push_back({{a.At.X + (b.At.X - a.At.X) * t, a.At.Y + (b.At.Y - a.At.Y) * t}, from});
    }
  }
  return kept;
}

}  // namespace

TRollEffect::TRollEffect(int effectClass, int effectType, const TEffectParams& params, const TRect& rect, int softEdge,
                         int32_t duration, float diameter, bool variants, bool useBackColour, TRgb backColour,
                         bool roll3D, float curving)
    : TTransitionFilter(effectClass, effectType, params, rect, softEdge, duration),
      FDirection(RollDirection(RollKind(effectClass, effectType))),
      FRadius(std::max(2.0f, std::isfinite(diameter) ? std::round(diameter) : 2.0f)),
      FWrap(variants ? 3 * kPi / 2 : kPi),
      FUseBackColour(useBackColour),
      FBackColour(backColour),
      F3D(roll3D),
      FCurving(std::isfinite(curving) ? curving : 0) {
  // Distances along the direction are measured from the middle of the slide area: the
  // front runs from one radius before the near side (the roll wholly outside) to the
  // far side.
  const float reach =
      (std::abs(FDirection.X) * float(rect.Width()) + std::abs(FDirection.Y) * float(rect.Height())) / 2;
  FStart = -reach - (F3D ? kPi / 2 : 1.0f) * FRadius;
  FEnd = reach;
}

float TRollEffect::Front() const {
  const float p = float(Reverse() ? 1 - Progress() : Progress());
  return FStart + (FEnd - FStart) * p;
}

float TRollEffect::TurnAt(float along) const {
  const float past = along - Front();
  return past <= 0 ? 0 : std::min(past / FRadius, FWrap);
}

TPointF TRollEffect::Wrapped(float along) const {
  const float front = Front();
  const float past = along - front;
  if (past <= 0) return {along, 0};
  const float turn = TurnAt(along);
  const float moved = front + FRadius * std::sin(turn) + std::cos(turn) * (past - turn * FRadius);
  const float depth = F3D ? -(1 - std::cos(turn)) * FRadius * FCurving : 0;
  return {moved, depth};
}

void TRollEffect::DrawEffect(T3DDrawer& drawer, TEffectSlide) {
  TRenderTargetEffecter* effecter = drawer.Effecter();
  if (!effecter) return;
  const TRect& area = Rect();
  const TPointF d = FDirection;
  const TPointF centre{float(area.Left + area.Right) / 2, float(area.Top + area.Bottom) / 2};
  const auto along = [&](TPointF p) { return (p.X - centre.X) * d.X + (p.Y - centre.Y) * d.Y; };
  const std::vector<TStripPoint> whole = {
      {{float(area.Left), float(area.Top)}, along({float(area.Left), float(area.Top)})},
      {{float(area.Right), float(area.Top)}, along({float(area.Right), float(area.Top)})},
      {{float(area.Right), float(area.Bottom)}, along({float(area.Right), float(area.Bottom)})},
      {{float(area.Left), float(area.Bottom)}, along({float(area.Left), float(area.Bottom)})}};
  float low = whole[0].Along, high = low;
  for (const TStripPoint& p : whole) low = std::min(low, p.Along), high = std::max(high, p.Along);

  TCustomTexture* slide = &effecter->Current();
  const TRectF texels = effecter->Texels(area);
  T3DScreen& screen = drawer.Screen();
  const float front = Front();
  const float fine = FRadius >= 100 ? 8 : std::max(3.0f, std::floor(FRadius / 10));
  const float rollEnd = front + FWrap * FRadius;
  // Strips across the direction, in order along it, so that the roll's outer turns are
  // drawn over what they cover; narrow where the paper bends.
  for (float from = low; from < high;) {
    const bool bending = from >= front - fine && from < rollEnd;
    float to = std::min(high, from + (bending ? fine : 50.0f));
    if (!bending && from < front && to > front) to = front;
    if (!bending && from < rollEnd && to > rollEnd && from >= front) to = rollEnd;
    const std::vector<TStripPoint> strip = CutAt(CutAt(whole, from, true), to, false);
    const float turn = TurnAt((from + to) / 2);
    from = to;
    if (strip.size() < 3) continue;
    const uint32_t level = uint32_t(std::lround(50 + std::abs(std::cos(turn)) * 205));
    const bool back = turn > kPi / 2;
    uint32_t colour = 0xFF000000u | level << 16 | level << 8 | level;
    if (back && FUseBackColour)
      colour = 0xFF000000u | (FBackColour.Red * level / 256) << 16 | (FBackColour.Green * level / 256) << 8 |
               (FBackColour.Blue * level / 256);
    TCustomTexture* textures[] = {slide};
    screen.Batch().Begin(textures, back && FUseBackColour ? 0 : 1, true);
    const auto vertex = [&](const TStripPoint& p, TVector3& point, TTexCoord& texel) {
      const TPointF moved = Wrapped(p.Along);
      const float shift = moved.X - p.Along;
      point = {p.At.X + d.X * shift, p.At.Y + d.Y * shift, moved.Y};
      texel = {texels.Left + p.At.X - float(area.Left), texels.Top + p.At.Y - float(area.Top)};
    };
    for (size_t i = 1; i + 1 < strip.size(); ++i) {
      TVector3 points[3];
      TTexCoord texelsOf[3];
      vertex(strip[0], points[0], texelsOf[0]);
      vertex(strip[i], points[1], texelsOf[1]);
      vertex(strip[i + 1], points[2], texelsOf[2]);
      const uint32_t colours[3] = {colour, colour, colour};
      screen.Batch().AddTriangle(points, texelsOf, colours);
    }
  }
}

}  // namespace kiv
