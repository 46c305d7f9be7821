#pragma once
// The sound clock. It follows the frames the output has played, but is read as a smooth
// clock: program time minus an offset, which a poll thread moves by at most 1 ms every
// 10 ms towards the output's time. The output is looked at every 100 ms.
//
// When the output's count stands still (no device playing, a stalled server) the clock
// goes on with program time instead of freezing the show, and it never runs backwards
// except when set.
#include <cstdint>
#include <memory>
#include <mutex>

#include "base/kiv_thread.h"
#include "sound/wake_event.h"

namespace kiv {

class TWaveOutDevice;
class TTimerChannel;

class TTimerPollThread : public TKivThread {
 public:
  static constexpr uint32_t kPeriodMs = 10;

  explicit TTimerPollThread(TTimerChannel& timer) : FTimer(timer) {}
  ~TTimerPollThread() override { Stop(); }
  void Stop() override {
    Terminate();
    FWake.Signal();
    TKivThread::Stop();
  }

 protected:
  void Iteration() override;

 private:
  TTimerChannel& FTimer;
  TWakeEvent FWake;
};

class TTimerChannel {
 public:
  // The output's count must move within this long, or the clock runs on program time.
  static constexpr uint32_t kStallMs = 500;

  explicit TTimerChannel(TWaveOutDevice& device);
  ~TTimerChannel();
  TTimerChannel(const TTimerChannel&) = delete;
  TTimerChannel& operator=(const TTimerChannel&) = delete;

  // ms: the smooth time while playing, the stored time while stopped.
  double GetTime();
  void SetTime(double ms);
  bool IsPlaying() const;
  // Starts following the output from the stored time, with its poll thread.
  void Play();
  // Keeps the present time and stops the poll thread.
  void Stop();

  // One turn of the poll thread (also called by renderers on virtual time).
  void Update();
  // The output's time as last read, extrapolated to now (tests look at it).
  double OutputClock();
  // Whether the clock follows the output now (false: before the output's first frame,
  // or while it stands still).
  bool Following();

 private:
  double SmoothLocked(uint32_t now) const;
  double OutputClockLocked(uint32_t now) const;
  void ReadCursorLocked(uint32_t now);

  TWaveOutDevice& FDevice;
  mutable std::mutex FLock;
  bool FPlaying = false;
  double FStoredTime = 0;
  // The output's clock: FBase ms at FFramesAtBase frames; the frames last read and when.
  double FBase = 0;
  uint64_t FFramesAtBase = 0;
  uint64_t FLastFrames = 0;
  uint32_t FLastRead = 0;
  uint32_t FLastMove = 0;
  bool FSynced = false;     // the output has played since Play
  bool FStalled = false;
  double FOffset = 0;       // smooth time = now - offset
  double FDifference = 0;   // output clock - smooth time when last synchronised
  double FLastAnswer = 0;
  uint32_t FLastAdjust = 0;
  uint32_t FTicks = 0;
  std::unique_ptr<TTimerPollThread> FThread;
};

}  // namespace kiv
