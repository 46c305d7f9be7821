#include "sound/sound_mixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/virtual_audio_output.h"
#include "sound/wave_out_buffer.h"
#include "sound/wave_out_device.h"
#include "sound_rig.h"

namespace kiv {
namespace {

// Feeds a buffer a tone, frame after frame.
class TToneFeed : public IWaveOutSource {
 public:
  explicit TToneFeed(TTone tone) : FConverter(tone) { FConverter.Open(tone.Media()); }
  void InitialFill(uint8_t* bytes, size_t count) override { Take(bytes, count); }
  void Refill(uint8_t* bytes, size_t count, uint64_t) override { Take(bytes, count); }
  void BeginRewrite() override {}
  void Rewrite(uint8_t*, size_t, uint64_t) override {}

 private:
  void Take(uint8_t* bytes, size_t count) {
    FConverter.Read(count);
    std::memcpy(bytes, FConverter.Output().Data(), count);
    FConverter.Output().Consume(count);
  }
  TToneConverter FConverter;
};

// The clock stands, so the refill threads wait: only Render's settling refills.
struct TMixRig {
  TSteppedClock Clock{0};
  IClock* Previous = SetClock(&Clock);
  TVirtualAudioOutput* Output;
  TWaveOutDevice Device;
  TMixRig() : TMixRig(std::make_unique<TVirtualAudioOutput>()) {}
  explicit TMixRig(std::unique_ptr<TVirtualAudioOutput> output) : Output(output.get()), Device(std::move(output)) {}
  ~TMixRig() { SetClock(Previous); }
  std::vector<int16_t> Render(size_t frames) {
    Device.Settle();
    Output->Render(frames);
    return Output->Samples();
  }
};

// Upward zero crossings per second of the left channel.
double Pitch(const std::vector<int16_t>& samples, size_t fromFrame) {
  int crossings = 0;
  for (size_t i = 2 * (fromFrame + 1); i < samples.size(); i += 2) crossings += samples[i - 2] < 0 && samples[i] >= 0;
  return crossings * 44100.0 / double(samples.size() / 2 - fromFrame);
}

int Peak(const std::vector<int16_t>& samples, size_t fromFrame) {
  int peak = 0;
  for (size_t i = 2 * fromFrame; i < samples.size(); ++i) peak = std::max(peak, std::abs(int(samples[i])));
  return peak;
}

TEST(SoundMixer, EveryFormatPlaysAtItsPitchInTheMixFormat) {
  struct Case {
    uint32_t Rate;
    uint16_t Channels, Bits;
  };
  for (const Case& c : {Case{44100, 2, 16}, Case{22050, 1, 8}, Case{48000, 2, 16}, Case{11025, 1, 16}}) {
    TMixRig rig;
    TTone tone{.Hz = 1000, .Level = 12800, .Rate = c.Rate, .Channels = c.Channels, .Bits = c.Bits};
    TToneFeed feed(tone);
    auto buffer = rig.Device.CreateBuffer(tone.Media().Format);
    ASSERT_NE(buffer, nullptr);
    buffer->Start(feed);
    const auto samples = rig.Render(44100);
    EXPECT_NEAR(Pitch(samples, 100), 1000, 2) << c.Rate;
    EXPECT_NEAR(Peak(samples, 100), 12800, 12800 * 0.02) << c.Rate;
    EXPECT_EQ(samples[0], samples[1]) << "mono plays on both sides";
    // What the mixer took is the play cursor: one second's bytes of the buffer's own format.
    EXPECT_NEAR(double(buffer->ConsumedBytes()), double(c.Rate * c.Channels * c.Bits / 8), 8.0) << c.Rate;
  }
}

TEST(SoundMixer, BuffersAreSummedScaledByTheirVolumeAndClipped) {
  TMixRig rig;
  TTone level{.Hz = 0, .Level = 20000};
  TToneFeed first(level), second(level);
  auto a = rig.Device.CreateBuffer(level.Media().Format);
  auto b = rig.Device.CreateBuffer(level.Media().Format);
  a->Start(first);
  rig.Render(10);
  b->Start(second);
  rig.Render(10);
  b->SetVolume(0.5f);  // -600: an amplitude of 10^-0.3
  EXPECT_EQ(b->Level(), -600);
  EXPECT_FLOAT_EQ(b->GetVolume(), 0.5f);
  a->SetVolume(0.25f);
  const auto samples = rig.Render(10);
  EXPECT_EQ(samples[0], 20000);
  EXPECT_EQ(samples[2 * 10], 32767) << "40000 clips";
  EXPECT_EQ(samples[2 * 20], std::lround(20000 * std::pow(10, -0.6)) + std::lround(20000 * std::pow(10, -0.3)));
  b->Stop();
  EXPECT_EQ(rig.Device.Mixer().Count(), 1u);
  EXPECT_EQ(rig.Render(1).back(), std::lround(20000 * std::pow(10, -0.6)));
}

TEST(SoundMixer, ABufferThatRunsDryPlaysSilenceAndKeepsItsCursor) {
  TMixRig rig;
  TTone tone{.Hz = 0, .Level = 1000};
  TToneFeed feed(tone);
  auto buffer = rig.Device.CreateBuffer(tone.Media().Format);
  buffer->Start(feed);
  // Without refills only the initial 1.5 seconds are there.
  rig.Output->Render(44100 * 2);
  const auto samples = rig.Output->Samples();
  EXPECT_EQ(samples[2 * (66150 - 1)], 1000);
  EXPECT_EQ(samples[2 * 66150], 0);
  EXPECT_EQ(buffer->ConsumedBytes(), 66150u * 4);
  EXPECT_EQ(buffer->QueuedBytes(), 0u);
  rig.Render(1);  // refilled: it plays on from where it ran dry
  EXPECT_EQ(rig.Output->Samples().back(), 1000);
}

TEST(WaveOutDevice, WithoutAnOutputItIsNotReadyAndMakesNothing) {
  TWaveOutDevice device(nullptr);
  EXPECT_FALSE(device.IsReady());
  EXPECT_EQ(device.Describe(), "none");
  EXPECT_EQ(device.CreateBuffer(TTone{}.Media().Format), nullptr);
  EXPECT_EQ(device.CreateTimerChannel(), nullptr);
}

}  // namespace
}  // namespace kiv
