#include "music/sound_chain.h"

#include <gtest/gtest.h>

#include "sound/composite_params.h"
#include "sound/sound_rig.h"
#include "sound/sound_test_support.h"

namespace kiv {
namespace {

TEST(SoundChainName, CarriesEveryEntryWhateverItsNameHolds) {
  TSoundChain chain;
  chain.Repeat = true;
  chain.RoundLength = 3000.5;
  chain.Entries = {{u"a;b.wav", 0, 0, 1000.25},
                   {u"9213AB40-17BB-458F-9C4C-1806F44BEB65[Main]\r\nDuration=2000\r\n", 1000.25, 12.5, 2000},
                   {u"", 3000.25, 0, 0.25}};
  const std::optional<TSoundChain> back = ParseChainName(ChainName(chain));
  ASSERT_TRUE(back);
  EXPECT_TRUE(back->Repeat);
  EXPECT_EQ(back->RoundLength, 3000.5);
  ASSERT_EQ(back->Entries.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(back->Entries[i].Name, chain.Entries[i].Name);
    EXPECT_EQ(back->Entries[i].Start, chain.Entries[i].Start);
    EXPECT_EQ(back->Entries[i].BeginOffset, chain.Entries[i].BeginOffset);
    EXPECT_EQ(back->Entries[i].Length, chain.Entries[i].Length);
  }
}

TEST(SoundChainName, DamagedNamesAreNoChains) {
  TSoundChain chain;
  chain.RoundLength = 1000;
  chain.Entries = {{u"tone", 0, 0, 1000}};
  const std::u16string good = ChainName(chain);
  const std::u16string prefix = good.substr(0, good.find(u':') + 1);
  for (const std::u16string& bad :
       {std::u16string(u"tone.wav"), good.substr(0, good.size() - 1), good + u"x", prefix + u"X;1000;1;",
        prefix + u"O;1000;2;0;0;1000;4;tone", prefix + u"O;1000;1;0;0;1000;99;tone", prefix + u"O;1000;-1;",
        prefix + u"O;nan;0;", prefix + u"O;1e999;0;", prefix + u"O;1000;1;0;0;1000;1.5;tone",
        prefix + u"O;1000;99999999999;", prefix + u"O;1000;1;0;0;1000;4;tone;"}) {
    EXPECT_FALSE(ParseChainName(bad)) << std::string(bad.begin(), bad.end());
  }
}

// Everything a chain plays, read through the source the player's sound output uses.
std::vector<int16_t> PlayChain(TToneLibrary& tones, const TSoundChain& chain, double fromMs, size_t frames) {
  const TSoundSource source = ChainingSoundSource(tones.Source());
  const std::u16string name = ChainName(chain);
  const std::optional<TMediaInfo> media = source.Describe(name);
  EXPECT_TRUE(media);
  if (!media) return {};
  auto converter = source.MakeConverter(source.Open(name, 0).get(), name, *media);
  converter->Seek(fromMs);
  std::vector<int16_t> left;
  while (left.size() < frames) {
    const bool more = converter->Read(4 * 1000);
    TLocalBuffer& out = converter->Output();
    const auto* samples = reinterpret_cast<const int16_t*>(out.Data());
    for (size_t i = 0; i + 1 < out.Size() / 2; i += 2) left.push_back(samples[i]);
    out.Consume(out.Size());
    if (!more) break;
  }
  return left;
}

class SoundChainPlay : public ::testing::Test {
 protected:
  SoundChainPlay() {
    tones.Tones[u"a"] = TTone{.Hz = 50, .Level = 9000, .Ms = 1000};
    tones.Tones[u"b"] = TTone{.Hz = 0, .Level = 3000, .Ms = 400};
  }
  TToneLibrary tones;
};

TEST_F(SoundChainPlay, EntriesFollowOnTheirPlannedFramesAndAShortOneIsPaddedWithSilence) {
  // b lasts 400 ms but is planned for 600; the third entry starts 500 ms into a.
  TSoundChain chain;
  chain.RoundLength = 2000;
  chain.Entries = {{u"a", 0, 0, 800}, {u"b", 800, 0, 600}, {u"a", 1400, 500, 500}, {u"missing", 1900, 0, 100}};
  const std::vector<int16_t> left = PlayChain(tones, chain, 0, 100000);
  const TTone& a = tones.Tones[u"a"];
  struct TExpected {
    double FromMs, ToMs;
    std::function<int(size_t)> Sample;  // of the frame into the piece
  };
  const std::vector<TExpected> pieces = {{0, 800, [&](size_t f) { return a.Sample(f); }},
                                         {800, 1200, [](size_t) { return 3000; }},
                                         {1200, 1400, [](size_t) { return 0; }},
                                         {1400, 1900, [&](size_t f) { return a.Sample(f + 22050); }}};
  for (const TExpected& piece : pieces)
    for (size_t frame = MixFrames(piece.FromMs); frame < size_t(MixFrames(piece.ToMs)); ++frame)
      ASSERT_EQ(left.at(frame), piece.Sample(frame - MixFrames(piece.FromMs))) << piece.FromMs << " ms + " << frame;
  // The entry that cannot be played is the last: the chain ends where the one before did.
  EXPECT_EQ(left.size(), size_t(MixFrames(1900)));
}

TEST_F(SoundChainPlay, ARepeatingChainWrapsAndSeeksIntoAnyRound) {
  TSoundChain chain;
  chain.Repeat = true;
  chain.RoundLength = 700;
  chain.Entries = {{u"a", 0, 0, 500}, {u"b", 500, 0, 200}};
  const TTone& a = tones.Tones[u"a"];
  // 3 rounds on, 100 ms into a.
  const std::vector<int16_t> left = PlayChain(tones, chain, 2200, MixFrames(1000));
  ASSERT_GE(left.size(), size_t(MixFrames(1000)));
  for (size_t frame = 0; frame < size_t(MixFrames(400)); ++frame) ASSERT_EQ(left[frame], a.Sample(frame + 4410));
  for (size_t frame = MixFrames(400); frame < size_t(MixFrames(600)); ++frame) ASSERT_EQ(left[frame], 3000);
  for (size_t frame = MixFrames(600); frame < size_t(MixFrames(1000)); ++frame)
    ASSERT_EQ(left[frame], a.Sample(frame - MixFrames(600)));
}

TEST_F(SoundChainPlay, AChainThatCannotRepeatEndsAndDescribesItsLength) {
  const TSoundSource source = ChainingSoundSource(tones.Source());
  TSoundChain endless;
  endless.Repeat = true;
  endless.RoundLength = 0.001;  // nothing to repeat in a round this short
  endless.Entries = {{u"a", 0, 0, 0.001}};
  const std::optional<TMediaInfo> media = source.Describe(ChainName(endless));
  ASSERT_TRUE(media);
  EXPECT_EQ(media->Duration, 1u);
  EXPECT_TRUE(PlayChain(tones, endless, 0, 1000).size() <= 1);
  TSoundChain empty;
  EXPECT_FALSE(source.Describe(ChainName(empty))) << "a chain of nothing is not played";
}

class SoundChainFiles : public test::SoundFolderTest {};

TEST_F(SoundChainFiles, AnEntryThatIsACompositeIsMixedInItsPlace) {
  // The music of the current keys is one composite: here a 300 ms pause, then b.
  ASSERT_TRUE(test::Ran("sox -n -r 44100 -c 2 -b 16 " + In("a.wav") + " synth 0.5 sine 440 vol 0.3"));
  ASSERT_TRUE(test::Ran("sox -n -r 22050 -c 1 -b 16 " + In("b.wav") + " synth 0.4 sine 880 vol 0.3"));
  TCompositeParams composite;
  composite.Duration = 1000;
  composite.AddItem(Utf8ToUtf16(File("b.wav").string()), 300).Duration = 400;
  TSoundChain chain;
  chain.RoundLength = 1500;
  chain.Entries = {{Utf8ToUtf16(File("a.wav").string()), 0, 0, 500}, {composite.ToText(), 500, 0, 1000}};
  const TSoundSource source = ChainingSoundSource(ShowSoundSource(nullptr));
  const std::u16string name = ChainName(chain);
  const std::optional<TMediaInfo> media = source.Describe(name);
  ASSERT_TRUE(media);
  auto converter = source.Decoder(source.Open(name, 0).get(), name, *media);
  ASSERT_TRUE(converter);
  converter->Read(size_t(MixFrames(1500)) * 4);
  const std::vector<int16_t> left = [&] {
    std::vector<int16_t> samples = test::Samples16(std::vector<uint8_t>(
        converter->Output().Data(), converter->Output().Data() + converter->Output().Size()));
    std::vector<int16_t> left;
    for (size_t i = 0; i < samples.size(); i += 2) left.push_back(samples[i]);
    return left;
  }();
  ASSERT_GE(left.size(), size_t(MixFrames(1500)));
  auto loudest = [&](double fromMs, double toMs) {
    int most = 0;
    for (int64_t frame = MixFrames(fromMs); frame < MixFrames(toMs); ++frame) most = std::max(most, std::abs(left[frame]));
    return most;
  };
  EXPECT_GT(loudest(0, 500), 9000) << "a";
  EXPECT_EQ(loudest(510, 800), 0) << "the composite's pause";
  EXPECT_GT(loudest(820, 1190), 9000) << "b, resampled and mixed by the composite";
  EXPECT_EQ(loudest(1210, 1500), 0) << "the composite after b";
}

}  // namespace
}  // namespace kiv
