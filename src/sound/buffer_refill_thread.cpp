#include "sound/buffer_refill_thread.h"

#include "sound/wave_out_buffer.h"

namespace kiv {

void TBufferRefillThread::Iteration() {
  FWake.WaitMs(kPeriodMs);
  if (!Terminated()) FBuffer.Refill();
}

}  // namespace kiv
