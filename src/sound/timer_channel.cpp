#include "sound/timer_channel.h"

#include <algorithm>

#include "base/clock.h"
#include "platform/audio_output.h"
#include "sound/wave_out_device.h"

namespace kiv {

void TTimerPollThread::Iteration() {
  FWake.WaitMs(kPeriodMs);
  if (!Terminated()) FTimer.Update();
}

TTimerChannel::TTimerChannel(TWaveOutDevice& device) : FDevice(device) {}

TTimerChannel::~TTimerChannel() { Stop(); }

bool TTimerChannel::IsPlaying() const {
  std::lock_guard lock(FLock);
  return FPlaying;
}

double TTimerChannel::SmoothLocked(uint32_t now) const { return double(now) - FOffset; }

double TTimerChannel::OutputClockLocked(uint32_t now) const {
  return FBase + double(FLastFrames - FFramesAtBase) * 1000.0 / kOutputRate + double(uint32_t(now - FLastRead));
}

void TTimerChannel::ReadCursorLocked(uint32_t now) {
  const uint64_t frames = FDevice.FramesPlayed();
  if (frames != FLastFrames) FLastMove = now;
  FLastFrames = frames;
  FLastRead = now;
}

double TTimerChannel::OutputClock() {
  std::lock_guard lock(FLock);
  return OutputClockLocked(Clock().NowMs());
}

bool TTimerChannel::Following() {
  std::lock_guard lock(FLock);
  return FPlaying && FSynced && !FStalled;
}

double TTimerChannel::GetTime() {
  std::lock_guard lock(FLock);
  if (!FPlaying) return FStoredTime;
  FLastAnswer = std::max(FLastAnswer, SmoothLocked(Clock().NowMs()));
  return FLastAnswer;
}

void TTimerChannel::SetTime(double ms) {
  std::lock_guard lock(FLock);
  const uint32_t now = Clock().NowMs();
  FStoredTime = FBase = FLastAnswer = ms;
  FOffset = double(now) - ms;
  FFramesAtBase = FLastFrames = FDevice.FramesPlayed();
  FLastRead = now;
  FDifference = 0;
}

void TTimerChannel::Play() {
  {
    std::lock_guard lock(FLock);
    if (FPlaying) return;
    const uint32_t now = Clock().NowMs();
    FPlaying = true;
    FTicks = 0;
    FBase = FLastAnswer = FStoredTime;
    FFramesAtBase = FLastFrames = FDevice.FramesPlayed();
    FLastRead = FLastMove = FLastAdjust = now;
    // The clock runs on program time from now on, and follows the output once it plays.
    FOffset = double(now) - FStoredTime;
    FSynced = false;
    FStalled = false;
  }
  Update();
  FThread = std::make_unique<TTimerPollThread>(*this);
  FThread->Start();
}

void TTimerChannel::Stop() {
  {
    std::lock_guard lock(FLock);
    if (!FPlaying) return;
    FStoredTime = std::max(FLastAnswer, SmoothLocked(Clock().NowMs()));
    FPlaying = false;
  }
  // Outside the lock: the poll thread takes it in its turn.
  if (FThread) FThread->Stop();
  FThread.reset();
}

void TTimerChannel::Update() {
  std::lock_guard lock(FLock);
  if (!FPlaying) return;
  const uint32_t now = Clock().NowMs();
  ++FTicks;
  if (!FSynced || FStalled || FTicks % 10 == 0) ReadCursorLocked(now);
  const bool moving = uint32_t(now - FLastMove) <= kStallMs;
  if (!FSynced || (FStalled && moving)) {
    // The output plays (again): from here on the smooth clock follows it, keeping the
    // distance they have now.
    if (FLastFrames == FFramesAtBase && !FSynced) return;
    if (!moving) return;
    FSynced = true;
    FStalled = false;
    FDifference = OutputClockLocked(now) - SmoothLocked(now);
    FLastAdjust = now;
    return;
  }
  if (!moving) {
    FStalled = true;  // program time alone until the output moves again
    return;
  }
  if (uint32_t(now - FLastAdjust) < 10) return;
  FLastAdjust = now;
  const double ahead = OutputClockLocked(now) - FDifference - SmoothLocked(now);
  if (ahead > 0) {
    FOffset -= 1;
  } else if (ahead < 0) {
    FOffset += 1;
  }
}

}  // namespace kiv
