#pragma once
// Presentation keeps to the display's refresh: a present sleeps (never spins) for the rest
// of the frame period since the previous one, less 3 ms for the present itself, at least
// 1 ms. With vsync the swap then waits the last part of the period; without it (or with
// a driver that only says it waits) the sleep alone keeps the pace.
// Every present is counted (base/frame_tally.h), and so is a frame that missed its time:
// one whose drawing took longer than a frame period.
#include <cstdint>

namespace kiv {

// The wait before a present made elapsedMs after the previous one. A refresh rate of 0
// (a display that does not tell) counts as 60 Hz.
uint32_t PresentSleepMs(int refreshRate, uint32_t elapsedMs);
// Whether a frame whose drawing took drawMs missed its time at refreshRate (0: 60 Hz).
bool MissedFrameTime(int refreshRate, uint32_t drawMs);

// Sleeps on the process clock for the wait due now (one previous-present time for the
// whole process).
void WaitBeforePresent(int refreshRate);
// Records the end of a present and counts its frame, as dropped when missedItsTime.
void MarkPresented(bool missedItsTime = false);

}  // namespace kiv
