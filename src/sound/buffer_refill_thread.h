#pragma once
// The refill thread of a stream buffer: it refills every 100 ms, or at once when woken
// (a fade rewrite was asked for), until it is stopped.
#include "base/kiv_thread.h"
#include "sound/wake_event.h"

namespace kiv {

class TWaveOutBuffer;

class TBufferRefillThread : public TKivThread {
 public:
  static constexpr uint32_t kPeriodMs = 100;

  explicit TBufferRefillThread(TWaveOutBuffer& buffer) : FBuffer(buffer) {}
  ~TBufferRefillThread() override { Stop(); }

  void Wake() { FWake.Signal(); }
  void Stop() override {
    Terminate();
    FWake.Signal();
    TKivThread::Stop();
  }

 protected:
  void Iteration() override;

 private:
  TWaveOutBuffer& FBuffer;
  TWakeEvent FWake;
};

}  // namespace kiv
