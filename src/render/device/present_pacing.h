#pragma once
// Presentation keeps to the display's refresh: a present waits for the rest of the frame
// period since the previous one, less 3 ms for the present itself, at least 1 ms.
#include <cstdint>

namespace kiv {

// The wait before a present made elapsedMs after the previous one. A refresh rate of 0
// (a display that does not tell) counts as 60 Hz.
uint32_t PresentSleepMs(int refreshRate, uint32_t elapsedMs);

// Sleeps on the process clock for the wait due now (one previous-present time for the
// whole process).
void WaitBeforePresent(int refreshRate);
// Records the end of a present.
void MarkPresented();

}  // namespace kiv
