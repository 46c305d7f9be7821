#include "kivshow/render_sound.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <vector>

#include "base/errors.h"
#include "music/music_player_factory.h"
#include "platform/virtual_audio_output.h"
#include "sound/channel_killer.h"
#include "sound/music_player_class.h"
#include "sound/wave_out_device.h"

namespace kiv {

namespace {

constexpr uint32_t kStepMs = 10;

}  // namespace

// The virtual output of a render; what each render of it pulls is kept for the WAV file.
class TRenderAudioOutput : public TVirtualAudioOutput {
 public:
  TRenderAudioOutput() : TVirtualAudioOutput(false) {}

  bool Start(TAudioPull pull) override {
    return TVirtualAudioOutput::Start([this, pull = std::move(pull)](int16_t* frames, size_t count) {
      pull(frames, count);
      std::lock_guard lock(FLock);
      FPulled.insert(FPulled.end(), frames, frames + count * kOutputChannels);
    });
  }

  std::vector<int16_t> TakePulled() {
    std::lock_guard lock(FLock);
    std::vector<int16_t> pulled;
    pulled.swap(FPulled);
    return pulled;
  }

 private:
  std::mutex FLock;
  std::vector<int16_t> FPulled;
};

namespace {

// A WAV file of the mix format written as it grows; its header is completed at the end.
class TWavFileWriter : public ISoundTape {
 public:
  explicit TWavFileWriter(const std::filesystem::path& path) : FFile(std::fopen(path.c_str(), "wb")) {
    if (!FFile) throw EKivError(path.string() + ": the sound cannot be written there");
    WriteHeader();
  }
  ~TWavFileWriter() override {
    WriteHeader();
    std::fclose(FFile);
  }
  void WriteAt(uint64_t at, const std::vector<int16_t>& samples) override {
    size_t skip = 0;
    if (at > FFrames) {
      const std::vector<int16_t> silence(size_t(at - FFrames) * kOutputChannels, 0);
      Append(silence.data(), silence.size());
    } else {
      skip = size_t(std::min<uint64_t>(FFrames - at, samples.size() / kOutputChannels)) * kOutputChannels;
    }
    Append(samples.data() + skip, samples.size() - skip);
  }

 private:
  void Append(const int16_t* samples, size_t count) {
    // Little-endian samples, as this machine holds them.
    std::fwrite(samples, sizeof(int16_t), count, FFile);
    FFrames += count / kOutputChannels;
  }
  void WriteHeader() {
    const long end = std::ftell(FFile);
    std::fseek(FFile, 0, SEEK_SET);
    WriteOutputWavHeader(FFile, FFrames * kOutputFrameBytes);
    if (end > 0) std::fseek(FFile, end, SEEK_SET);
  }

  std::FILE* FFile;
  uint64_t FFrames = 0;
};

}  // namespace

std::shared_ptr<ISoundTape> WavFileTape(const std::filesystem::path& path) {
  return std::make_shared<TWavFileWriter>(path);
}

// Where the renderer reads the show time the music player keeps, while the engine owns
// the player.
struct TMusicTap {
  std::mutex Lock;
  IKivMusicPlayer* Player = nullptr;

  std::optional<double> Time() {
    std::lock_guard lock(Lock);
    if (!Player) return std::nullopt;
    return Player->CurrentTime();
  }
};

namespace {

// The player the engine holds: the music player, seen through the tap while it lives.
class TTappedMusicPlayer : public IKivMusicPlayer {
 public:
  TTappedMusicPlayer(std::unique_ptr<IKivMusicPlayer> inner, std::shared_ptr<TMusicTap> tap)
      : FInner(std::move(inner)), FTap(std::move(tap)) {
    std::lock_guard lock(FTap->Lock);
    FTap->Player = FInner.get();
  }
  ~TTappedMusicPlayer() override {
    std::lock_guard lock(FTap->Lock);
    if (FTap->Player == FInner.get()) FTap->Player = nullptr;
  }
  void SetRunning(bool running) override { FInner->SetRunning(running); }
  void SetTime(double endMs, double timeMs) override { FInner->SetTime(endMs, timeMs); }
  double EndTime() const override { return FInner->EndTime(); }
  double CurrentTime() const override { return FInner->CurrentTime(); }
  bool IsMusicReady() const override { return FInner->IsMusicReady(); }
  float GetVolume() const override { return FInner->GetVolume(); }
  void SetVolume(float volume) override { FInner->SetVolume(volume); }

