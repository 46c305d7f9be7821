// Envelopes, composite descriptions as text, and playlists.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "base/text.h"
#include "sound/composite_params.h"
#include "sound/play_list.h"
#include "sound/volume_params.h"

namespace kiv {
namespace {

TEST(VolumeEnvelope, BytePositionsAreWholeFramesOfTheMixFormat) {
  struct Case {
    double Ms;
    int64_t Bytes;
  };
  for (const Case& c : {Case{0, 0}, Case{1, 176}, Case{10, 1764}, Case{1000, 176400}, Case{0.5, 88},
                        Case{-1, -176}, Case{1e9, 176400000000}}) {
    EXPECT_EQ(MixBytes(c.Ms), c.Bytes) << c.Ms;
    EXPECT_EQ(MixBytes(c.Ms) % 4, 0);
  }
}

// The factor an envelope holds at byte pos, walked from a seek at from frame by frame.
double WalkTo(TVolumeParams& params, int64_t from, int64_t pos) {
  params.Seek(from);
  for (int64_t p = from; p < pos; p += 4) {
    const double slope = params.Step(p);
    if (!params.Constant()) params.Advance(slope);
  }
  return params.Factor();
}

TEST(VolumeEnvelope, SeekingAndWalkingAgreeAlongRampsAndHolds) {
  TVolumeParams params;
  params.AddPoint(0, 0);
  params.AddPoint(100, 1000);
  params.AddPoint(200, 500);
  params.Prepare(300);  // the last level (500) is held to 300 ms
  ASSERT_EQ(params.Segments().size(), 4u);
  EXPECT_TRUE(params.Segments()[3].Last);
  EXPECT_TRUE(params.Segments()[3].Constant);
  struct Case {
    double Ms;
    double Factor;
  };
  for (const Case& c : {Case{0, 0}, Case{50, 0.5}, Case{100, 1}, Case{150, 0.75}, Case{250, 0.5}}) {
    params.Seek(MixBytes(c.Ms));
    EXPECT_NEAR(params.Factor(), c.Factor, 1e-3) << c.Ms;
    EXPECT_NEAR(WalkTo(params, 0, MixBytes(c.Ms)), c.Factor, 1e-3) << c.Ms;
  }
  params.Seek(MixBytes(101));  // 0.995
  EXPECT_TRUE(params.IsUnity());
  params.Step(MixBytes(300));
  EXPECT_TRUE(params.Finished());
  EXPECT_DOUBLE_EQ(params.Factor(), 0.5);
}

TEST(VolumeEnvelope, ItemEdgesFadeAndNeverRunBackwardsOnShortItems) {
  for (double length : {1000.0, 20.0, 15.0, 7.0, 1.0, 0.0, -50.0}) {
    TVolumeParamsList list(true);
    list.Add().AddPoint(0, 1000);
    list.Prepare(length);
    list.Prepare(length);  // preparing again replaces the generated edge envelope
    ASSERT_EQ(list.Count(), 2u) << length;
    const TVolumeParams& edges = list[1];
    EXPECT_TRUE(edges.Generated);
    int64_t previous = 0;
    for (const TVolumeSegment& s : edges.Segments()) {
      EXPECT_GE(s.End, previous) << length;
      EXPECT_GE(s.EndFactor, 0) << length;
      previous = s.End;
    }
    EXPECT_EQ(edges.Segments().back().End, MixBytes(std::max(length, 0.0))) << length;
    for (const TVolumeItem& p : edges.Points()) EXPECT_GE(p.Time, 0) << length;
  }
  TVolumeParamsList list(true);
  list.Prepare(1000);
  bool allUnity = false;
  list.SeekAll(0);
  EXPECT_DOUBLE_EQ(list.Product(allUnity), 0);
  list.SeekAll(MixBytes(500));
  EXPECT_DOUBLE_EQ(list.Product(allUnity), 1);
  EXPECT_TRUE(allUnity);
  EXPECT_FALSE(list.StepAll(MixBytes(999)));
  EXPECT_TRUE(list.StepAll(MixBytes(1000)));
}

TEST(CompositeText, WritesAndReadsBackItemsEnvelopesAndMainVolume) {
  TCompositeParams params;
  params.Duration = 12000;
  TCompositeItem& a = params.AddItem(u"LoadFromDisk:/music/a b.wav", 0);
  a.BeginTime = 1500;
  a.Duration = 8000;
  a.Envelopes.Add().AddPoint(0, 500);
  a.Envelopes[0].AddPoint(8000, 500);
  a.Envelopes.Add().AddPoint(6000, 1000);
  a.Envelopes[1].AddPoint(8000, 0);
  TCompositeItem& b = params.AddItem(u"zwölf.mp3", 6000);
  b.Duration = 6000;
  params.MainVolumeList().Add().AddPoint(11000, 0);

  const std::u16string text = params.ToText();
  EXPECT_TRUE(IsCompositeText(text));
  TCompositeParams read;
  ASSERT_TRUE(read.FromText(text));
  EXPECT_EQ(read.Duration, 12000);
  ASSERT_EQ(read.Items.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    const TCompositeItem& w = params.Items[i];
    const TCompositeItem& r = read.Items[i];
    EXPECT_EQ(r.FileName, w.FileName);
    EXPECT_EQ(std::make_tuple(r.TimeLine, r.BeginTime, r.Duration), std::make_tuple(w.TimeLine, w.BeginTime, w.Duration));
    ASSERT_EQ(r.Envelopes.Count(), w.Envelopes.Count());
    for (size_t j = 0; j < w.Envelopes.Count(); ++j) EXPECT_EQ(r.Envelopes[j].Points(), w.Envelopes[j].Points());
  }
  ASSERT_TRUE(read.MainVolume);
  EXPECT_EQ((*read.MainVolume)[0].Points(), (std::vector<TVolumeItem>{{11000, 0}}));
  EXPECT_EQ(read.ToText(), text);

  const TMediaInfo media = read.MediaInfo();
  EXPECT_EQ(media.Type, TMediaType::Composite);
  EXPECT_EQ(media.Format, MixFormat());
  EXPECT_EQ(media.Duration, 12000u);
}

TEST(CompositeText, TwoDescriptionsReadAsOneLaidEndToEnd) {
  TCompositeParams first, second;
  first.Duration = 10000;
  first.AddItem(u"a.wav", 0).Duration = 10000;
  first.MainVolumeList().Add().AddPoint(0, 300);
  second.Duration = 5000;
  second.AddItem(u"b.wav", 0).Duration = 3000;
  second.AddItem(u"c.wav", 2000).Duration = 3000;

  TCompositeParams merged;
  ASSERT_TRUE(merged.FromText(first.ToText() + second.ToText()));
  EXPECT_EQ(merged.Duration, 15000);
  ASSERT_EQ(merged.Items.size(), 3u);
  EXPECT_EQ(merged.Items[0].TimeLine, 0);
  EXPECT_EQ(merged.Items[1].TimeLine, 10000);
  EXPECT_EQ(merged.Items[2].TimeLine, 12000);
  EXPECT_EQ(merged.Items[2].FileName, u"c.wav");
  // The main volume is that of the last piece having one, at its own times.
  ASSERT_TRUE(merged.MainVolume);
  EXPECT_EQ((*merged.MainVolume)[0].Points(), (std::vector<TVolumeItem>{{0, 300}}));
}

TEST(CompositeText, InvalidAndHostileDescriptionsFailOrStayBounded) {
  const std::u16string guid(kCompositeGuid);
  const std::u16string item = u"[0]\r\nFileName=a.wav\r\nDuration=1000\r\n";
  struct Case {
    const char* What;
    std::u16string Text;
    bool Valid;
    size_t Items;
  };
  std::u16string manyEnvelopes = guid + u"[Main]\r\nDuration=1000\r\n" + item + u"FadeCount=1000000\r\n";
  for (int k = 0; k < 3000; ++k)
    manyEnvelopes += u"[Vol_0_999999_" + IntToText(k) + u"]\r\n0=" + IntToText(k) + u"\r\n1=2\r\n";
  std::u16string manyItems = guid + u"[Main]\r\nDuration=1000\r\n";
  for (int i = 0; i < 5000; ++i) manyItems += u"[" + IntToText(i) + u"]\r\nFileName=x\r\nFadeCount=1000000\r\n";
  const Case cases[] = {
      {"not a composite", u"a.wav", false, 0},
      {"no duration", guid + item, false, 1},
      {"no item", guid + u"[Main]\r\nDuration=1000\r\n", false, 0},
      {"fade count out of range ends the items", guid + u"[Main]\r\nDuration=1000\r\n" + item + u"FadeCount=1000001\r\n",
       false, 0},
      {"lower-case guid", LowerCase(guid) + u"[Main]\r\nDuration=1000\r\n" + item, true, 1},
      {"negative times", guid + u"[Main]\r\nDuration=-5\r\n" + item + u"TimeLine=-7\r\n", false, 1},
      {"huge durations", guid + u"[Main]\r\nDuration=2147483647\r\n" + item + u"TimeLine=2147483647\r\n", true, 1},
      {"huge fade count, no envelopes", manyItems, true, 5000},
      {"envelope far down a huge fade count", manyEnvelopes, true, 1},
  };
  for (const Case& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    TCompositeParams params;
    EXPECT_EQ(params.FromText(c.Text), c.Valid) << c.What;
    EXPECT_EQ(params.Items.size(), c.Items) << c.What;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.What;
    for (const TCompositeItem& i : params.Items) {
      EXPECT_GE(i.TimeLine, 0) << c.What;
      EXPECT_GE(i.Duration, 0) << c.What;
      EXPECT_GE(i.End(), i.TimeLine) << c.What;  // no overflow
      EXPECT_LE(i.Envelopes.Count(), 1u) << c.What;
    }
  }
}

TEST(PlayList, EntriesFollowOneAnotherAndWrapRoundByRound) {
  TPlayList list;
  EXPECT_EQ(list.ItemAt(3).Name, u"");
  EXPECT_EQ(list.Add(u"a", 10000), 0);
  EXPECT_EQ(list.Add(u"b", 20000), 1);
  EXPECT_EQ(list.Add(u"c", 30000), 2);
  EXPECT_EQ(list.TotalLength(), 60000);
  struct Case {
    int Index;
    const char16_t* Name;
    double Start;
  };
  for (const Case& c : {Case{0, u"a", 0}, Case{2, u"c", 30000}, Case{3, u"a", 60000}, Case{7, u"b", 130000}}) {
    const TMusicItemInfo item = list.ItemAt(c.Index);
    EXPECT_EQ(item.Name, c.Name) << c.Index;
    EXPECT_EQ(item.Start, c.Start) << c.Index;
  }
  EXPECT_EQ(list.ItemAt(7).Length, 20000);
}

TEST(PlayList, ShufflingDrawsAFreshPermutationPerRound) {
  TPlayList source;
  for (const char16_t* name : {u"a", u"b", u"c"}) source.Add(name, 1000);
  // Keys per round: c < a < b, then c < b < a.
  std::vector<uint32_t> keys{500, 900, 100, 10, 5, 0};
  size_t next = 0;
  TPlayList shuffled;
  shuffled.FillShuffled(source, 2, [&](uint32_t n) {
    EXPECT_EQ(n, 1000000u);
    return keys[next++];
  });
  std::u16string order;
  for (int i = 0; i < shuffled.Count(); ++i) order += shuffled.ItemAt(i).Name;
  EXPECT_EQ(order, u"cabcba");
  EXPECT_EQ(shuffled.ItemAt(5).Start, 5000);
  shuffled.FillShuffled(source, 0, [](uint32_t) { return 0u; });
  EXPECT_EQ(shuffled.Count(), 3);
}

}  // namespace
}  // namespace kiv
