// The composite mixer on generated tones: WAV files made in memory, decoded by the real
// decoders and mixed frame-exactly.
#include "sound/composite_converter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <map>

#include "base/memory_stream.h"
#include "sound/channel_music.h"
#include "sound/converter_factory.h"
#include "sound_rig.h"

namespace kiv {
namespace {

using TPcm = std::vector<int16_t>;  // stereo frames at 44100 Hz, left then right

TPcm Tone(uint32_t ms, const std::function<int16_t(size_t frame, int channel)>& sample) {
  TPcm pcm(size_t(ms) * 441 / 10 * 2);
  for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = sample(i / 2, int(i % 2));
  return pcm;
}
TPcm Level(uint32_t ms, int16_t level) {
  return Tone(ms, [level](size_t, int) { return level; });
}
// Different in every frame of a 170 ms period; every sample a multiple of 4, so that no
// product with the ramps used below falls exactly between two integers.
int16_t RampSample(size_t frame, int channel) {
  const int value = int(frame * 4 % 30000) - 15000;
  return int16_t(channel == 0 ? value : -value);
}

std::vector<uint8_t> WavBytes(const TPcm& pcm) {
  const uint32_t data = uint32_t(pcm.size() * 2);
  std::vector<uint8_t> bytes;
  auto put = [&](uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(uint8_t(value >> (8 * i)));
  };
  auto tag = [&](const char* text) { bytes.insert(bytes.end(), text, text + 4); };
  tag("RIFF"), put(36 + data, 4), tag("WAVE"), tag("fmt "), put(16, 4);
  put(1, 2), put(2, 2), put(44100, 4), put(176400, 4), put(4, 2), put(16, 2);
  tag("data"), put(data, 4);
  const size_t header = bytes.size();
  bytes.resize(header + data);
  std::memcpy(bytes.data() + header, pcm.data(), data);
  return bytes;
}

// WAV files served by name through the player's own decoders; counts every open.
struct TSoundFiles {
  std::map<std::u16string, TPcm> Files;
  std::map<std::u16string, int> Opens;

