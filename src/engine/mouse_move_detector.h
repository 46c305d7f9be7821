#pragma once
// Tells whether the pointer rests: small jitter does not count as a move, and the
// pointer rests once no move came for the hide interval. Reads the process clock, or
// the clock it is given.
#include <cstdint>

#include "base/clock.h"

namespace kiv {

class TMouseMoveDetector {
 public:
  // Pixels (|dx| + |dy|) from the last counted position that make a move.
  static constexpr int32_t kMoveDistance = 6;

  // The last move is now. clock: none for the process clock (not owned).
  explicit TMouseMoveDetector(uint32_t hideIntervalMs, IClock* clock = nullptr);

  // A pointer position; true when it counts as a move. The first position is the start.
  bool Move(int32_t x, int32_t y);
  // No move for longer than the hide interval.
  bool Resting() const;
  // The pointer counts as resting from now on, until it moves.
  void StartResting();
  // When the pointer began to rest (or begins to, without a move before).
  uint32_t RestingSince() const { return FLastMove + FInterval + 1; }
  uint32_t Moves() const { return FMoves; }

 private:
  bool FStarted = false;
  int32_t FX = 0;
  int32_t FY = 0;
  uint32_t FMoves = 0;
  uint32_t FLastMove;  // ms, process clock
  uint32_t FInterval;
  IClock* FClock;

  uint32_t Now() const { return FClock ? FClock->NowMs() : Clock().NowMs(); }
};

}  // namespace kiv
