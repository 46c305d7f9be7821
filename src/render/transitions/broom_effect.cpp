#include "render/transitions/broom_effect.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kiv {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr int kSectors = 1000;
constexpr float kSector = 2 * kPi / kSectors;
// Away from the soft edge sectors are drawn in groups.
constexpr int kGroup = 10;

// How much of the slide is hidden at i of 0 … 255 across the soft edge: an S-curve.
float Hidden(float i) {
  const float entry = std::clamp(i, 0.0f, 255.0f);
  return entry < 128 ? std::floor(entry * entry / 128) : 255 - std::floor((255 - entry) * (255 - entry) / 128);
}

struct TSweep {
  TPointF Pivot;
  float Start;  // soft edge not yet taken off
  float End;
  float Reach;  // the distance that sets the soft edge's angle
};

TSweep SweepOf(int direction, const TRect& r, float b) {
  const float w = float(r.Width()), h = float(r.Height());
  const float left = float(r.Left), top = float(r.Top), right = left + w, bottom = top + h;
  const float acrossW = std::atan(2 * b / w), acrossH = std::atan(2 * b / h);
  const float cornerW = std::atan(b / (b + w)), cornerH = std::atan(b / (b + h));
  const float corner = std::hypot(b + w / 2, b + h / 2);
  switch (direction) {
    case 2: return {{right + b, top + h / 2}, kPi + acrossH, 2 * kPi - acrossH, b + w / 2};
    case 3: return {{left + w / 2, bottom + b}, 3 * kPi / 2 + acrossW, 5 * kPi / 2 - acrossW, b + h / 2};
    case 4: return {{left - b, top + h / 2}, acrossH, kPi - acrossH, b + w / 2};
    case 5: return {{right + b, top - b}, kPi + cornerH, 3 * kPi / 2 - cornerW, corner};
    case 6: return {{right + b, bottom + b}, 3 * kPi / 2 + cornerW, 2 * kPi - cornerH, corner};
    case 7: return {{left - b, bottom + b}, cornerH, kPi / 2 - cornerW, corner};
    case 8: return {{left - b, top - b}, kPi / 2 + cornerW, kPi - cornerH, corner};
    default: return {{left + w / 2, top - b}, kPi / 2 + acrossW, 3 * kPi / 2 - acrossW, b + h / 2};
  }
}

}  // namespace

TBroomEffect::TBroomEffect(int effectClass, int effectType, const TEffectParams& params, const TRect& rect,
                           int softEdge, int32_t duration, float offset)
    : TCanvasFilter(effectClass, effectType, params, rect, softEdge, duration) {
  const float b = std::max(0.0f, std::isfinite(offset) ? offset : 0.0f);
  const int direction = (std::max(effectType, 1) - 1) % 8 + 1;
  const TSweep sweep = SweepOf(direction, rect, b);
  // 2 · arccot(2 · reach / soft): the angle the soft edge spans where the slide is.
  FSoft = SoftEdge() > 0 ? 2 * std::atan(float(SoftEdge()) / (2 * sweep.Reach)) : 0;
  FPivot = sweep.Pivot;
  FStart = sweep.Start - FSoft;
  FEnd = sweep.End;
  FRadius = float(rect.Width() + rect.Height()) + b;
}

void TBroomEffect::Draw(TEffectCanvas& canvas) {
  const float p = float(Reverse() ? 1 - Progress() : Progress());
  const float line = FStart + (FEnd - FStart) * p;
  const auto at = [this](float angle, float alpha) {
    return TMaskPoint{FPivot.X + FRadius * std::sin(angle), FPivot.Y - FRadius * std::cos(angle), alpha};
  };
  const TMaskPoint pivot{FPivot.X, FPivot.Y, 255};
  // Behind the line the slide shows whole, in groups of sectors.
  for (float from = FStart; from < line; from += kGroup * kSector) {
    const float to = std::min(line, from + kGroup * kSector);
    canvas.Polygon({pivot, at(from, 255), at(to, 255)});
  }
  // Across the soft edge it fades out sector by sector.
  if (FSoft <= 0) return;
  const auto alpha = [&](float angle) { return 255 - Hidden((angle - line) / FSoft * 255); };
  for (float from = line; from < line + FSoft; from += kSector) {
    const float to = std::min(line + FSoft, from + kSector);
    TMaskPoint centre = pivot;
    centre.Alpha = alpha((from + to) / 2);
    canvas.Polygon({centre, at(from, alpha(from)), at(to, alpha(to))});
  }
}

}  // namespace kiv
