// The software mixer's cost per playing channel: each turn mixes 1024 frames of 44.1 kHz
// stereo from n channels (after topping their buffers up), in the mix format itself or
// from 22.05 kHz mono that must be resampled.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/virtual_audio_output.h"
#include "sound/sound_mixer.h"
#include "sound/wave_out_buffer.h"
#include "sound/wave_out_device.h"

namespace kiv {
namespace {

// A sine from a table, so that the mixer's work, not the source's, is measured.
class TSineSource : public IWaveOutSource {
 public:
  explicit TSineSource(const TWaveFormat& format) : FFormat(format), FTable(4410 * format.Channels) {
    for (size_t i = 0; i < FTable.size(); ++i) FTable[i] = int16_t(3000 * std::sin(double(i / format.Channels) * 0.1));
  }
  void InitialFill(uint8_t* bytes, size_t count) override { Write(bytes, count); }
  void Refill(uint8_t* bytes, size_t count, uint64_t) override { Write(bytes, count); }
  void BeginRewrite() override {}
  void Rewrite(uint8_t*, size_t, uint64_t) override {}

 private:
  void Write(uint8_t* bytes, size_t count) {
    auto* samples = reinterpret_cast<int16_t*>(bytes);
    for (size_t i = 0; i < count / 2; ++i) {
      samples[i] = FTable[FSample];
      FSample = (FSample + 1) % FTable.size();
    }
  }
  TWaveFormat FFormat;
  std::vector<int16_t> FTable;
  size_t FSample = 0;
};

void MixChannels(benchmark::State& state, const TWaveFormat& format) {
  TWaveOutDevice device(std::make_unique<TVirtualAudioOutput>(false));
  const auto channels = size_t(state.range(0));
  std::vector<std::unique_ptr<TSineSource>> sources;
  std::vector<std::unique_ptr<TWaveOutBuffer>> buffers;
  for (size_t i = 0; i < channels; ++i) {
    sources.push_back(std::make_unique<TSineSource>(format));
    buffers.push_back(device.CreateBuffer(format));
    buffers.back()->SetVolume(0.7f);
    buffers.back()->Start(*sources.back());
  }
  constexpr size_t kFrames = 1024;
  std::vector<int16_t> mix(kFrames * 2);
  for (auto _ : state) {
    device.Settle();
    device.Mixer().Mix(mix.data(), kFrames);
    benchmark::DoNotOptimize(mix.data());
  }
  state.SetItemsProcessed(int64_t(state.iterations() * kFrames * channels));
  state.counters["ns_per_channel_frame"] = benchmark::Counter(
      double(state.iterations() * kFrames * channels), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  // Seconds of sound mixed per second of work: how far n channels are from using a core up.
  state.counters["times_real_time"] =
      benchmark::Counter(double(state.iterations() * kFrames) / 44100.0, benchmark::Counter::kIsRate);
}

void BM_MixStereo44k(benchmark::State& state) { MixChannels(state, TWaveFormat{1, 2, 44100, 176400, 4, 16, 0}); }
void BM_MixMono22kResampled(benchmark::State& state) { MixChannels(state, TWaveFormat{1, 1, 22050, 44100, 2, 16, 0}); }

BENCHMARK(BM_MixStereo44k)->Arg(1)->Arg(4)->Arg(16);
BENCHMARK(BM_MixMono22kResampled)->Arg(1)->Arg(4)->Arg(16);

}  // namespace
}  // namespace kiv
