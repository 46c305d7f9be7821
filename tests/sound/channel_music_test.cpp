#include "sound/channel_music.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "sound/music_channel.h"
#include "sound/volume_level.h"
#include "sound/wave_out_buffer.h"
#include "sound_rig.h"
#include "support/log_capture.h"

namespace kiv {
namespace {

// A fade asked for at ms is heard from 25 ms (1102 frames) past the cursor.
constexpr size_t kRewriteFrames = 44100 / 40;

class ChannelMusic : public ::testing::Test {
 protected:
  ChannelMusic() {
    tones.Tones[u"tone"] = TTone{.Hz = 1000, .Level = 10000, .Ms = 2000};
    tones.Tones[u"level"] = TTone{.Hz = 0, .Level = 16000, .Ms = 10000};
    tones.Tones[u"short"] = TTone{.Hz = 0, .Level = 5000, .Ms = 300};
  }
  std::unique_ptr<TChannelMusic> Playing(const char16_t* name, uint32_t fadeInMs = 0) {
    auto channel = rig.Player->CreateChannel(name, -1);
    EXPECT_NE(channel, nullptr);
    if (channel) {
      EXPECT_TRUE(channel->Play(fadeInMs));
    }
    return channel;
  }

  TToneLibrary tones;
  TSoundRig rig{tones};
};

TEST_F(ChannelMusic, AToneStartedAtATimeLandsOnThatByteOfTheMix) {
  rig.Run(500);
  auto channel = Playing(u"tone");
  rig.Run(2500);
  const auto left = rig.Left();
  const TTone& tone = tones.Tones[u"tone"];
  const size_t start = FrameAt(500);  // byte 88200 of the mix
  for (size_t frame = 0; frame < start; ++frame) ASSERT_EQ(left[frame], 0) << frame;
  // Every frame of the tone's 2 seconds where it belongs, past the initial fill too.
  for (size_t frame = 0; frame < FrameAt(2000); ++frame) ASSERT_EQ(left[start + frame], tone.Sample(frame)) << frame;
  EXPECT_EQ(left[start + FrameAt(2000)], 0);
}

TEST_F(ChannelMusic, AFadeOutIsHeard25MsAfterItWasAskedAndFallsOverItsLength) {
  auto channel = Playing(u"level");
  rig.Run(1000);
  EXPECT_TRUE(channel->Stop(100));
  EXPECT_FALSE(channel->IsPlaying());
  EXPECT_FALSE(channel->Stop(100)) << "stopping already";
  rig.Run(500);
  const auto left = rig.Left();
  const size_t point = FrameAt(1000) + kRewriteFrames;
  EXPECT_EQ(left[point - 1], 16000);
  EXPECT_NEAR(left[point + 2205 - 1], 8000, 5);  // half way through 100 ms
  EXPECT_EQ(left[point + 4410 + 1], 0);
  EXPECT_EQ(left.back(), 0);
  EXPECT_EQ(ChannelKiller().Count(), 0u) << "reaped once heard";
}

TEST_F(ChannelMusic, AZeroFadeIsOneFrame) {
  auto channel = Playing(u"level");
  rig.Run(200);
  channel->Stop(0);
  rig.Run(100);
  const auto left = rig.Left();
  const size_t point = FrameAt(200) + kRewriteFrames;
  EXPECT_EQ(left[point - 1], 16000);
  EXPECT_EQ(left[point], 0);
}

TEST_F(ChannelMusic, AFadeInRisesFromTheStartingFrame) {
  auto channel = Playing(u"level", 10);
  rig.Run(100);
  const auto left = rig.Left();
  EXPECT_EQ(left[0], std::lround(16000.0 / 441));
  EXPECT_NEAR(left[220], 8000, 40);
  EXPECT_EQ(left[441], 16000);
}

TEST_F(ChannelMusic, VolumeStepsTakeEffectOnTheNextMixedFrame) {
  auto channel = Playing(u"level");
  rig.Run(100);
  channel->SetVolume(0.5f);  // -600
  rig.Run(100);
  rig.Player->SetVolume(0.5f);  // channel × master: 0.25, -1200
  EXPECT_FLOAT_EQ(channel->GetMasterVolume(), 0.5f);
  rig.Run(100);
  const auto left = rig.Left();
  EXPECT_EQ(left[FrameAt(100) - 1], 16000);
  EXPECT_EQ(left[FrameAt(100)], std::lround(16000 * AmplitudeFromLevel(-600)));
  EXPECT_EQ(left[FrameAt(200)], std::lround(16000 * AmplitudeFromLevel(-1200)));
  // A channel made later gets the master volume at once.
  auto second = rig.Player->CreateChannel(u"level", -1);
  EXPECT_FLOAT_EQ(second->GetMasterVolume(), 0.5f);
}

TEST_F(ChannelMusic, TheReaperFreesAFinishedSoundAfterItsLastSamplePlus20MsAndSaysSoOnce) {
  rig.Run(100);
  auto channel = Playing(u"short");
  std::atomic<int> finished{0};
  std::atomic<double> positionSeen{-1};
  uint32_t finishedAt = 0;
  channel->SetFinishedEvent([&] {
    ++finished;
    positionSeen = channel->GetPosition();  // the channel's lock is free here
  });
  rig.AfterStep = [&] {
    if (finished && !finishedAt) finishedAt = rig.Now();
  };
  rig.Run(1000);
  const auto left = rig.Left();
  EXPECT_EQ(left[FrameAt(400) - 1], 5000);
  EXPECT_EQ(left[FrameAt(400)], 0);
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(finishedAt, 420u);
  EXPECT_EQ(positionSeen, 300) << "at its end";
  EXPECT_FALSE(channel->IsPlaying());
}

TEST_F(ChannelMusic, AFinishedEventMayDestroyItsChannel) {
  auto channel = Playing(u"short");
  std::atomic<int> finished{0};
  channel->SetFinishedEvent([&] {
    ++finished;
    channel.reset();
  });
  rig.Run(500);
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(channel, nullptr);
  EXPECT_EQ(rig.Player->ChannelCount(), 0u);
}

TEST_F(ChannelMusic, DestroyingAStoppingChannelLetsItsFadeBeHeardToTheEnd) {
  auto channel = Playing(u"level");
  rig.Run(1000);
  channel->Stop(200);
  channel.reset();
  EXPECT_EQ(rig.Player->ChannelCount(), 0u);
  rig.Run(500);
  const auto left = rig.Left();
  const size_t point = FrameAt(1000) + kRewriteFrames;
  EXPECT_NEAR(left[point + FrameAt(100)], 8000, 5);
  EXPECT_EQ(left[point + FrameAt(200) + 1], 0);
  EXPECT_EQ(ChannelKiller().Count(), 0u);
}

TEST_F(ChannelMusic, DestroyingAPlayingChannelFadesItOutOver10Ms) {
  auto channel = Playing(u"level");
  rig.Run(300);
  channel.reset();
  rig.Run(100);
  const auto left = rig.Left();
  const size_t point = FrameAt(300) + kRewriteFrames;
  EXPECT_EQ(left[point - 1], 16000);
  EXPECT_NEAR(left[point + 220], 8000, 40);
  EXPECT_EQ(left[point + 442], 0);
}

TEST_F(ChannelMusic, SeekingWhilePlayingCrossFadesTheOldAndTheNewPosition) {
  auto channel = Playing(u"level");
  rig.Run(1000);
  channel->SetPosition(5000);
  EXPECT_TRUE(channel->IsPlaying());
  rig.Run(200);
  const auto left = rig.Left();
  EXPECT_EQ(left[FrameAt(1000) + 500], 32000) << "both sound together";
  EXPECT_EQ(left[FrameAt(1000) + kRewriteFrames + 442], 16000) << "the old one has faded out";
  EXPECT_NEAR(channel->GetPosition(), 5200, 0.1);
}

TEST_F(ChannelMusic, PlayAfterStopResumesWhereItStoppedAndFailsWhenTheSoundIsGone) {
  auto channel = Playing(u"level");
  rig.Run(300);
  channel->Stop(0);
  EXPECT_NEAR(channel->GetPosition(), 300, 0.1);
  rig.Run(100);
  EXPECT_TRUE(channel->Play(0));
  EXPECT_NEAR(channel->GetPosition(), 300, 0.1);
  channel->Stop(0);
  rig.Run(100);
  tones.Closed[u"level"] = true;
  EXPECT_FALSE(channel->Play(0)) << "a failed re-open is no play";
  EXPECT_FALSE(channel->IsPlaying());
}

TEST_F(ChannelMusic, AStopIsNotHeldUpByARefillThatIsDecoding) {
  std::atomic<bool> gate{false};
  tones.Gate = &gate;
  auto channel = Playing(u"level");
  rig.Run(200);
  gate = true;
  std::thread refill([&] { rig.Player->Device().Settle(); });
  while (!tones.LastConverter->Entered) std::this_thread::yield();
  // The refill is inside the decoder: asking for the fade must not wait for it.
  EXPECT_TRUE(channel->Stop(50));
  gate = false;
  refill.join();
  rig.Run(200);
  EXPECT_EQ(rig.Left().back(), 0);
}

TEST(ChannelMusicWithoutOutput, NothingIsMadeAndTheClockStaysAtZeroAndTheLogSaysWhy) {
  testing::TLogCapture log;
  TToneLibrary tones;
  tones.Tones[u"tone"] = TTone{};
  TSoundRig rig(tones, false);
  EXPECT_FALSE(rig.Player->IsReady());
  EXPECT_EQ(rig.Player->CreateChannel(u"tone", 0), nullptr);
  EXPECT_EQ(rig.Player->GetTime(), 0);
  EXPECT_EQ(rig.Player->GetTime(), 0);
  EXPECT_EQ(log.Count("!!! AudioOutput = nil [wave_out_device]"), 1u);
  EXPECT_EQ(log.Count("Sound output: none (no output in this test); the show runs silent"), 1u);
  EXPECT_EQ(log.Count("SoundBuffer = nil"), 0u);
}

TEST(ChannelMusicCreation, UnknownOrUnopenableNamesGiveNoChannel) {
  testing::TLogCapture log;
  TToneLibrary tones;
  tones.Tones[u"tone"] = TTone{};
  TSoundRig rig(tones);
  // Each call into the output is traced before and after.
  EXPECT_EQ(log.Count("-> AudioOutput.Start [wave_out_device]"), 1u);
  EXPECT_EQ(log.Count("<- AudioOutput.Start [wave_out_device]"), 1u);
  EXPECT_EQ(rig.Player->CreateChannel(u"missing", -1), nullptr);
  auto channel = rig.Player->CreateChannel(u"tone", 1500);
  ASSERT_NE(channel, nullptr);
  EXPECT_EQ(channel->GetLength(), 10000);
  EXPECT_EQ(channel->GetPosition(), 1500);
  EXPECT_EQ(rig.Player->ChannelCount(), 1u);
  channel.reset();
  EXPECT_EQ(rig.Player->ChannelCount(), 0u);
}

}  // namespace
}  // namespace kiv
