#include "music/kiv_music_player.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>

#include "music_rig.h"
#include "support/log_capture.h"

namespace kiv {
namespace {

// A pass of the player and a period of the mix: how late a sound may start.
constexpr double kStartSlackMs = TKivMusicPlayer::kStepMs + 10;

class MusicPlayer : public ::testing::Test {
 protected:
  MusicPlayer() {
    tones.Tones[u"level"] = TTone{.Hz = 0, .Level = 8000, .Ms = 8000};
    tones.Tones[u"voice"] = TTone{.Hz = 3.7, .Level = 8000, .Ms = 10000};
    tones.Tones[u"music"] = TTone{.Hz = 7.3, .Level = 6000, .Ms = 60000};
    tones.Tones[u"bed"] = TTone{.Hz = 0, .Level = 4000, .Ms = 20000};
    tones.Tones[u"loop"] = TTone{.Hz = 100, .Level = 10000, .Ms = 1000};  // 100 whole periods
    tones.Tones[u"short"] = TTone{.Hz = 0, .Level = 5000, .Ms = 1500};
    tones.Gate = &gate;
  }
  std::atomic<bool> gate{false};  // converters keep it: it outlives them
  TToneLibrary tones;
  TMusicRig rig{tones};
};

// Whether the mix from frame at on is tone from position on, for count frames.
bool Follows(const std::vector<int16_t>& left, size_t at, const TTone& tone, uint64_t position, size_t count) {
  if (at + count > left.size()) return false;
  for (size_t i = 0; i < count; ++i)
    if (left[at + i] != tone.Sample(position + i)) return false;
  return true;
}

// A start fades in over its first 441 frames; from there on the mix is the sound from
// position on.
void ExpectSoundFrom(const std::vector<int16_t>& left, size_t onset, const TTone& tone, uint64_t position,
                     size_t frames) {
  ASSERT_LT(onset + 441 + frames, left.size());
  for (size_t i = 441; i < 441 + frames; ++i)
    ASSERT_EQ(left[onset + i], tone.Sample(position + i)) << "frame " << i << " after the start";
}

TEST_F(MusicPlayer, ACommentStartsWithItsSlideWithinAPassAndAMixPeriod) {
  for (const double slideStart : {1000.0, 1003.0, 2497.0}) {
    SCOPED_TRACE(slideStart);
    TMusicRig show{tones};
    show.Play({.Slides = {Slide(0, slideStart), Slide(slideStart, 9000, u"level", 3000)}});
    const size_t zero = show.StartAt(0);
    show.Run(uint32_t(slideStart) + 200);
    const auto left = show.Left();
    const size_t onset = Onset(left, zero);
    ASSERT_NE(onset, std::string::npos) << "the comment was not heard";
    const double late = double(onset - zero) / 44.1 - slideStart;
    EXPECT_GE(late, -1.0 / 44.1);
    EXPECT_LE(late, kStartSlackMs);
  }
}

TEST_F(MusicPlayer, InALoopingShowASlidesSoundComesAgainWithEveryRound) {
  // A show of 3 s that starts again after its end: the sound of its second slide, due at
  // 1000 ms of every round, is due at 4000 and 7000 ms of the show clock.
  rig.Play({.Slides = {Slide(0, 1000), Slide(1000, 3000, u"level", 1000)}, .Loops = true});
  const size_t zero = rig.StartAt(2500);
  rig.Run(5000);
  const auto left = rig.Left();
  size_t from = zero;
  for (const double due : {4000.0, 7000.0}) {
    SCOPED_TRACE(due);
    const size_t onset = Onset(left, from);
    ASSERT_NE(onset, std::string::npos);
    EXPECT_GE(onset, zero + Frames(due - 2500));
    EXPECT_LE(double(onset - zero) / 44.1 - (due - 2500), kStartSlackMs);
    from = onset + Frames(1100);  // past this round's sound
  }
}

TEST_F(MusicPlayer, SynchronisedMusicStartsAfreshAtEveryRepetitionOfItsLength) {
  // A 60 s list in a 150 s show: repetitions at 0, 60 and 120 s, each from its first
  // sample, with a fade-in of its own.
  const TTone& music = tones.Tones[u"music"];
  for (const double repetition : {0.0, 60000.0, 120000.0}) {
    SCOPED_TRACE(repetition);
    TMusicRig show{tones};
    show.Play({.Slides = {Slide(0, 150000)},
               .Main = List({{u"music", 60000}}, false),
               .Flags = {.UseMusic = true, .Synchronise = true}});
    const double from = std::max(0.0, repetition - 1000);
    const size_t zero = show.StartAt(from);
    show.Run(2500);
    const auto left = show.Left();
    if (repetition > 0) {
      // The previous repetition plays up to the new one from where the seek put it.
      const size_t before = Onset(left, zero);
      ExpectSoundFrom(left, before, music, Frames(from - (repetition - 60000)), Frames(900));
    }
    // Where the new one starts: 30 ms on (past any tail of the previous one and past
    // its fade-in) the mix is the music from its start.
    const size_t due = zero + Frames(repetition - from);
    size_t start = std::string::npos;
    for (size_t at = due; at <= due + Frames(kStartSlackMs) && start == std::string::npos; ++at)
      if (Follows(left, at + Frames(30), music, Frames(30), Frames(1000))) start = at;
    ASSERT_NE(start, std::string::npos) << "no fresh start within " << kStartSlackMs << " ms";
    if (repetition == 0) {
      EXPECT_LE(std::abs(left[start]), music.Level / 441 + 1) << "the fade-in rises from silence";
      EXPECT_EQ(left[start - 1], 0);
    }
  }
}

TEST_F(MusicPlayer, PausingKeepsFreeRunningMusicAndStopsComments) {
  TKivMusicPlayer& player = rig.Play({.Slides = {Slide(0, 10000, u"level", 8000)},
                                       .Main = List({{u"bed", 20000}}, true),
                                       .Flags = {.UseMusic = true, .Synchronise = false}});
  rig.StartAt(0);
  rig.Run(1000);
  player.SetRunning(false);
  const double pausedAt = player.CurrentTime();
  rig.Run(500);
  EXPECT_EQ(player.CurrentTime(), pausedAt) << "the show time stands";
  const auto left = rig.Left();
  const size_t paused = Frames(rig.Now() - 500);
  EXPECT_EQ(left[paused - 100], 8000 + 4000) << "both before the pause";
  EXPECT_EQ(left[paused + Frames(100)], 4000) << "only the music after it";
  EXPECT_EQ(left.back(), 4000);
}

TEST_F(MusicPlayer, ASeekIntoALaterSlideResumesAnEarlierSlidesCommentWhereItStands) {
  // The comment of the slide at 2000 lasts 8 s; the seek lands two slides later.
  const TTone& voice = tones.Tones[u"voice"];
  rig.Play({.Slides = {Slide(0, 2000), Slide(2000, 4000, u"voice", 8000), Slide(4000, 6000), Slide(6000, 8000)}});
  const size_t zero = rig.StartAt(6500);
  rig.Run(1000);
  const auto left = rig.Left();
  const size_t onset = Onset(left, zero);
  ASSERT_NE(onset, std::string::npos);
  EXPECT_LE(double(onset - zero) / 44.1, kStartSlackMs);
  ExpectSoundFrom(left, onset, voice, Frames(4500), 22050);
}

TEST_F(MusicPlayer, ARepeatedListWrapsWithoutAGapOrAClick) {
  const TTone& loop = tones.Tones[u"loop"];
  rig.Play({.Slides = {Slide(0, 10000)}, .Main = List({{u"loop", 1000}}, true), .Flags = {.UseMusic = true}});
  const size_t zero = rig.StartAt(0);
  rig.Run(4500);
  const auto left = rig.Left();
  const size_t onset = Onset(left, zero);
  ASSERT_NE(onset, std::string::npos);
  // Three wraps, every frame of them the tone's own.
  const size_t period = Frames(1000);
  for (size_t i = 441; i < 3 * period + 441; ++i) ASSERT_EQ(left[onset + i], loop.Sample(i % period)) << i;
  const int ownStep = int(std::ceil(loop.Level * 2 * M_PI * loop.Hz / 44100));
  for (size_t i = onset + 441; i < onset + 3 * period + 441; ++i)
    ASSERT_LE(std::abs(left[i + 1] - left[i]), ownStep) << "a step at frame " << i - onset;
}

TEST_F(MusicPlayer, AfterASeekTheFlagStaysNotReadyUntilTheNewChannelsAreMade) {
  TKivMusicPlayer& player = rig.Play({.Slides = {Slide(0, 2000), Slide(2000, 9000, u"level", 5000)}});
  ASSERT_TRUE(rig.RunUntilReady());
  gate = true;  // the loader is held while it buffers the comment
  player.SetTime(-1, 3000);
  EXPECT_FALSE(player.IsMusicReady()) << "not ready as the seek returns";
  rig.Run(500);
  EXPECT_FALSE(player.IsMusicReady()) << "not ready while the channel is being made";
  EXPECT_EQ(player.CurrentTime(), 3000);
  gate = false;
  EXPECT_TRUE(rig.RunUntilReady(500));
}

TEST_F(MusicPlayer, ASeekReturnsWithinAPassWhileThePlayersThreadIsHeldInASound) {
  // Synchronised music paused and run again opens its sound afresh on the player's
  // thread; a decoder that hangs there must not hang the engine's seek.
  TKivMusicPlayer& player = rig.Play({.Slides = {Slide(0, 150000)},
                                       .Main = List({{u"music", 60000}}, false),
                                       .Flags = {.UseMusic = true, .Synchronise = true}});
  rig.StartAt(0);
  rig.Run(300);
  player.SetRunning(false);
  rig.Run(300);
  gate = true;
  player.SetRunning(true);
  // The pass that plays the music again is held in the decoder: passes stop.
  for (uint64_t seen = ~0ull; seen != rig.Passes->Value();) {
    seen = rig.Passes->Value();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  const auto began = std::chrono::steady_clock::now();
  player.SetTime(-1, 30000);
  const auto took = std::chrono::steady_clock::now() - began;
  EXPECT_LT(took, std::chrono::milliseconds(100));
  EXPECT_EQ(player.CurrentTime(), 30000) << "the clock has the new time at once";
  EXPECT_FALSE(player.IsMusicReady());
  gate = false;
  EXPECT_TRUE(rig.RunUntilReady());
}

TEST_F(MusicPlayer, ASoundShorterThanPlannedEndsAtItsOwnEnd) {
  testing::TLogCapture log;
  // A comment of 1.5 s planned for 4 s, and a list entry planned for 4 s whose sound
  // lasts 1.5 s: the next entry still comes at 4 s.
  TKivMusicPlayer& player = rig.Play({.Slides = {Slide(0, 1000), Slide(1000, 9000, u"short", 4000)},
                                       .Main = List({{u"short", 4000}, {u"level", 3000}}, false),
                                       .Flags = {.UseMusic = true}});
  const size_t zero = rig.StartAt(0);
  rig.Run(1600);
  EXPECT_EQ(log.Count("Clear CurComment"), 0u);
  rig.Run(1000);  // show time 2600: the comment's sound ended at 2500
  EXPECT_EQ(log.Count("Clear CurComment"), 1u) << "the comment ends with its sound, not at 5000";
  rig.Run(2000);
  const auto left = rig.Left();
  EXPECT_EQ(left[zero + Frames(500)], 5000) << "the list's first entry";
  EXPECT_EQ(left[zero + Frames(1200)], 5000 + 5000) << "and the comment";
  EXPECT_EQ(left[zero + Frames(3000)], 0) << "both sounds over";
  EXPECT_EQ(left[zero + Frames(4200)], 8000) << "the next entry at its planned start";
  EXPECT_EQ(player.ItemCount(), 1u) << "only the list is left";
}

TEST(MusicPlayerWithoutSound, KeepsTimeOnTheProgramClockAndIsReadyOnceItsChannelsAreBack) {
  TToneLibrary tones;
  tones.Tones[u"level"] = TTone{.Hz = 0, .Level = 8000, .Ms = 8000};
  TMusicRig rig{tones, false};
  TKivMusicPlayer& player = rig.Play({.Slides = {Slide(0, 5000, u"level", 4000)}});
  EXPECT_TRUE(rig.RunUntilReady());
  player.SetTime(-1, 1000);
  ASSERT_TRUE(rig.RunUntilReady());
  player.SetRunning(true);
  rig.Run(700);
  EXPECT_EQ(player.CurrentTime(), 1700);
  EXPECT_FLOAT_EQ(player.GetVolume(), 0);
}

}  // namespace
}  // namespace kiv
