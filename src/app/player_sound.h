#pragma once
// The player's sound output: opened at start, closed at exit. "-nosound", a machine
// without a sound device, or SDL_AUDIODRIVER=dummy leave the player without one: the
// show then runs silent, which the log says once.
#include <memory>

#include "app/command_line.h"
#include "platform/audio_output.h"

namespace kiv {

class TPlayerSound {
 public:
  explicit TPlayerSound(const TCommandLine& commandLine);
  ~TPlayerSound();
  TPlayerSound(const TPlayerSound&) = delete;
  TPlayerSound& operator=(const TPlayerSound&) = delete;

  bool HasOutput() const { return FOutput != nullptr; }
  // The output, for the music player to play through (none when silent).
  std::unique_ptr<IAudioOutput> TakeOutput() { return std::move(FOutput); }

 private:
  std::unique_ptr<IAudioOutput> FOutput;
};

}  // namespace kiv
