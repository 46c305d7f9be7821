#pragma once
// The music player of a show without sound: it keeps the show time on the program
// clock and is always ready.
#include <cstdint>
#include <mutex>

#include "engine/music_player.h"

namespace kiv {

class TSilentMusicPlayer : public IKivMusicPlayer {
 public:
  static constexpr double kNoEnd = 2147483647;

  void SetRunning(bool running) override;
  void SetTime(double endMs, double timeMs) override;
  double EndTime() const override;
  double CurrentTime() const override;
  bool IsMusicReady() const override { return true; }
  float GetVolume() const override;
  void SetVolume(float volume) override;

 private:
  double TimeLocked() const;

  mutable std::mutex FLock;
  bool FRunning = false;
  // While running the show time at FStartTick, while paused the paused time.
  double FTimeBase = 0;
  uint32_t FStartTick = 0;
  double FEndTime = kNoEnd;
  float FVolume = 1;
};

}  // namespace kiv
