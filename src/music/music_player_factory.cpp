#include "music/music_player_factory.h"

#include <atomic>

#include "base/errors.h"
#include "base/log.h"
#include "model/kiv_source.h"
#include "music/kiv_music_player.h"
#include "music/kiv_music_source.h"
#include "music/sound_chain.h"
#include "sound/music_player_class.h"

namespace kiv {

namespace {

std::atomic<bool> gLibrariesRefused{false};

// Decoder libraries a show may carry are program code from the show's data: they are
// never loaded, and the sounds they were for play through the player's own decoders.
void RefuseShowLibraries(const TKivSource& source) {
  for (const char16_t* key : {u"opt_wmapath", u"opt_oggpath"}) {
    const std::u16string path = source.MainSection().ReadString(key, u"");
    if (path.empty() || gLibrariesRefused.exchange(true)) continue;
    Log().Write(u"Music: the show carries a decoder library (" + std::u16string(key) + u" = \"" + path +
                u"\"); libraries from a show are never loaded, its sounds play through the player's own decoders");
  }
}

// The music of source; a slide sound the show gives no length for plays as long as
// its file says.
std::unique_ptr<TKivMusicSource> MusicOf(const TKivSource* source, const TMusicPlayerClass* sound) {
  if (!source) KIV_FAIL("No KivSource for KivMusicPlayer");
  RefuseShowLibraries(*source);
  TSoundSource sounds = sound ? sound->Source() : ShowMusicSounds(source->Container());
  auto length = [sounds = std::move(sounds)](std::u16string_view name) -> double {
    const std::optional<TMediaInfo> media = sounds.Describe(name);
    return media && media->Duration > 0 ? double(media->Duration) : -1;
  };
  return std::make_unique<TKivMusicSource>(*source, length);
}

}  // namespace

// Plays through the lender's output while it is the latest borrower to start it.
class TLentAudioOutput : public IAudioOutput {
 public:
  TLentAudioOutput(std::shared_ptr<TAudioOutputLender> lender, uint64_t number)
      : FLender(std::move(lender)), FNumber(number) {}
  ~TLentAudioOutput() override { Stop(); }

  std::string Describe() const override { return FLender->FOutput->Describe(); }
  bool Start(TAudioPull pull) override {
    std::lock_guard lock(FLender->FLock);
    FLender->FLatest = FNumber;
    return FLender->FOutput->Start(std::move(pull));
  }
  void Stop() override {
    std::lock_guard lock(FLender->FLock);
    if (FLender->FLatest != FNumber) return;
    FLender->FLatest = 0;
    FLender->FOutput->Stop();
  }
  uint64_t FramesPlayed() const override { return FLender->FOutput->FramesPlayed(); }

 private:
  std::shared_ptr<TAudioOutputLender> FLender;
  const uint64_t FNumber;
};

std::unique_ptr<IAudioOutput> TAudioOutputLender::Lend() {
  std::lock_guard lock(FLock);
  return std::make_unique<TLentAudioOutput>(shared_from_this(), ++FLent);
}

TKivMusicPlayer::TKivMusicPlayer(const TKivSource* source, TKivMusicPlayerParts parts)
    : TKivMusicPlayer(MusicOf(source, parts.Sound.get()), std::move(parts)) {}

std::shared_ptr<TMusicPlayerClass> MakeMusicSoundPlayer(std::unique_ptr<IAudioOutput> output, TSoundSource source,
                                                        std::string_view reason) {
  return std::make_shared<TMusicPlayerClass>(std::move(output), ChainingSoundSource(std::move(source)), reason);
}

TSoundSource ShowMusicSounds(const TFileAccessor* accessor) { return ShowSoundSource(MusicFileOpener(accessor)); }

TMusicPlayerFactory KivMusicPlayers(TMusicPlayerSetup setup) {
  return [setup = std::move(setup)](TKivSource& source) -> std::unique_ptr<IKivMusicPlayer> {
    TKivMusicPlayerParts parts;
    if (setup.Output) {
      parts.Sound = MakeMusicSoundPlayer(setup.Output->Lend(), ShowMusicSounds(source.Container()));
      if (setup.SoundMade) setup.SoundMade(parts.Sound);
    }
    parts.PlayerPasses = setup.PlayerPasses;
    parts.LoaderPasses = setup.LoaderPasses;
    parts.FollowSoundClock = setup.FollowSoundClock;
    return std::make_unique<TKivMusicPlayer>(&source, std::move(parts));
  };
}

}  // namespace kiv
