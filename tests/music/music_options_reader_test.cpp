// Music objects read into composites: how tracks and items are laid out, the envelopes
// of fades, levels and crosses, random tracks, and slide sound comments with extras.
#include "music/music_options_reader.h"

#include <gtest/gtest.h>

#include "music/music_text.h"
#include "support/log_capture.h"
#include "support/show_source.h"

namespace kiv {
namespace {

class MusicReading : public ::testing::Test {
 protected:
  const TIniObject& MusicObject(const std::string& children) {
    project = ParseProject("[main]\n" + Music(children));
    return *FindChildObject(*project->FindSection(u"main"), u"music");
  }
  TCompositeRows ReadMusic(const std::string& children, bool disableRandom = false) {
    reader.ReadMusic(MusicObject(children), disableRandom);
    return reader.MusicDuration() > 0 ? RowsOf(reader.MusicText()) : TCompositeRows{};
  }
  TCompositeRows ReadComment(const std::string& children, int32_t limit, const TExtraMusicItemArray& extras = {}) {
    reader.SetLengthLimit(limit);
    reader.Read(children.empty() ? nullptr : &MusicObject(children), extras, false, int(extras.size()) - 1);
    return reader.CommentDuration() > 0 ? RowsOf(reader.CommentText()) : TCompositeRows{};
  }

