// A show's music read once when it opens: the main playlist from music objects or the
// older keys, each slide's sound (its comment with the sound of its videos) limited to
// the slides it may sound over, personal playlists, and bad entries that drop alone.
#include "music/kiv_music_source.h"

#include <gtest/gtest.h>

#include "music/music_text.h"
#include "support/log_capture.h"
#include "support/show_source.h"

namespace kiv {
namespace {

struct TRepeatCase {
  const char* Name;
  std::string Main;
  bool Repeat;
};

TEST(KivMusicSource, SynchronisedMusicRepeatsOnlyWhenTheShowOutlastsIt) {
  const auto music = [](int length, const std::string& options) {
    return Music(Track(Item("m.mp3", "Duration=" + std::to_string(length))) + Obj("tmusicoptions", options));
  };
  const TRepeatCase cases[] = {
      {"repeat without synchronising", music(20000, "IsRepeat=1"), true},
      {"no repeat asked", music(2000, "IsRepeat=0"), false},
      {"synchronised, 9900 ms in a 10000 ms show", "opt_syncmode=1\n" + music(9900, "IsRepeat=1"), false},
      {"synchronised, 9700 ms in a 10000 ms show", "opt_syncmode=1\n" + music(9700, "IsRepeat=1"), true},
      {"older keys, synchronised, 9900 ms",
       "opt_usemusic=1\nopt_syncmode=1\nopt_music_count=1\nopt_music1=a.mp3\nopt_lengthlist1=9900", false},
      {"older keys repeat by default", "opt_usemusic=1\nopt_music_count=1\nopt_music1=a.mp3\nopt_lengthlist1=9900",
       true},
  };
  for (const TRepeatCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto source = SourceOf(Show({5000, 10000}, c.Main));
    const TKivMusicSource music(*source);
    EXPECT_TRUE(music.Flags().UseMusic);
    EXPECT_EQ(music.Flags().Repeat, c.Repeat);
    EXPECT_EQ(music.MainPlayList().Repeat, c.Repeat);
    ASSERT_EQ(music.MainPlayList().Count(), 1);
    EXPECT_TRUE(music.Loops());  // "opt_repeat" is "repeat" by default
  }
  const TKivMusicSource closing(*SourceOf(Show({5000}, "opt_repeat=close\n" + music(3000, ""))));
  const TCompositeRows main = RowsOf(closing.MainPlayList().ItemAt(0).Name);
  EXPECT_EQ(main.Items, (std::vector<TItemRow>{{"m.mp3", 0, 0, 3000}}));
  EXPECT_FALSE(closing.Loops());
  EXPECT_EQ(closing.SlideInfo(0).SlideNumber, 0);  // the last slide
}

struct TCommentLimitCase {
  const char* Name;
  std::string Main;
  std::string ThirdSlide;
  int32_t Length;
};

TEST(KivMusicSource, ASlideCommentSoundsUntilItsSlideOrTheNextSlideWithAComment) {
  const std::string comment = Music(Obj("tsoundcomment", "FileName=c.mp3;Duration=12000"));
  const TCommentLimitCase cases[] = {
      {"limited to its slide", "", comment, 5000},
      {"until the slide before the next comment", "opt_fullyplaysound=1", comment, 10000},
      {"a comment naming no file does not count", "opt_fullyplaysound=1",
       Music(Obj("tsoundcomment", "FileName=error;Duration=1000")), 12000},
  };
  for (const TCommentLimitCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto source = SourceOf(Show({5000, 10000, 15000}, Music("") + "\n" + c.Main, {comment, "", c.ThirdSlide}));
    const TKivMusicSource music(*source);
    ASSERT_EQ(music.SlideCount(), 3);
    EXPECT_EQ(music.SlideInfo(0).SoundLength, c.Length);
    EXPECT_EQ(RowsOf(music.SlideInfo(0).Sound).Items, (std::vector<TItemRow>{{"c.mp3", 0, 0, c.Length}}));
    EXPECT_EQ(music.SlideInfo(1).Sound, u"");
    EXPECT_EQ(music.SlideInfo(1).SlideNumber, 2);
    EXPECT_EQ(music.MainPlayList().Count(), 0);
  }
}

TEST(KivMusicSource, PersonalMusicOfASlideUnlessTheShowIsSynchronised) {
  const std::string personal = "UsePersonal=1\nMusicAction=2\n" +
                               Music(Track(Item("p.mp3", "Duration=3000")) + Obj("tmusicoptions", "IsRepeat=1"));
  for (const bool sync : {false, true}) {
    const auto source =
        SourceOf(Show({5000, 9000}, Music("") + (sync ? "opt_syncmode=1" : ""), {personal, "UsePersonal=1\n"}));
    const TKivMusicSource music(*source);
    EXPECT_FALSE(music.SlideInfo(1).PersonalPlayList);
    if (sync) {
      EXPECT_FALSE(music.SlideInfo(0).PersonalPlayList);
      continue;
    }
    const TPlayList& list = *music.SlideInfo(0).PersonalPlayList;
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.TotalLength(), 3000);
    EXPECT_TRUE(list.Repeat);
    EXPECT_EQ(RowsOf(list.ItemAt(0).Name).Items, (std::vector<TItemRow>{{"p.mp3", 0, 0, 3000}}));
  }
}

TEST(KivMusicSource, OlderKeysGivePlaylistsAndSoundsAndBadEntriesDropAlone) {
  const std::string show =
      Show({5000, 10000, 15000, 20000, 25000},
           "opt_usemusic=1\nopt_music_count=3\nopt_music1=a.mp3\nopt_lengthlist1=4000\nopt_music3=c.mp3\n"
           "opt_lengthlist3=6000",
           {"Sound=s1.wav\nSoundLength=8000", "Sound=s2.wav",
            "Sound=@\nUsePersonal=1\nMusicAction=2\nMusicCount=3\nSubMusic1=p.mp3\nSubMusicLength1=2000\n"
            "SubMusicLength2=1000\nSubMusic3=q.mp3\nSubMusicLength3=-5",
            "Sound=u.wav"});
  const auto source = SourceOf(show);
  const auto fileLength = [](std::u16string_view name) { return name == u"s2.wav" ? 3000.0 : -1.0; };
  for (const bool lengthKnown : {true, false}) {
    SCOPED_TRACE(lengthKnown);
    testing::TLogCapture log;
    const TKivMusicSource music(*source, lengthKnown ? TSoundLengthFn(fileLength) : TSoundLengthFn());
    ASSERT_EQ(music.MainPlayList().Count(), 2);
    EXPECT_EQ(music.MainPlayList().ItemAt(1).Name, u"c.mp3");
    EXPECT_EQ(music.MainPlayList().TotalLength(), 10000);
    EXPECT_EQ(music.SlideInfo(0).Sound, u"s1.wav");
    EXPECT_EQ(music.SlideInfo(0).SoundLength, 5000);  // cut to its slide
    // A sound without a length of its own plays as long as its file, when that is known.
    EXPECT_EQ(music.SlideInfo(1).Sound, lengthKnown ? u"s2.wav" : u"");
    EXPECT_EQ(music.SlideInfo(1).SoundLength, lengthKnown ? 3000 : 0);
    EXPECT_EQ(music.SlideInfo(2).Sound, u"");
    const TPlayList& personal = *music.SlideInfo(2).PersonalPlayList;
    ASSERT_EQ(personal.Count(), 1);
    EXPECT_EQ(personal.ItemAt(0).Name, u"p.mp3");
    EXPECT_TRUE(personal.Repeat);
    EXPECT_EQ(music.SlideInfo(3).Sound, u"");
    EXPECT_EQ(music.SlideInfo(4).SlideNumber, 0);  // its section is missing: no sound
    for (const char* bad : {"\"opt_music2\"", "\"SubMusic2\"", "\"SubMusic3\"", "\"u.wav\"", "slide 5"})
      EXPECT_EQ(log.Count(bad), 1u) << bad;
    EXPECT_EQ(log.Count("\"s2.wav\""), lengthKnown ? 0u : 1u);
  }
}

TEST(KivMusicSource, VideosSoundOnTheSlideThatFirstShowsThemUntilItHasLeftTheScreen) {
  const std::string main = Music("") + "opt_fx_enable=1\nopt_fx_time=1000\nopt_fx_eff2=1\n" +
                           Obj("VideoBoss", "",
                               Obj("videoclip",
                                   "ClipGUID={C1};FileName=clip.avi;Duration=7000;StartKIVTime=500;StartVideoTime=100;"
                                   "LoadFromDisk=1"));
  const std::string clip = Obj("video", "ClipGUID={c1}");
  const std::string first =
      Obj("box", "", clip + Obj("mainvideo", "FileName=own.avi;StartKIVTime=1000;Duration=9000")) + clip +
      Obj("video", "FileName=mute.avi;Mute=1;Duration=1000") + Obj("video", "FileName=whole.avi;StartKIVTime=2000");
  const auto source = SourceOf(Show({5000, 10000}, main, {first, clip}));
  ASSERT_EQ(source->Slides()[0].EffectOutTime, 1000);
  const TKivMusicSource music(*source);
  const TCompositeRows rows = RowsOf(music.SlideInfo(0).Sound);
  // The own video is cut where its slide's transition into the next one ends; one without
  // a length sounds until then.
  EXPECT_EQ(rows.Items, (std::vector<TItemRow>{{"LoadFromDisk:clip.avi", 500, 100, 7000},
                                               {"own.avi", 1000, 0, 5000},
                                               {"whole.avi", 2000, 0, 4000}}));
  EXPECT_EQ(rows.Duration, 7500);
  EXPECT_EQ(music.SlideInfo(1).Sound, u"");  // the clip runs on from the first slide
}

}  // namespace
}  // namespace kiv
