#pragma once
// A music player on the virtual output and a stepped clock: each 10 ms step refills the
// playing buffers, renders 441 frames of the mix, moves the clock on, lets the reaper
// and the sound clock take their turn, and then waits until the player has made a
// whole pass at the new time. Shows are made of their parts, with tones as sounds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "music/kiv_music_player.h"
#include "music/kiv_music_source.h"
#include "music/music_player_factory.h"
#include "sound/play_list.h"
#include "sound/sound_rig.h"

namespace kiv {

// A slide of a show made of its parts (copyable, unlike the slide's music info).
struct TSlideSpec {
  double Start = 0;
  double End = 0;
  std::u16string Sound;
  double SoundLength = 0;
};
inline TSlideSpec Slide(double start, double end, std::u16string sound = {}, double soundLength = 0) {
  return {start, end, std::move(sound), soundLength};
}

inline TPlayList List(std::vector<std::pair<std::u16string, double>> entries, bool repeat) {
  TPlayList list;
  for (const auto& [name, length] : entries) list.Add(name, length);
  list.Repeat = repeat;
  return list;
}

struct TShowMusic {
  std::vector<TSlideSpec> Slides = {};
  TPlayList Main = {};
  TMusicFlags Flags = {};
  double Duration = 0;
  bool Loops = false;

  std::unique_ptr<TKivMusicSource> Make() const {
    std::vector<TSlideMusicInfo> slides(Slides.size());
    for (size_t i = 0; i < Slides.size(); ++i) {
      slides[i].Timing.StartTime = Slides[i].Start;
      slides[i].Timing.EndTime = slides[i].Timing.TotalEnd = Slides[i].End;
      slides[i].SlideNumber = i + 1 == Slides.size() ? 0 : int(i + 1);
      slides[i].Sound = Slides[i].Sound;
      slides[i].SoundLength = Slides[i].SoundLength;
    }
    const double duration = Duration == 0 && !Slides.empty() ? Slides.back().End : Duration;
    return std::make_unique<TKivMusicSource>(std::move(slides), Main, Flags, duration, Loops);
  }
};

class TMusicRig {
 public:
  static constexpr uint32_t kPassTimeoutMs = 5000;

  explicit TMusicRig(TToneLibrary& tones, bool withOutput = true)
      : FClock(SharedClock()), FStart(FClock.NowMs()), FPrevious(SetClock(&FClock)) {
    auto output = std::make_unique<TVirtualAudioOutput>();
    Output = withOutput ? output.get() : nullptr;
    Sound = MakeMusicSoundPlayer(withOutput ? std::move(output) : nullptr, tones.Source(), "no output in this test");
  }
  ~TMusicRig() {
    Player.reset();
    Sound.reset();
    // What still fades is heard out on the rig's time before the clock goes back.
    for (int i = 0; i < 1000 && ChannelKiller().Count() > 0; ++i) {
      FClock.Advance(10);
      ChannelKiller().Sweep();
    }
    SetClock(FPrevious);
  }

  TKivMusicPlayer& Play(const TShowMusic& show) {
    Player = std::make_unique<TKivMusicPlayer>(show.Make(), TKivMusicPlayerParts{Sound, true, Passes, LoaderPasses});
    Settle();
    return *Player;
  }

  // Waits until the player has made a whole pass since now.
  void Settle() {
    const uint64_t seen = Passes->Value();
    ASSERT_TRUE(Passes->WaitBeyond(seen + 1, kPassTimeoutMs)) << "the player's thread made no pass";
  }

  void Run(uint32_t ms) {
    for (uint32_t step = 0; step < ms / 10; ++step) {
      if (Output) {
        Sound->Device().Settle();
        Output->Render(kFramesPer10Ms);
      }
      FClock.Advance(10);
      ChannelKiller().Sweep();
      if (TTimerChannel* timer = Sound->Timer()) timer->Update();
      Settle();
    }
  }
  // Steps until the player is ready, at most ms.
  bool RunUntilReady(uint32_t ms = 2000) {
    for (uint32_t waited = 0; !Player->IsMusicReady(); waited += 10) {
      if (waited >= ms) return false;
      Run(10);
    }
    return true;
  }
  // Seeks to showMs, waits for the sounds of that time and runs from there; answers the
  // mix frame at which the show time is showMs.
  size_t StartAt(double showMs) {
    Player->SetTime(-1, showMs);
    EXPECT_TRUE(RunUntilReady()) << "not ready after a seek to " << showMs;
    Player->SetRunning(true);
    return size_t(Now()) * 441 / 10;
  }

  // ms since the rig was made (the output's first frame).
  uint32_t Now() { return FClock.NowMs() - FStart; }
  std::vector<int16_t> Left() const {
    std::vector<int16_t> left;
    const auto samples = Output->Samples();
    for (size_t i = 0; i < samples.size(); i += 2) left.push_back(samples[i]);
    return left;
  }

  TVirtualAudioOutput* Output;
  std::shared_ptr<TMusicPlayerClass> Sound;
  std::shared_ptr<TPassCounter> Passes = std::make_shared<TPassCounter>();
  std::shared_ptr<TPassCounter> LoaderPasses = std::make_shared<TPassCounter>();
  std::unique_ptr<TKivMusicPlayer> Player;

 private:
  // One clock for every rig, never freed: the process-wide reaper may be reading the
  // clock just as a rig puts the previous one back. Its time only moves on.
  static TSteppedClock& SharedClock() {
    static TSteppedClock* clock = new TSteppedClock(0);
    return *clock;
  }

  TSteppedClock& FClock;
  const uint32_t FStart;
  IClock* FPrevious;
};

// The first frame from from on whose sample is not silent, or npos.
inline size_t Onset(const std::vector<int16_t>& left, size_t from = 0) {
  for (size_t i = from; i < left.size(); ++i)
    if (left[i] != 0) return i;
  return std::string::npos;
}

// Frames of ms of the mix.
inline size_t Frames(double ms) { return size_t(std::llround(ms * 44.1)); }

}  // namespace kiv