  TSoundOpener Opener() {
    return [this](std::u16string_view name) -> std::unique_ptr<TStream> {
      ++Opens[std::u16string(name)];
      const auto found = Files.find(std::u16string(name));
      if (found == Files.end()) return nullptr;
      return std::make_unique<TMemoryStream>(WavBytes(found->second));
    };
  }
  TSoundSource Source() { return ShowSoundSource(Opener()); }
};

TCompositeItem& AddItem(TCompositeParams& params, const char16_t* name, int32_t timeLine, int32_t duration,
                        int32_t beginTime = 0) {
  TCompositeItem& item = params.AddItem(name, timeLine);
  item.Duration = duration;
  item.BeginTime = beginTime;
  return item;
}
void AddEnvelope(TCompositeItem& item, std::initializer_list<TVolumeItem> points) {
  TVolumeParams& params = item.Envelopes.Add();
  for (const TVolumeItem& p : points) params.AddPoint(p.Time, p.Volume);
}

// The whole output of the composite (from seekMs when given), in blocks.
TPcm Mix(TSoundFiles& files, const TCompositeParams& params, double seekMs = -1) {
  TCompositeConverter converter(files.Source(), params.ToText());
  EXPECT_TRUE(converter.Open({}));
  if (seekMs >= 0) converter.Seek(seekMs);
  TPcm out;
  while (converter.Read(TCompositeConverter::kBlockBytes)) {
    TLocalBuffer& output = converter.Output();
    const size_t at = out.size();
    out.resize(at + output.Size() / 2);
    std::memcpy(out.data() + at, output.Data(), output.Size() / 2 * 2);
    output.Consume(output.Size());
  }
  return out;
}

// num / den to the nearest integer, halves away from zero (den > 0).
int64_t RoundDiv(int64_t num, int64_t den) { return num >= 0 ? (2 * num + den) / (2 * den) : -((-2 * num + den) / (2 * den)); }

size_t Frame(double ms) { return size_t(MixBytes(ms) / 4); }

TEST(CompositeMixer, ItemLevelsScaleSamplesByTheRoundingRule) {
  struct Case {
    int32_t Volume;
    std::vector<int16_t> In, Out;
  };
  // v × s rounds to the nearest integer with halves away from zero; 0.99 <= v < 1.01
  // copies; the sum is clipped to 16 bits.
  const Case cases[] = {
      {500, {3, -3, 1, -1, 32767, -32768, 10}, {2, -2, 1, -1, 16384, -16384, 5}},
      {990, {3, -3, 1001, 32767, -32768}, {3, -3, 1001, 32767, -32768}},
      {1009, {3, -3, 1001, 32767, -32768}, {3, -3, 1001, 32767, -32768}},
      {989, {1000, -1000, 32767, 1}, {989, -989, 32407, 1}},
      {1010, {1000, -1000, 32767, -32768}, {1010, -1010, 32767, -32768}},
      {0, {1000, -1000, 32767}, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    TSoundFiles files;
    files.Files[u"in"] = Tone(1000, [&](size_t frame, int channel) { return c.In[(frame + channel) % c.In.size()]; });
    TCompositeParams params;
    params.Duration = 1000;
    AddEnvelope(AddItem(params, u"in", 0, 1000), {{0, c.Volume}, {1000, c.Volume}});
    const TPcm out = Mix(files, params);
    ASSERT_GE(out.size(), Frame(1000) * 2);
    // Past the item's 10 ms fade-in and before its fade-out.
    for (size_t frame = Frame(10); frame < Frame(990); ++frame)
      for (int channel = 0; channel < 2; ++channel)
        ASSERT_EQ(out[2 * frame + channel], c.Out[(frame + channel) % c.Out.size()])
            << "volume " << c.Volume << " frame " << frame;
  }
}

TEST(CompositeMixer, OverlappingLoudItemsClipInsteadOfWrapping) {
  struct Case {
    int16_t Level;
    int16_t Mixed;
  };
  for (const Case& c : {Case{30000, 32767}, Case{-30000, -32768}, Case{10000, 20000}}) {
    TSoundFiles files;
    files.Files[u"a"] = Level(1000, c.Level);
    files.Files[u"b"] = Level(1000, c.Level);
    TCompositeParams params;
    params.Duration = 1500;
    AddItem(params, u"a", 0, 1000);
    AddItem(params, u"b", 500, 1000);
    const TPcm out = Mix(files, params);
    struct Span {
      double From, To;
      int16_t Level;
    };
    for (const Span& s : {Span{10, 490, c.Level}, Span{510, 990, c.Mixed}, Span{1010, 1490, c.Level}})
      for (size_t frame = Frame(s.From); frame < Frame(s.To); ++frame)
        ASSERT_EQ(out[2 * frame], s.Level) << c.Level << " frame " << frame;
  }
}

TEST(CompositeMixer, ACrossFadeHandsOneItemToTheNext) {
  TSoundFiles files;
  files.Files[u"a"] = Level(1000, 20000);
  files.Files[u"b"] = Level(1000, 20000);
  TCompositeParams params;
  params.Duration = 1500;
  AddEnvelope(AddItem(params, u"a", 0, 1000), {{500, 1000}, {1000, 0}});
  AddEnvelope(AddItem(params, u"b", 500, 1000), {{0, 0}, {500, 1000}});
  const TPcm out = Mix(files, params);
  // Over the 500 ms of the cross (22050 frames) one level falls as the other rises.
  for (size_t frame = Frame(10); frame < Frame(1490); ++frame) {
    int64_t expected = 20000;
    if (frame >= Frame(510) && frame < Frame(990))
      expected = RoundDiv(20000 * int64_t(44100 - frame), 22050) + RoundDiv(20000 * int64_t(frame - 22050), 22050);
    else if (frame >= Frame(490) && frame < Frame(1010))
      continue;  // the items' own edge fades meet the cross here
    ASSERT_EQ(out[2 * frame], expected) << frame;
    ASSERT_EQ(out[2 * frame + 1], expected) << frame;
  }
}

TEST(CompositeMixer, AnItemStartsAtItsOwnFrameInsideABlock) {
  // Blocks are 2500 frames: these starts lie inside the first, the second and a later one.
  for (int32_t timeLine : {30, 57, 1000}) {
    TSoundFiles files;
    files.Files[u"ramp"] = Tone(500, RampSample);
    TCompositeParams params;
    params.Duration = timeLine + 500;
    AddItem(params, u"ramp", timeLine, 500);
    const TPcm out = Mix(files, params);
    const size_t start = Frame(timeLine);
    for (size_t frame = 0; frame <= start; ++frame) ASSERT_EQ(out[2 * frame], 0) << timeLine << " frame " << frame;
    EXPECT_NE(out[2 * (start + 1)], 0) << timeLine;  // the fade-in has begun
    for (size_t frame = Frame(10); frame < Frame(490); ++frame)
      ASSERT_EQ(out[2 * (start + frame)], RampSample(frame, 0)) << timeLine << " frame " << frame;
  }
}

TEST(CompositeMixer, SeekingIntoAnItemStartsItsFileAndEnvelopesThere) {
  TSoundFiles files;
  files.Files[u"ramp"] = Tone(6000, RampSample);
  TCompositeParams params;
  params.Duration = 5000;
  // From 1000 ms on the time line, 3000 ms of the file from 2000 ms on, rising from
  // silence to full level over the item (132300 frames).
  AddEnvelope(AddItem(params, u"ramp", 1000, 3000, 2000), {{0, 0}, {3000, 1000}});
  for (double seek : {2500.0, 1200.0}) {
    const TPcm out = Mix(files, params, seek);
    ASSERT_EQ(out.size() % 2, 0u);
    const size_t inItem = Frame(seek - 1000);
    const size_t inFile = Frame(2000) + inItem;
    for (size_t k = 0; k < 6000; ++k) {
      const int64_t expected = RoundDiv(int64_t(RampSample(inFile + k, 0)) * int64_t(inItem + k), 132300);
      ASSERT_EQ(out[2 * k], expected) << seek << " frame " << k;
    }
  }
}

TEST(CompositeMixer, AFileThatCannotBeOpenedIsSilentAndTriedOnce) {
  struct Case {
    int32_t Missing, Present;  // where each starts
  };
  // Due at the first seek, and due only later (opened ahead while playing).
  for (const Case& c : {Case{0, 1000}, Case{6000, 6500}}) {
    TSoundFiles files;
    files.Files[u"present"] = Level(1000, 12000);
    TCompositeParams params;
    params.Duration = c.Present + 1000;
    AddItem(params, u"missing", c.Missing, 1000);
    AddItem(params, u"present", c.Present, 1000);
    const TPcm out = Mix(files, params);
    for (size_t frame = 0; frame < Frame(c.Present); ++frame) ASSERT_EQ(out[2 * frame], 0) << frame;
    for (size_t frame = Frame(c.Present + 10); frame < Frame(c.Present + 990); ++frame)
      ASSERT_EQ(out[2 * frame], 12000) << frame;
    EXPECT_EQ(files.Opens[u"missing"], 1) << c.Missing;
    EXPECT_EQ(files.Opens[u"present"], 1) << c.Missing;
  }
}

TEST(CompositeMixer, ReadingPastTheDurationReportsNoMoreData) {
  TSoundFiles files;
  files.Files[u"long"] = Level(1000, 7000);
  TCompositeParams params;
  params.Duration = 100;
  AddItem(params, u"long", 0, 1000);
  TCompositeConverter converter(files.Source(), params.ToText());
  ASSERT_TRUE(converter.Open({}));
  EXPECT_EQ(converter.OutputFormat(), MixFormat());
  EXPECT_TRUE(converter.Read(size_t(MixBytes(100))));
  EXPECT_EQ(converter.Output().Size(), size_t(MixBytes(100)));
  EXPECT_DOUBLE_EQ(converter.Position(), 100);
  converter.Output().Clear();
  EXPECT_FALSE(converter.Read(400));
  EXPECT_EQ(std::vector<uint8_t>(converter.Output().Data(), converter.Output().Data() + 400), std::vector<uint8_t>(400));
  converter.Seek(5000);  // beyond the end
  EXPECT_FALSE(converter.Read(4));
}

TEST(CompositeMixer, FilesOpenOnlyShortlyBeforeTheyStartAndNeverAllAtOnce) {
  TSoundFiles files;
  files.Files[u"a"] = Level(1000, 100);
  TCompositeParams spread;
  spread.Duration = 20000;
  for (int32_t i = 0; i < 10; ++i) AddItem(spread, u"a", i * 2000, 1000);
  TCompositeConverter converter(files.Source(), spread.ToText());
  ASSERT_TRUE(converter.Open({}));
  converter.Seek(0);
  EXPECT_EQ(converter.OpenItems(), 3u);  // 0, 2000 and 4000 ms
  converter.Seek(9000);
  EXPECT_EQ(converter.OpenItems(), 3u);  // 10000, 12000 and 14000 ms
  EXPECT_EQ(converter.FinishedItems(), 5u);

  // Far more items due at once than may hold decoders: the rest follow as others end.
  TCompositeParams crowd;
  crowd.Duration = 3000;
  for (int32_t i = 0; i < 200; ++i) AddItem(crowd, u"a", i < 100 ? 0 : 1500, 1000);
  TCompositeConverter crowded(files.Source(), crowd.ToText());
  ASSERT_TRUE(crowded.Open({}));
  size_t most = 0;
  while (crowded.Read(TCompositeConverter::kBlockBytes)) {
    most = std::max(most, crowded.OpenItems());
    crowded.Output().Clear();
  }
  EXPECT_EQ(most, TCompositeConverter::kMostOpenItems);
  EXPECT_EQ(crowded.FinishedItems(), 200u);
}

TEST(CompositeMixer, InvalidOrHostileDescriptionsFailOrStayBounded) {
  TSoundFiles files;
  files.Files[u"a"] = Level(1000, 5000);
  const std::u16string guid(kCompositeGuid);
  // Not composites: the converter refuses them.
  for (const std::u16string& text : {guid + u"[Main]\r\nDuration=1000\r\n",
                                     guid + u"[0]\r\nFileName=a\r\nDuration=1000\r\n"}) {
    TCompositeConverter converter(files.Source(), text);
    EXPECT_FALSE(converter.Open({}));
    EXPECT_FALSE(converter.Read(4));
  }
  // A composite of days plays where it is sought to.
  TCompositeParams huge;
  huge.Duration = 2'000'000'000;  // cut to 10^9 ms when read
  AddItem(huge, u"a", 999'999'000, 2'000'000'000);
  const std::u16string nested = guid + u"[Main]";  // a composite inside a composite is not opened
  AddItem(huge, nested.c_str(), 999'999'500, 500);
  const auto begun = std::chrono::steady_clock::now();
  TCompositeConverter converter(files.Source(), huge.ToText());
  ASSERT_TRUE(converter.Open({}));
  EXPECT_EQ(converter.Media().Duration, 1'000'000'000u);
  converter.Seek(999'999'500);
  ASSERT_TRUE(converter.Read(size_t(MixBytes(400))));
  int16_t sample;
  std::memcpy(&sample, converter.Output().Data() + 4 * Frame(100), 2);
  EXPECT_EQ(sample, 5000);
  converter.Output().Clear();
  EXPECT_TRUE(converter.Read(size_t(MixBytes(100))));
  converter.Output().Clear();
  EXPECT_EQ(files.Opens[nested], 0);
  EXPECT_FALSE(converter.Read(size_t(MixBytes(600))));
  EXPECT_LT(std::chrono::steady_clock::now() - begun, std::chrono::seconds(5));
}

TEST(CompositeChannel, AChannelGivenACompositeTextPlaysIt) {
  TSoundFiles files;
  files.Files[u"a"] = Tone(400, RampSample);
  TCompositeParams params;
  params.Duration = 600;
  AddItem(params, u"a", 100, 400);
  const std::u16string text = params.ToText();

  TSoundRig rig(files.Source());
  EXPECT_EQ(rig.Player->CreateChannel(std::u16string(kCompositeGuid) + u"[Main]\r\nDuration=600\r\n", -1), nullptr);
  auto channel = rig.Player->CreateChannel(text, -1);
  ASSERT_NE(channel, nullptr);
  EXPECT_EQ(channel->GetLength(), 600);
  ASSERT_TRUE(channel->Play(0));
  rig.Run(800);
  const auto left = rig.Left();
  const TPcm mixed = Mix(files, params);
  for (size_t frame = 0; frame < Frame(600); ++frame) ASSERT_EQ(left[frame], mixed[2 * frame]) << frame;
  EXPECT_EQ(left[Frame(300)], RampSample(Frame(200), 0));

  // The converter factory's way in opens it too, with no stream of its own.
  std::optional<TOpenedSound> opened = OpenSound(text, files.Opener());
  ASSERT_TRUE(opened);
  EXPECT_EQ(opened->Media.Type, TMediaType::Composite);
  EXPECT_FALSE(opened->Stream);
  EXPECT_TRUE(opened->Converter->Read(4));
}

}  // namespace
}  // namespace kiv