 private:
  std::unique_ptr<IKivMusicPlayer> FInner;
  std::shared_ptr<TMusicTap> FTap;
};

}  // namespace

TRenderSound::TRenderSound(TSteppedClock& clock, double startMs, std::shared_ptr<ISoundTape> tape)
    : FClock(clock),
      FStartMs(startMs),
      FClockAtStart(clock.NowMs()),
      FPasses(std::make_shared<TPassCounter>()),
      FLoaderPasses(std::make_shared<TPassCounter>()),
      FTap(std::make_shared<TMusicTap>()),
      FTape(std::move(tape)) {
  auto output = std::make_unique<TRenderAudioOutput>();
  FOutput = output.get();
  FLender = std::make_shared<TAudioOutputLender>(std::move(output));
}

TRenderSound::~TRenderSound() = default;

TMusicPlayerFactory TRenderSound::Players() {
  TMusicPlayerSetup setup;
  setup.Output = FLender;
  setup.SoundMade = [this](const std::shared_ptr<TMusicPlayerClass>& sound) {
    std::lock_guard lock(FLock);
    FSound = sound;
    FPlayerMade = true;
  };
  setup.PlayerPasses = FPasses;
  setup.LoaderPasses = FLoaderPasses;
  // The render moves the clock and mixes the sound in step with it: the show clock is
  // the render's clock itself, to the millisecond.
  setup.FollowSoundClock = false;
  TMusicPlayerFactory players = KivMusicPlayers(std::move(setup));
  return [players, tap = FTap](TKivSource& source) -> std::unique_ptr<IKivMusicPlayer> {
    return std::make_unique<TTappedMusicPlayer>(players(source), tap);
  };
}

bool TRenderSound::PlayerMade() {
  std::lock_guard lock(FLock);
  return FPlayerMade;
}

std::shared_ptr<TMusicPlayerClass> TRenderSound::CurrentSound() {
  std::lock_guard lock(FLock);
  return FSound;
}

void TRenderSound::Advance(uint32_t ms, double wantedMs) {
  while (ms > 0) {
    uint32_t step = std::min(ms, kStepMs);
    // A show that runs by now moves with the clock: it stops at the wanted time.
    if (const std::optional<double> time = FTap->Time(); time && *time + step > wantedMs)
      step = *time < wantedMs ? uint32_t(wantedMs - *time) : 0;
    if (step == 0) return;
    Step(step);
    ms -= step;
  }
}

// Each pass is woken for rather than left to the sleep between passes.
void TRenderSound::WaitForPasses(const TPassCounter& passes, uint64_t after,
                                 std::chrono::steady_clock::time_point deadline) {
  for (uint64_t seen = passes.Value(); seen <= after && std::chrono::steady_clock::now() < deadline;
       seen = passes.Value()) {
    FClock.Nudge();
    passes.WaitBeyond(seen, 1);
  }
}

void TRenderSound::Step(uint32_t ms) {
  const std::shared_ptr<TMusicPlayerClass> sound = CurrentSound();
  const std::optional<double> before = FTap->Time();
  if (sound) sound->Device().Settle();
  const uint64_t target = uint64_t(uint32_t(FClock.NowMs() + ms - FClockAtStart)) * kOutputRate / 1000;
  FOutput->Render(size_t(target - FRendered));
  FRendered = target;
  const uint64_t passes = FPasses->Value();
  FClock.Advance(ms);
  ChannelKiller().Sweep();
  if (sound) {
    // The player looks at the new time; then the loader makes the channels asked for in
    // that look, and the player starts them: all before the next stretch is mixed, so
    // that no sound starts a step late because the loader took real time.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPassWaitMs);
    WaitForPasses(*FPasses, passes + 2, deadline);
    WaitForPasses(*FLoaderPasses, FLoaderPasses->Value() + 1, deadline);
    WaitForPasses(*FPasses, FPasses->Value() + 1, deadline);
  }
  const std::vector<int16_t> mixed = FOutput->TakePulled();
  const std::optional<double> after = FTap->Time();
  // Only what sounded while the show time moved with the clock is the show's sound.
  if (FTape && before && after && std::abs(*after - *before - ms) < 0.5 && *before >= FStartMs)
    FTape->WriteAt(uint64_t(std::llround((*before - FStartMs) * kOutputRate / 1000)), mixed);
}

}  // namespace kiv
