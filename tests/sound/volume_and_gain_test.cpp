#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "sound/gain_ramp.h"
#include "sound/volume_level.h"

namespace kiv {
namespace {

TEST(VolumeLevel, FactorsMapToHundredthsOfADecibelAndBack) {
  struct Case {
    float Factor;
    int32_t Level;
  };
  for (const Case& c : {Case{1, 0}, Case{0.5f, -600}, Case{0.25f, -1200}, Case{0.7f, -309}, Case{2, 0},
                        Case{0, -10000}, Case{-1, -10000}, Case{1e-9f, -10000}}) {
    EXPECT_EQ(LevelFromFactor(c.Factor), c.Level) << c.Factor;
  }
  EXPECT_FLOAT_EQ(FactorFromLevel(-600), 0.5f);
  EXPECT_FLOAT_EQ(FactorFromLevel(0), 1);
  EXPECT_FLOAT_EQ(FactorFromLevel(-10000), 0);
  // Mixing scales by the decibels: -20 dB is a tenth of the amplitude.
  EXPECT_FLOAT_EQ(AmplitudeFromLevel(-2000), 0.1f);
  EXPECT_NEAR(AmplitudeFromLevel(-600), 0.501f, 0.001f);
  EXPECT_FLOAT_EQ(AmplitudeFromLevel(-10000), 0);
}

std::vector<int16_t> Constant16(size_t frames, int16_t value) { return std::vector<int16_t>(frames * 2, value); }

TEST(GainRamp, AFadeInRisesFrameByFrameAndThenCopiesUnchanged) {
  TGainRamp ramp;
  ramp.BeginFadeIn(TGainRamp::FadeFrames(0, 44100));  // 0 ms: one frame, at full level at once
  auto samples = Constant16(3, 1000);
  EXPECT_EQ(ramp.Apply(reinterpret_cast<uint8_t*>(samples.data()), samples.size() * 2, {1, 2, 44100, 0, 4, 16, 0}), -1);
  EXPECT_EQ(samples, Constant16(3, 1000));

  ramp.BeginFadeIn(4);
  samples = Constant16(6, 1000);
  ramp.Apply(reinterpret_cast<uint8_t*>(samples.data()), samples.size() * 2, {1, 2, 44100, 0, 4, 16, 0});
  EXPECT_EQ(samples, (std::vector<int16_t>{250, 250, 500, 500, 750, 750, 1000, 1000, 1000, 1000, 1000, 1000}));
  EXPECT_FALSE(ramp.FadingIn());
}

TEST(GainRamp, AFadeOutFallsToSilenceAndSaysWhere) {
  struct Case {
    uint32_t Frames;
    int64_t SilentAt;
  };
  // A 0 ms fade is one frame: the first frame is already silent.
  for (const Case& c : {Case{1, 0}, Case{4, 3}}) {
    TGainRamp ramp;
    ramp.BeginFadeOut(c.Frames);
    auto samples = Constant16(6, 1000);
    EXPECT_EQ(ramp.Apply(reinterpret_cast<uint8_t*>(samples.data()), samples.size() * 2, {1, 2, 44100, 0, 4, 16, 0}),
              c.SilentAt);
    for (size_t frame = 0; frame < 6; ++frame) {
      const int expected = int64_t(frame) < c.SilentAt ? 1000 - int(250 * (frame + 1)) : 0;
      EXPECT_EQ(samples[2 * frame], expected) << c.Frames << " frame " << frame;
    }
    // Silent already: everything is silence, and the end is not reported again.
    samples = Constant16(2, 1000);
    EXPECT_EQ(ramp.Apply(reinterpret_cast<uint8_t*>(samples.data()), samples.size() * 2, {1, 2, 44100, 0, 4, 16, 0}), -1);
    EXPECT_EQ(samples, Constant16(2, 0));
  }
}

TEST(GainRamp, EightBitSamplesFadeAboutTheirMidpoint) {
  TGainRamp ramp;
  ramp.BeginFadeOut(2);
  std::vector<uint8_t> samples{228, 28, 228};  // mono: +100, -100, +100
  EXPECT_EQ(ramp.Apply(samples.data(), samples.size(), {1, 1, 8000, 8000, 1, 8, 0}), 1);
  EXPECT_EQ(samples, (std::vector<uint8_t>{178, 128, 128}));
}

}  // namespace
}  // namespace kiv
