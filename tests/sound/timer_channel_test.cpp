#include "sound/timer_channel.h"

#include <gtest/gtest.h>

#include <vector>

#include "sound_rig.h"

namespace kiv {
namespace {

class TimerChannel : public ::testing::Test {
 protected:
  // Runs ms, reading the sound clock after every 10 ms step.
  void RunReading(uint32_t ms, size_t framesPerStep = kFramesPer10Ms) {
    rig.AfterStep = [&] { readings.push_back(rig.Player->GetTime()); };
    rig.Run(ms, framesPerStep);
    rig.AfterStep = nullptr;
  }
  void ExpectSteps(double least, double most) {
    for (size_t i = 1; i < readings.size(); ++i) {
      const double step = readings[i] - readings[i - 1];
      ASSERT_GE(step, least) << "at reading " << i;
      ASSERT_LE(step, most) << "at reading " << i;
    }
  }

  TToneLibrary tones;
  TSoundRig rig{tones};
  std::vector<double> readings;
};

TEST_F(TimerChannel, FollowsASlowerOutputByAtMost1MsEvery10MsAndNeverRunsBackwards) {
  EXPECT_EQ(rig.Player->GetTime(), 0);  // started here
  RunReading(3000, 397);  // the output plays 9 ms every 10 ms of program time
  ExpectSteps(9, 11);
  EXPECT_TRUE(rig.Player->Timer()->Following());
  const double outputMs = double(rig.Output->FramesPlayed()) / 44.1;
  EXPECT_NEAR(readings.back(), outputMs, 15);
  EXPECT_LT(readings.back(), 2800) << "held back with the output, not running with program time";
}

TEST_F(TimerChannel, AnOutputThatDoesNotPlayLeavesTheClockOnProgramTime) {
  rig.Player->GetTime();
  RunReading(1000, 0);
  EXPECT_FALSE(rig.Player->Timer()->Following());
  EXPECT_EQ(readings.back(), 1000);
  // The output starts late: the clock follows it from where it stands, without a jump.
  RunReading(2000);
  EXPECT_TRUE(rig.Player->Timer()->Following());
  ExpectSteps(9, 11);
  EXPECT_NEAR(readings.back(), 3000, 3);
  // It stalls again: program time carries the clock on.
  RunReading(1000, 0);
  ExpectSteps(9, 11);
  EXPECT_FALSE(rig.Player->Timer()->Following());
  EXPECT_NEAR(readings.back(), 4000, 60);
}

TEST_F(TimerChannel, StopKeepsTheTimePlayGoesOnFromItAndSetTimeMovesIt) {
  TTimerChannel& timer = *rig.Player->Timer();
  timer.Play();
  rig.Run(500);
  EXPECT_NEAR(timer.GetTime(), 500, 2);
  timer.Stop();
  const double stopped = timer.GetTime();
  rig.Run(300);
  EXPECT_EQ(timer.GetTime(), stopped);
  EXPECT_FALSE(timer.IsPlaying());
  timer.Play();
  rig.Run(200);
  EXPECT_NEAR(timer.GetTime(), stopped + 200, 2);
  timer.SetTime(5000);
  EXPECT_EQ(timer.GetTime(), 5000);
  rig.Run(100);
  EXPECT_NEAR(timer.GetTime(), 5100, 2);
}

}  // namespace
}  // namespace kiv
