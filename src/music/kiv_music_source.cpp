#include "music/kiv_music_source.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/log.h"
#include "base/text.h"
#include "model/kiv_source.h"
#include "model/random_source.h"
#include "model/slide_order.h"
#include "music/music_options_reader.h"
#include "music/video_sound.h"

namespace kiv {

namespace {

// Synchronised music repeats only when the show outlasts it by more than this, ms.
constexpr double kSyncRepeatMargin = 200;
// A broken count must not make the reader walk a billion keys.
constexpr int32_t kMaxPlayListEntries = 10000;

int32_t RoundMs(double ms) {
  if (!(ms == ms)) return 0;  // NaN
  return int32_t(std::clamp(std::round(ms), double(std::numeric_limits<int32_t>::min()),
                            double(std::numeric_limits<int32_t>::max())));
}

void LogSlide(int index, std::u16string_view what) {
  Log().Write(u"Music: slide " + IntToText(index + 1) + u": " + std::u16string(what));
}

// The number of entries a count key gives, at most kMaxPlayListEntries.
int32_t EntryCount(const TIniIdentList& section, std::u16string_view key, std::u16string_view where) {
  const int32_t count = section.ReadInteger(key, 0);
  if (count <= kMaxPlayListEntries) return count;
  Log().Write(u"Music: " + std::u16string(where) + u"\"" + std::u16string(key) + u"\" = " + IntToText(count) +
              u" is taken as " + IntToText(kMaxPlayListEntries));
  return kMaxPlayListEntries;
}

// Adds a file of an older playlist; one without a name or a length is left out.
void AddListFile(TPlayList& list, const std::u16string& name, int32_t length, std::u16string_view where) {
  if (name.empty()) {
    Log().Write(u"Music: " + std::u16string(where) + u" names no file; it is left out");
    return;
  }
  if (length <= 0) {
    Log().Write(u"Music: " + std::u16string(where) + u" \"" + name + u"\" has length " + IntToText(length) +
                u"; it is left out");
    return;
  }
  list.Add(name, length);
}

bool HasPersonalPlayList(const TIniSection& slide) {
  return slide.ReadString(u"UsePersonal", u"") == u"1" && slide.ReadString(u"MusicAction", u"") == u"2";
}

}  // namespace

TKivMusicSource::TKivMusicSource(const TKivSource& source, const TSoundLengthFn& soundLength)
    : FShowDuration(source.Duration()), FLoops(source.EndMode() == TEndMode::Repeat) {
  const TIniSection& main = source.MainSection();
  const std::vector<TSlideInfo>& timing = source.Slides();
  const size_t count = timing.size();
  std::vector<const TIniSection*> sections(count);
  FSlides.resize(count);
  for (size_t i = 0; i < count; ++i) {
    sections[i] = SlideSection(source.Document(), int(i));
    FSlides[i].Timing = timing[i];
    FSlides[i].SlideNumber = i + 1 == count ? 0 : int(i + 1);
  }

  TMusicOptionsReader reader(RandomSource());
  if (const TIniObject* music = FindChildObject(main, u"music")) {
    FFlags.UseMusic = true;
    FFlags.Random = false;
    FFlags.DisableRandom = main.ReadBool(u"opt_disablemusicrandom", false);
    reader.Read(music, {}, FFlags.DisableRandom, -1);
    if (reader.MusicDuration() > 0) FMainPlayList.Add(reader.MusicText(), reader.MusicDuration());
    FFlags.Repeat = reader.Repeat();
    FFlags.Synchronise = main.ReadBool(u"opt_syncmode", false);
    FFlags.LimitToSlide = !main.ReadBool(u"opt_fullyplaysound", false);

    // The music objects of the slides, and the first slide after each that brings a
    // sound comment of its own: an earlier comment may sound until that slide.
    std::vector<const TIniObject*> slideMusic(count);
    std::vector<size_t> nextComment(count + 1, count);
    for (size_t i = count; i-- > 0;) {
      slideMusic[i] = sections[i] ? FindChildObject(*sections[i], u"music") : nullptr;
      nextComment[i] = slideMusic[i] && HasSoundCommentFile(*slideMusic[i]) ? i : nextComment[i + 1];
    }
    const TSlideVideoSound videos(main, sections, timing);
    for (size_t i = 0; i < count; ++i) {
      if (!sections[i]) {
        LogSlide(int(i), u"its section is missing; it brings no sound");
        continue;
      }
      TSlideMusicInfo& info = FSlides[i];
      const TExtraMusicItemArray extras = videos.ExtrasOf(i);
      if (slideMusic[i] || !extras.empty()) {
        const size_t reference = FFlags.LimitToSlide ? i : nextComment[i + 1] - 1;
        reader.SetLengthLimit(RoundMs(timing[reference].EndTime - timing[i].StartTime));
        reader.Read(slideMusic[i], extras, FFlags.DisableRandom, int(extras.size()) - 1);
        if (reader.CommentDuration() > 0) {
          info.Sound = reader.CommentText();
          info.SoundLength = reader.CommentDuration();
        }
      }
      if (FFlags.Synchronise || !HasPersonalPlayList(*sections[i])) continue;
      info.PersonalPlayList = std::make_unique<TPlayList>();
      if (!slideMusic[i]) continue;
      info.PersonalPlayList->Repeat = reader.Repeat();
      if (reader.MusicDuration() > 0) info.PersonalPlayList->Add(reader.MusicText(), reader.MusicDuration());
    }
  } else {
    FFlags.UseMusic = main.ReadBool(u"opt_usemusic", false);
    if (FFlags.UseMusic) {
      FFlags.Synchronise = main.ReadBool(u"opt_syncmode", false);
      FFlags.Repeat = main.ReadBool(u"opt_repeatmusic", true);
      FFlags.Random = main.ReadBool(u"opt_rndmusic", false);
      FFlags.LimitToSlide = !main.ReadBool(u"opt_fullyplaysound", false);
      for (size_t i = 0; i < count; ++i) {
        if (!sections[i]) {
          LogSlide(int(i), u"its section is missing; it brings no sound");
          continue;
        }
        const TIniSection& section = *sections[i];
        TSlideMusicInfo& info = FSlides[i];
        std::u16string sound = section.ReadString(u"Sound", u"");
        if (sound == u"@") sound.clear();
        if (!sound.empty()) {
          // Without a length of its own a sound plays as long as its file.
          double length = section.ReadInteger(u"SoundLength", -1);
          if (length < 0 && soundLength) length = soundLength(sound);
          if (length >= 0 && std::isfinite(length)) {
            if (FFlags.LimitToSlide) length = std::min(length, timing[i].EndTime - timing[i].StartTime);
            info.Sound = std::move(sound);
            info.SoundLength = length;
          } else {
            LogSlide(int(i), u"the length of \"" + sound + u"\" is not known; it is left out");
          }
        }
        if (FFlags.Synchronise || !HasPersonalPlayList(section)) continue;
        info.PersonalPlayList = std::make_unique<TPlayList>();
        info.PersonalPlayList->Repeat = FFlags.Repeat;
        const std::u16string where = u"slide " + IntToText(int64_t(i) + 1) + u": ";
        const int32_t files = EntryCount(section, u"MusicCount", where);
        for (int32_t k = 1; k <= files; ++k)
          AddListFile(*info.PersonalPlayList, section.ReadString(u"SubMusic" + IntToText(k), u""),
                      section.ReadInteger(u"SubMusicLength" + IntToText(k), -1),
                      where + u"\"SubMusic" + IntToText(k) + u"\"");
      }
      const int32_t files = EntryCount(main, u"opt_music_count", u"");
      for (int32_t k = 1; k <= files; ++k)
        AddListFile(FMainPlayList, main.ReadString(u"opt_music" + IntToText(k), u""),
                    main.ReadInteger(u"opt_lengthlist" + IntToText(k), 0), u"\"opt_music" + IntToText(k) + u"\"");
    }
  }
  // Synchronised music that would not end before the show does plays once.
  if (FFlags.Synchronise && FFlags.Repeat && FMainPlayList.TotalLength() + kSyncRepeatMargin > FShowDuration)
    FFlags.Repeat = false;
  FMainPlayList.Repeat = FFlags.Repeat;
}

}  // namespace kiv