  TScriptedRandom random{{30, 10, 20}};
  TMusicOptionsReader reader{random};
  std::unique_ptr<TIniFile> project;
};

TEST_F(MusicReading, ItemsCrossingIntoTheirPredecessorsFadeAcrossEachOther) {
  const TCompositeRows rows = ReadMusic(Track(Item("a", "Duration=10000") + Item("b", "Duration=10000;Cross=2000") +
                                              Item("c", "Duration=10000;Cross=2000")));
  EXPECT_EQ(rows.Duration, 26000);
  EXPECT_EQ(rows.Items, (std::vector<TItemRow>{{"a", 0, 0, 10000}, {"b", 8000, 0, 10000}, {"c", 16000, 0, 10000}}));
  EXPECT_EQ(rows.Envelopes, (std::vector<std::vector<TPoints>>{{{{8000, 1000}, {10000, 0}}},
                                                               {{{0, 0}, {2000, 1000}, {8000, 1000}, {10000, 0}}},
                                                               {{{0, 0}, {2000, 1000}}}}));
}

struct TLayoutCase {
  const char* Name;
  std::string Children;
  int32_t Duration;
  std::vector<TItemRow> Items;
};

TEST_F(MusicReading, TracksLieSideBySideAndTheirItemsOneAfterAnother) {
  const TLayoutCase cases[] = {
      {"a pause leaves silence before its item",
       Track(Item("a", "Duration=4000") + Item("b", "Duration=3000;CrossMode=1;Pause=1500")),
       8500,
       {{"a", 0, 0, 4000}, {"b", 5500, 0, 3000}}},
      {"two tracks start together; the longer one is the length",
       Track(Item("a", "Duration=5000") + Item("b", "Duration=5000")) + Track(Item("c", "Duration=7000")),
       10000,
       {{"a", 0, 0, 5000}, {"b", 5000, 0, 5000}, {"c", 0, 0, 7000}}},
      {"a silent item is left out but keeps its time",
       Track(Item("a", "Duration=3000;Volume=0") + Item("b", "Duration=2000;StartTime=1200")),
       5000,
       {{"b", 3000, 1200, 2000}}},
      {"the first item of a track is not moved by its cross",
       Track(Item("a", "Duration=5000;Cross=2000")),
       5000,
       {{"a", 0, 0, 5000}}},
      {"a cross longer than the track so far stops at its start",
       Track(Item("a", "Duration=1000") + Item("b", "Duration=5000;Cross=3000")),
       5000,
       {{"a", 0, 0, 1000}, {"b", 0, 0, 5000}}},
      {"nothing but silence is no music", Track(Item("a", "Duration=3000;Volume=0")), 0, {}},
  };
  for (const TLayoutCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TCompositeRows rows = ReadMusic(c.Children);
    EXPECT_EQ(reader.MusicDuration(), c.Duration);
    EXPECT_EQ(rows.Items, c.Items);
  }
}

struct TEnvelopeCase {
  const char* Name;
  std::string Keys;
  std::vector<TPoints> Envelopes;
  bool Logged;
};

TEST_F(MusicReading, LevelsFadesAndVolumeParamsBecomeEnvelopes) {
  const TEnvelopeCase cases[] = {
      {"full level and no fades", "", {}, false},
      {"volume 50 halves it throughout", "Volume=50", {{{0, 500}, {6000, 500}}}, false},
      {"fades at full level", "FadeIn=1000;FadeOut=2000", {{{0, 0}, {1000, 1000}, {4000, 1000}, {6000, 0}}}, false},
      {"a fade in to a lower level", "Volume=80;FadeIn=500", {{{0, 0}, {500, 800}}}, false},
      {"samples and 16.16 levels from the file's start",
       "StartTime=500;VolumeParams=44100:32768, 88200:65536",
       {{{500, 500}, {1500, 1000}}},
       false},
      {"a bad entry drops that envelope only",
       "Volume=50;VolumeParams=44100:half,88200:0",
       {{{0, 500}, {6000, 500}}},
       true},
  };
  for (const TEnvelopeCase& c : cases) {
    SCOPED_TRACE(c.Name);
    testing::TLogCapture log;
    const TCompositeRows rows = ReadMusic(Track(Item("a", "Duration=6000;" + c.Keys)));
    ASSERT_EQ(rows.Items.size(), 1u);
    EXPECT_EQ(rows.Envelopes[0], c.Envelopes);
    EXPECT_EQ(log.Count("\"half\" is not a valid integer value"), c.Logged ? 1u : 0u);
  }
}

TEST_F(MusicReading, RandomTracksPlayInTheOrderOfKeysEveryReadOfOneReaderShares) {
  const std::string track =
      Track(Item("a", "Duration=1000") + Item("b", "Duration=1000") + Item("c", "Duration=1000"), "IsRandom=1");
  const std::vector<TItemRow> shuffled{{"b", 0, 0, 1000}, {"c", 1000, 0, 1000}, {"a", 2000, 0, 1000}};
  EXPECT_EQ(ReadMusic(track).Items, shuffled);
  EXPECT_EQ(ReadMusic(track).Items, shuffled);
  EXPECT_EQ(random.Ranges, (std::vector<uint32_t>(3, 16776960)));  // drawn once, by position
  EXPECT_EQ(ReadMusic(track, true).Items[0].File, "a");
}

TEST_F(MusicReading, MusicOptionsGiveRepeatAndMuteVolume) {
  ReadMusic(Track(Item("a", "Duration=1000")) + Obj("tmusicoptions", "IsRepeat=1;IsMute=1;MuteVolume=40"));
  EXPECT_TRUE(reader.Repeat());
  EXPECT_EQ(reader.MuteVolume(), 40);
  ReadMusic(Track(Item("a", "Duration=1000")) + Obj("tmusicoptions", "IsRepeat=0;IsMute=0;MuteVolume=40"));
  EXPECT_FALSE(reader.Repeat());
  EXPECT_EQ(reader.MuteVolume(), 100);
}

struct TCommentCase {
  const char* Name;
  std::string Keys;
  int32_t Limit;
  int32_t Duration;
  std::vector<TItemRow> Items;
  std::vector<TPoints> Envelopes;
};

TEST_F(MusicReading, SoundCommentsStartAfterTheirPauseAndEndWithinTheLimit) {
  const TCommentCase cases[] = {
      {"limited", "Duration=8000;Pause=1000", 5000, 5000, {{"c", 1000, 0, 5000}}, {}},
      {"unlimited", "Duration=8000;Pause=1000;StartTime=300", 0, 9000, {{"c", 1000, 300, 9000}}, {}},
      {"a limit beyond it does nothing", "Duration=8000", 9000, 8000, {{"c", 0, 0, 8000}}, {}},
      // The composite ends at the limit: the fade out ends with what is heard of the item.
      {"fade out after a pause",
       "Duration=8000;Pause=1000;FadeOut=500",
       5000,
       5000,
       {{"c", 1000, 0, 5000}},
       {{{3500, 1000}, {4000, 0}}}},
      {"fade out after a pause, unlimited",
       "Duration=8000;Pause=1000;FadeOut=500;Volume=60",
       0,
       9000,
       {{"c", 1000, 0, 9000}},
       {{{7500, 600}, {8000, 0}}}},
  };
  for (const TCommentCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TCompositeRows rows = ReadComment(Obj("tsoundcomment", "FileName=c;" + c.Keys), c.Limit);
    EXPECT_EQ(rows.Duration, c.Duration);
    EXPECT_EQ(rows.Items, c.Items);
    EXPECT_EQ(rows.Envelopes, std::vector<std::vector<TPoints>>{c.Envelopes});
  }
  EXPECT_EQ(ReadComment(Obj("tsoundcomment", "FileName=error;Duration=8000"), 0).Items.size(), 0u);
  EXPECT_EQ(reader.CommentDuration(), 0);
}

TEST_F(MusicReading, ExtrasJoinTheSoundCommentUpToTheLastIndexGiven) {
  const TExtraMusicItemArray extras{{u"v.avi", 2000, 500, 3000, 0.5}, {u"w.avi", 0, 0, 1000, 1.0}};
  TCompositeRows rows = ReadComment(Obj("tsoundcomment", "FileName=c;Duration=4000"), 0, extras);
  EXPECT_EQ(rows.Duration, 5000);
  EXPECT_EQ(rows.Items, (std::vector<TItemRow>{{"c", 0, 0, 4000}, {"v.avi", 2000, 500, 3000}, {"w.avi", 0, 0, 1000}}));
  EXPECT_EQ(rows.Envelopes[1], (std::vector<TPoints>{{{0, 500}, {3000, 500}}}));

  reader.Read(nullptr, extras, false, 0);  // no music object: the extras alone
  rows = RowsOf(reader.CommentText());
  EXPECT_EQ(rows.Items, (std::vector<TItemRow>{{"v.avi", 2000, 500, 3000}}));
  EXPECT_EQ(rows.Duration, 5000);
  EXPECT_EQ(reader.MusicDuration(), 0);
}

TEST_F(MusicReading, TracksNestedVeryDeepAreReadWithoutRecursion) {
  std::string text;
  for (int i = 0; i < 50000; ++i) text += "object T: tmusictrack\n";
  text += Item("a", "Duration=1000");
  for (int i = 0; i < 50000; ++i) text += "end\n";
  EXPECT_EQ(ReadMusic(text).Items, (std::vector<TItemRow>{{"a", 0, 0, 1000}}));
}

}  // namespace
}  // namespace kiv
