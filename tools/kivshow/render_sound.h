#pragma once
// The sound of a render: the show's music plays through a virtual output on the
// renderer's stepped clock, in steps of at most 10 ms, each step's mix rendered as the
// clock moves on; the music player keeps the show clock on the renderer's clock, which
// the mix follows frame for frame. The mix goes onto a tape (a WAV file for render, the
// sound track of an export), laid on the show's time from the render's start: what
// sounds while the show stands still is left out.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include "base/clock.h"
#include "engine/music_player.h"

namespace kiv {

class TMusicPlayerClass;
class TPassCounter;
class TAudioOutputLender;
class TRenderAudioOutput;
struct TMusicTap;

// Where a render's sound goes: 44.1 kHz stereo 16-bit frames laid at their place, in
// frames from the render's start.
class ISoundTape {
 public:
  virtual ~ISoundTape() = default;
  // Puts samples (interleaved stereo) at frame at: silence fills a gap before it, and
  // what lies before the end already written is left out.
  virtual void WriteAt(uint64_t at, const std::vector<int16_t>& samples) = 0;
};

// A tape that is a WAV file, completed when the last holder lets it go. Raises
// EKivError when the file cannot be written.
std::shared_ptr<ISoundTape> WavFileTape(const std::filesystem::path& path);

class TRenderSound {
 public:
  // Waits this long of real time at most for the music player's pass after a step.
  static constexpr uint32_t kPassWaitMs = 500;

  // tape may be none: the sound is then only played.
  TRenderSound(TSteppedClock& clock, double startMs, std::shared_ptr<ISoundTape> tape);
  ~TRenderSound();
  TRenderSound(const TRenderSound&) = delete;
  TRenderSound& operator=(const TRenderSound&) = delete;

  // For the engine: the show's music players, playing here.
  TMusicPlayerFactory Players();
  // The engine made the show's music player (its sound, if it has any, with it).
  bool PlayerMade();
  // Moves the clock on by ms with the sound of that time, in steps, but never the show
  // time the music keeps past wantedMs: the show may start running while the clock
  // moves.
  void Advance(uint32_t ms, double wantedMs);

 private:
  void Step(uint32_t ms);
  void WaitForPasses(const TPassCounter& passes, uint64_t after, std::chrono::steady_clock::time_point deadline);
  std::shared_ptr<TMusicPlayerClass> CurrentSound();

  TSteppedClock& FClock;
  const double FStartMs;
  const uint32_t FClockAtStart;
  TRenderAudioOutput* FOutput;  // owned by the lender
  std::shared_ptr<TAudioOutputLender> FLender;
  std::shared_ptr<TPassCounter> FPasses;  // of the music player
  std::shared_ptr<TPassCounter> FLoaderPasses;
  std::shared_ptr<TMusicTap> FTap;
  std::mutex FLock;
  std::shared_ptr<TMusicPlayerClass> FSound;  // the latest show's, under FLock
  bool FPlayerMade = false;                   // under FLock
  uint64_t FRendered = 0;  // frames
  std::shared_ptr<ISoundTape> FTape;
};

}  // namespace kiv
