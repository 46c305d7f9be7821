#pragma once
// How a program gives its shows music players: one sound output, lent to the player of
// each show in turn, and the sounds of each show read from the show's own files.
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>

#include "engine/music_player.h"
#include "music/music_loader.h"
#include "platform/audio_output.h"
#include "sound/sound_source.h"

namespace kiv {

class TMusicPlayerClass;
class TFileAccessor;

// Lends one output to one player after another: each borrower starts and stops it as
// its own, and a borrower that is no longer the latest cannot stop the output for the
// one that is.
class TAudioOutputLender : public std::enable_shared_from_this<TAudioOutputLender> {
 public:
  explicit TAudioOutputLender(std::unique_ptr<IAudioOutput> output) : FOutput(std::move(output)) {}
  // An output that plays through this one while this lender lives.
  std::unique_ptr<IAudioOutput> Lend();
  IAudioOutput& Output() const { return *FOutput; }

 private:
  friend class TLentAudioOutput;
  std::mutex FLock;
  std::unique_ptr<IAudioOutput> FOutput;
  uint64_t FLatest = 0;
  uint64_t FLent = 0;
};

// A sound player over output (none: not ready) playing sounds of source, chained
// playlists included.
std::shared_ptr<TMusicPlayerClass> MakeMusicSoundPlayer(std::unique_ptr<IAudioOutput> output, TSoundSource source,
                                                        std::string_view reason = {});

// The sounds of the show whose files accessor reaches (none: only disk files open).
TSoundSource ShowMusicSounds(const TFileAccessor* accessor);

struct TMusicPlayerSetup {
  std::shared_ptr<TAudioOutputLender> Output;  // none: players keep time on the program clock
  // Told of every sound player made (renderers on a stepped clock drive its output).
  std::function<void(const std::shared_ptr<TMusicPlayerClass>&)> SoundMade;
  std::shared_ptr<TPassCounter> PlayerPasses;
  std::shared_ptr<TPassCounter> LoaderPasses;
  bool FollowSoundClock = true;  // see TKivMusicPlayerParts
};

// Makes a TKivMusicPlayer for each show, playing through setup's output.
TMusicPlayerFactory KivMusicPlayers(TMusicPlayerSetup setup);

}  // namespace kiv
