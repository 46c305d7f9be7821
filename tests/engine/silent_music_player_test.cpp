#include "engine/silent_music_player.h"

#include <gtest/gtest.h>

#include "base/clock.h"

namespace kiv {
namespace {

class SilentMusicPlayer : public ::testing::Test {
 protected:
  SilentMusicPlayer() { SetClock(&Clock); }
  ~SilentMusicPlayer() override { SetClock(nullptr); }
  TVirtualClock Clock{0xFFFFF000u};  // the tick counter wraps during the test
  TSilentMusicPlayer Player;
};

TEST_F(SilentMusicPlayer, KeepsShowTimeOnTheProgramClockWithoutJumps) {
  EXPECT_TRUE(Player.IsMusicReady());
  Player.SetTime(IKivMusicPlayer::kKeepTime, 2000);
  Clock.Advance(500);
  EXPECT_DOUBLE_EQ(Player.CurrentTime(), 2000);  // paused
  Player.SetRunning(true);
  Clock.Advance(6000);
  EXPECT_DOUBLE_EQ(Player.CurrentTime(), 8000);
  Player.SetRunning(false);
  Clock.Advance(1000);
  Player.SetRunning(true);
  Clock.Advance(250);
  EXPECT_DOUBLE_EQ(Player.CurrentTime(), 8250);

  Player.SetTime(IKivMusicPlayer::kKeepTime, 100);  // a new time leaves the clock paused there
  Clock.Advance(300);
  EXPECT_DOUBLE_EQ(Player.CurrentTime(), 100);
}

TEST_F(SilentMusicPlayer, StopsAtTheEndAndGoesOnFromThereWhenTheEndMoves) {
  Player.SetTime(9000, 8000);
  EXPECT_DOUBLE_EQ(Player.EndTime(), 9000);
  Player.SetRunning(true);
  Clock.Advance(5000);
  EXPECT_DOUBLE_EQ(Player.CurrentTime(), 9000);
  Player.SetEnd(20000);
  Clock.Advance(100);
  EXPECT_DOUBLE_EQ(Player.CurrentTime(), 9100);
  EXPECT_DOUBLE_EQ(Player.EndTime(), 20000);

  Player.SetVolume(0.25f);
  EXPECT_FLOAT_EQ(Player.GetVolume(), 0.25f);
}

}  // namespace
}  // namespace kiv
