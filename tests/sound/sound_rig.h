#pragma once
// What the output tests play: tones (a test decoder), a sound source serving them by
// name, and a rig that renders a player's mix on virtual time.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/clock.h"
#include "base/memory_stream.h"
#include "platform/virtual_audio_output.h"
#include "sound/channel_killer.h"
#include "sound/music_player_class.h"
#include "sound/timer_channel.h"
#include "sound/wave_out_device.h"

namespace kiv {

// A cosine tone (a constant level at 0 Hz), so its first sample is its full level.
struct TTone {
  double Hz = 1000;
  int16_t Level = 10000;
  uint32_t Ms = 10000;
  uint32_t Rate = 44100;
  uint16_t Channels = 2;
  uint16_t Bits = 16;

  TMediaInfo Media() const {
    TMediaInfo media;
    media.Type = TMediaType::PcmWav;
    const uint16_t align = uint16_t(Channels * Bits / 8);
    media.Format = TWaveFormat{1, Channels, Rate, Rate * align, align, Bits, 0};
    media.Duration = Ms;
    media.DataSize = uint32_t(uint64_t(Ms) * Rate / 1000 * align);
    return media;
  }
  int Sample(uint64_t frame) const {
    return int(std::lround(Level * std::cos(2 * M_PI * Hz * double(frame) / Rate)));
  }
};

// Decodes a tone; Read may be held at a gate to stand for a slow decoder.
class TToneConverter : public TWavConverter {
 public:
  explicit TToneConverter(TTone tone) : FTone(tone) {}

  bool Open(const TMediaInfo& media) override {
    FMedia = media;
    Seek(0);
    return true;
  }
  void Seek(double ms) override {
    FOutput.Clear();
    FFrame = uint64_t(std::llround(ms * FTone.Rate / 1000));
    FPosition = ms;
  }
  bool Read(size_t count) override {
    if (Gate && Gate->load()) {
      Entered = true;
      while (Gate->load()) std::this_thread::yield();
    }
    const uint64_t total = uint64_t(FTone.Ms) * FTone.Rate / 1000;
    const size_t frameBytes = size_t(FTone.Channels) * FTone.Bits / 8;
    const bool real = FFrame < total;
    for (size_t frame = 0; frame < count / frameBytes; ++frame, ++FFrame) {
      const int value = FFrame < total ? FTone.Sample(FFrame) : 0;
      for (int c = 0; c < FTone.Channels; ++c) {
        if (FTone.Bits == 8) {
          const uint8_t byte = uint8_t(value / 256 + 128);
          FOutput.Append(&byte, 1);
        } else {
          const int16_t sample = int16_t(value);
          FOutput.Append(&sample, 2);
        }
      }
    }
    FPosition = double(FFrame) * 1000 / FTone.Rate;
    return real;
  }

  std::atomic<bool>* Gate = nullptr;
  std::atomic<bool> Entered{false};

 private:
  TTone FTone;
  uint64_t FFrame = 0;
};

// Serves tones by name; a name can be made unopenable later.
struct TToneLibrary {
  std::map<std::u16string, TTone> Tones;
  std::map<std::u16string, bool> Closed;
  std::atomic<bool>* Gate = nullptr;
  TToneConverter* LastConverter = nullptr;

  TSoundSource Source() {
    TSoundSource source;
    source.Open = [this](std::u16string_view name, int64_t) -> std::unique_ptr<TStream> {
      const std::u16string key(name);
      if (!Tones.count(key) || Closed[key]) return nullptr;
      return std::make_unique<TMemoryStream>();
    };
    source.Recognise = [this](TStream&, std::u16string_view name) -> std::optional<TMediaInfo> {
      return Tones.at(std::u16string(name)).Media();
    };
    source.MakeConverter = [this](TStream*, std::u16string_view name,
                                  const TMediaInfo& media) -> std::unique_ptr<TWavConverter> {
      auto converter = std::make_unique<TToneConverter>(Tones.at(std::u16string(name)));
      converter->Gate = Gate;
      converter->Open(media);
      LastConverter = converter.get();
      return converter;
    };
    return source;
  }
};

constexpr size_t kFramesPer10Ms = 441;

// A player on the virtual output, the process clock stepped by the rig: each step of
// 10 ms refills, renders 441 frames, moves the clock on and lets the reaper and the
// sound clock take their turn.
class TSoundRig {
 public:
  explicit TSoundRig(TToneLibrary& tones, bool withOutput = true) : TSoundRig(tones.Source(), withOutput) {}
  // A player reading its sounds from source.
  explicit TSoundRig(TSoundSource source, bool withOutput = true) : FPrevious(SetClock(&FClock)) {
    auto output = std::make_unique<TVirtualAudioOutput>();
    Output = output.get();
    Player = std::make_unique<TMusicPlayerClass>(withOutput ? std::move(output) : nullptr, std::move(source),
                                                 "no output in this test");
    if (!withOutput) Output = nullptr;
  }
  ~TSoundRig() {
    Player.reset();
    // What still fades is heard out on the rig's time before the clock goes back.
    for (int i = 0; i < 1000 && ChannelKiller().Count() > 0; ++i) {
      FClock.Advance(10);
      ChannelKiller().Sweep();
    }
    SetClock(FPrevious);
  }

  // Runs ms (a multiple of 10) of output; framesPerStep < 441 plays slower than the clock.
  void Run(uint32_t ms, size_t framesPerStep = kFramesPer10Ms) {
    for (uint32_t step = 0; step < ms / 10; ++step) {
      Player->Device().Settle();
      if (Output) Output->Render(framesPerStep);
      FClock.Advance(10);
      ChannelKiller().Sweep();
      if (TTimerChannel* timer = Player->Timer()) timer->Update();
      if (AfterStep) AfterStep();
    }
  }
  uint32_t Now() { return FClock.NowMs(); }
  // The left channel of the mix.
  std::vector<int16_t> Left() const {
    std::vector<int16_t> left;
    const auto samples = Output->Samples();
    for (size_t i = 0; i < samples.size(); i += 2) left.push_back(samples[i]);
    return left;
  }

  std::function<void()> AfterStep;
  TVirtualAudioOutput* Output;
  std::unique_ptr<TMusicPlayerClass> Player;

 private:
  TSteppedClock FClock{0};
  IClock* FPrevious;
};

// Frames of the mix at ms.
constexpr size_t FrameAt(double ms) { return size_t(ms * 44.1); }

}  // namespace kiv
