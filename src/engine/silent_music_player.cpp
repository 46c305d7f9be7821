#include "engine/silent_music_player.h"

#include <algorithm>

#include "base/clock.h"

namespace kiv {

// Ticks are taken as differences so that the clock survives the tick counter's wrap.
double TSilentMusicPlayer::TimeLocked() const {
  const double time = FRunning ? FTimeBase + double(uint32_t(Clock().NowMs() - FStartTick)) : FTimeBase;
  return std::min(time, FEndTime);
}

void TSilentMusicPlayer::SetRunning(bool running) {
  std::lock_guard lock(FLock);
  if (running == FRunning) return;
  // The show time goes on from where it stands, without a jump.
  FTimeBase = TimeLocked();
  FStartTick = Clock().NowMs();
  FRunning = running;
}

void TSilentMusicPlayer::SetTime(double endMs, double timeMs) {
  std::lock_guard lock(FLock);
  if (endMs >= 0) {
    // Time held back at the old end is not skipped when the end moves on.
    FTimeBase = TimeLocked();
    FStartTick = Clock().NowMs();
    FEndTime = endMs;
  }
  if (timeMs >= 0) {
    FRunning = false;
    FTimeBase = timeMs;
  }
}

double TSilentMusicPlayer::EndTime() const {
  std::lock_guard lock(FLock);
  return FEndTime;
}

double TSilentMusicPlayer::CurrentTime() const {
  std::lock_guard lock(FLock);
  return TimeLocked();
}

float TSilentMusicPlayer::GetVolume() const {
  std::lock_guard lock(FLock);
  return FVolume;
}

void TSilentMusicPlayer::SetVolume(float volume) {
  std::lock_guard lock(FLock);
  FVolume = volume;
}

}  // namespace kiv
