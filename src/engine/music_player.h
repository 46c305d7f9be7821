#pragma once
// The music player as the engine drives it. Its clock is the show's master clock: while
// the show runs, the engine reads the show time from it.
#include <functional>
#include <memory>

namespace kiv {

class TKivSource;

class IKivMusicPlayer {
 public:
  // A time that leaves the current position alone in SetTime.
  static constexpr double kKeepTime = -2147483647;

  virtual ~IKivMusicPlayer() = default;
  virtual void SetRunning(bool running) = 0;
  // Moves the clock to timeMs (paused) unless it is negative; a non-negative endMs
  // becomes the time the clock stops at. Returns once the player has taken it.
  virtual void SetTime(double endMs, double timeMs) = 0;
  void SetEnd(double endMs) { SetTime(endMs, kKeepTime); }
  // The last end given.
  virtual double EndTime() const = 0;
  // ms; never past the end.
  virtual double CurrentTime() const = 0;
  virtual bool IsMusicReady() const = 0;
  virtual float GetVolume() const = 0;
  virtual void SetVolume(float volume) = 0;
};

// Makes the player of a show, started and paused.
using TMusicPlayerFactory = std::function<std::unique_ptr<IKivMusicPlayer>(TKivSource& source)>;

}  // namespace kiv
