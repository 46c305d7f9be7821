#pragma once
// The sound of a render: the show's music plays through a virtual output on the
// renderer's stepped clock, in steps of at most 10 ms, each step's mix rendered as the
// clock moves on; the music player keeps the show clock on the renderer's clock, which
// the mix follows frame for frame. When a file is named, the mix is written there as a WAV file (44.1 kHz stereo
// 16-bit) laid on the show's time from the render's start: what sounds while the show
// stands still is left out.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>

#include "base/clock.h"
#include "engine/music_player.h"

namespace kiv {

class TMusicPlayerClass;
class TPassCounter;
class TAudioOutputLender;
class TRenderAudioOutput;
class TWavFileWriter;
struct TMusicTap;

class TRenderSound {
 public:
  // Waits this long of real time at most for the music player's pass after a step.
  static constexpr uint32_t kPassWaitMs = 500;

  TRenderSound(TSteppedClock& clock, double startMs, const std::filesystem::path& wavFile);
  // Completes the WAV file.
  ~TRenderSound();
  TRenderSound(const TRenderSound&) = delete;
  TRenderSound& operator=(const TRenderSound&) = delete;

  // For the engine: the show's music players, playing here.
  TMusicPlayerFactory Players();
  // Moves the clock on by ms with the sound of that time, in steps, but never the show
  // time the music keeps past wantedMs: the show may start running while the clock
  // moves.
  void Advance(uint32_t ms, double wantedMs);

 private:
  void Step(uint32_t ms);
  std::shared_ptr<TMusicPlayerClass> CurrentSound();

  TSteppedClock& FClock;
  const double FStartMs;
  const uint32_t FClockAtStart;
  TRenderAudioOutput* FOutput;  // owned by the lender
  std::shared_ptr<TAudioOutputLender> FLender;
  std::shared_ptr<TPassCounter> FPasses;
  std::shared_ptr<TMusicTap> FTap;
  std::mutex FLock;
  std::shared_ptr<TMusicPlayerClass> FSound;  // the latest show's, under FLock
  uint64_t FRendered = 0;  // frames
  std::unique_ptr<TWavFileWriter> FWav;
};

}  // namespace kiv
