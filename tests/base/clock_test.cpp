#include "base/clock.h"

#include <gtest/gtest.h>

#include <chrono>

namespace kiv {
namespace {

TEST(Clock, VirtualClockReplacesTheProcessClockAndMovesOnlyWhenTold) {
  TVirtualClock virtualClock(1000);
  EXPECT_EQ(SetClock(&virtualClock), nullptr);
  EXPECT_EQ(Clock().NowMs(), 1000u);
  Clock().SleepMs(250);  // sleeping on virtual time returns at once, time moved on
  EXPECT_EQ(Clock().NowMs(), 1250u);
  virtualClock.Advance(50);
  EXPECT_EQ(Clock().NowMs(), 1300u);
  EXPECT_EQ(SetClock(nullptr), &virtualClock);

  uint32_t a = Clock().NowMs();
  Clock().SleepMs(2);
  EXPECT_GE(Clock().NowMs() - a, 2u);
}

TEST(Clock, TickCounterWrapsLikeA32BitCounter) {
  TVirtualClock clock(0xFFFFFFF0u);
  uint32_t start = clock.NowMs();
  clock.Advance(0x20);
  EXPECT_EQ(clock.NowMs() - start, 0x20u);  // differences survive the wrap
}

TEST(Clock, SteppedClockStandsWhileThreadsSleepOnIt) {
  TSteppedClock clock(500);
  const auto started = std::chrono::steady_clock::now();
  for (int i = 0; i < 20; ++i) clock.SleepMs(1000);  // each a moment of real time, no show time
  EXPECT_EQ(clock.NowMs(), 500u);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  clock.Advance(40);
  EXPECT_EQ(clock.NowMs(), 540u);
}

}  // namespace
}  // namespace kiv
