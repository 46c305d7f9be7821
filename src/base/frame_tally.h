#pragma once
// The process's count of frames presented and of frames that missed their time, which
// the log's stop banner reports. Any thread may count.
#include <cstdint>

namespace kiv {

struct TFrameTally {
  int64_t Drawn = 0;
  int64_t Dropped = 0;
};

void CountFrameDrawn(bool dropped);
TFrameTally FrameTally();
// Starts the counts again from 0 (tests).
void ResetFrameTally();

}  // namespace kiv
