#pragma once
// One process-wide yield point that loaders and streams call while they work, so that
// loading threads stay behind the drawing thread while a show plays.
#include <cstdint>

namespace kiv {

enum class TProgressMode : uint8_t {
  None = 0,        // do nothing
  YieldEarly = 1,  // give the processor up every 5 ms
  Playing = 2,     // sleep 1 ms every 5 ms: a show is playing
  Stop = 3,        // ask the caller to stop its work
};

void SetProgressMode(TProgressMode mode);
TProgressMode ProgressMode();

// Called by workers between pieces of work; true when they should stop.
bool ProgressHook();

}  // namespace kiv
