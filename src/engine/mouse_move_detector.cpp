#include "engine/mouse_move_detector.h"

#include <cstdlib>

#include "base/clock.h"

namespace kiv {

TMouseMoveDetector::TMouseMoveDetector(uint32_t hideIntervalMs, IClock* clock)
    : FLastMove(clock ? clock->NowMs() : Clock().NowMs()), FInterval(hideIntervalMs), FClock(clock) {}

bool TMouseMoveDetector::Move(int32_t x, int32_t y) {
  if (!FStarted) {
    FStarted = true;
    FX = x;
    FY = y;
    return false;
  }
  if (std::abs(int64_t(x) - FX) + std::abs(int64_t(y) - FY) < kMoveDistance) return false;
  FX = x;
  FY = y;
  ++FMoves;
  FLastMove = Now();
  return true;
}

// The clock wraps like a 32-bit tick counter; the difference does not mind.
bool TMouseMoveDetector::Resting() const { return uint32_t(Now() - FLastMove) > FInterval; }

void TMouseMoveDetector::StartResting() { FLastMove = Now() - FInterval - 1; }

}  // namespace kiv
