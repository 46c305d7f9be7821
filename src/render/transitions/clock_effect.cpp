#include "render/transitions/clock_effect.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace kiv {

namespace {

constexpr float kTurn = 2 * std::numbers::pi_v<float>;
constexpr int kSectors = 360;

// An S-curve from 0 (x = 0) to 255 (x ≥ 1).
float Rise(float x) {
  const float i = std::clamp(x, 0.0f, 1.0f) * 255;
  return i < 128 ? std::floor(i * i / 128) : 255 - std::floor((255 - i) * (255 - i) / 128);
}

// The distance from a point to a ray from the centre, the point lying offset (radians)
// round from the ray at distance r: across the ray while the point lies beside it, else
// to the centre.
float DistanceToRay(float offset, float r) {
  return std::abs(offset) < std::numbers::pi_v<float> / 2 ? r * std::abs(std::sin(offset)) : r;
}

}  // namespace

TPointF TClockEffect::Centre() const {
  const TRect& r = Rect();
  return {std::round(float(r.Left + r.Right) / 2), std::round(float(r.Top + r.Bottom) / 2)};
}

float TClockEffect::HandAngle() const { return float(Progress()) * kTurn; }

float TClockEffect::SoftWidth() const {
  const float soft = SoftEdge() > 0 ? float(SoftEdge()) : 0.001f;
  const float hardening = std::clamp((kTurn - HandAngle()) / (kTurn / 2), 0.0f, 1.0f);
  return std::max(0.001f, soft * hardening);
}

TPointF TClockEffect::Polar(TPointF point) const {
  const TPointF c = Centre();
  const float dx = (EffectType() == 2 ? -1.0f : 1.0f) * (point.X - c.X);
  const float dy = point.Y - c.Y;
  float angle = std::atan2(dx, -dy);
  if (angle < 0) angle += kTurn;
  return {angle, std::hypot(dx, dy)};
}

TPointF TClockEffect::FromPolar(float angle, float radius) const {
  const TPointF c = Centre();
  const float sense = EffectType() == 2 ? -1.0f : 1.0f;
  return {c.X + sense * radius * std::sin(angle), c.Y - radius * std::cos(angle)};
}

float TClockEffect::AlphaAt(TPointF point) const {
  const TPointF polar = Polar(point);
  return PolarAlpha(polar.X, polar.Y);
}

float TClockEffect::PolarAlpha(float angle, float radius) const {
  const float hand = HandAngle();
  if (angle > hand) return 0;
  const float fromTwelve = DistanceToRay(angle > kTurn / 2 ? angle - kTurn : angle, radius);
  const float fromHand = DistanceToRay(hand - angle, radius);
  return Rise(std::min(fromTwelve, fromHand) / SoftWidth());
}

void TClockEffect::Draw(TEffectCanvas& canvas) {
  const float hand = HandAngle();
  if (hand <= 0) return;
  const TRectF& area = canvas.Area();
  const TPointF c = Centre();
  const float reach =
      std::hypot(std::max(c.X - area.Left, area.Right - c.X), std::max(c.Y - area.Top, area.Bottom - c.Y));
  // Rings fine within the soft edges' width of the centre, coarser further out; the
  // edges' alphas are worked out at every corner of the grid.
  const float soft = SoftWidth();
  std::vector<float> radii{0};
  for (int k = 1; k <= 8 && soft * float(k) / 4 < reach; ++k) radii.push_back(soft * float(k) / 4);
  while (radii.back() < reach) radii.push_back(std::min(reach, std::max(radii.back() * 1.6f, radii.back() + 1)));
  const int sectors = std::max(1, int(std::ceil(hand / kTurn * kSectors)));
  // The grid's corners along one spoke; each spoke is worked out once and serves the
  // sectors on both its sides.
  const auto spoke = [&](float angle) {
    std::vector<TMaskPoint> corners;
    corners.reserve(radii.size());
    for (float radius : radii) {
      const TPointF p = FromPolar(angle, radius);
      corners.push_back({p.X, p.Y, PolarAlpha(angle, radius)});
    }
    return corners;
  };
  std::vector<TMaskPoint> from = spoke(0);
  for (int s = 1; s <= sectors; ++s) {
    const std::vector<TMaskPoint> to = spoke(hand * float(s) / float(sectors));
    for (size_t k = 0; k + 1 < radii.size(); ++k) canvas.Polygon({from[k], to[k], to[k + 1], from[k + 1]});
    from = to;
  }
}

}  // namespace kiv
