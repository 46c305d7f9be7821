#pragma once
// The sound of a show as its music player plays it, read once when the show opens: the
// main playlist, one TSlideMusicInfo per slide and the music options.
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "music/slide_music_info.h"
#include "sound/play_list.h"

namespace kiv {

class TKivSource;

struct TMusicFlags {
  bool UseMusic = false;
  bool Synchronise = false;   // "opt_syncmode": the show follows the music
  bool Repeat = false;
  bool Random = false;
  bool LimitToSlide = false;  // a slide's sound stops with its slide
  bool DisableRandom = false;
};

// The length of a sound of the show in ms, below 0 when it is not known.
using TSoundLengthFn = std::function<double(std::u16string_view name)>;

class TKivMusicSource {
 public:
  // Reads the show's music keys and music objects. A bad entry is dropped (and logged
  // once); the rest of the show's sound still plays. soundLength gives the length of a
  // slide sound whose length the show does not give; without it such a sound is dropped.
  // Random tracks draw from the process-wide source of chance.
  explicit TKivMusicSource(const TKivSource& source, const TSoundLengthFn& soundLength = {});
  // A source made of its parts (tests, and shows described another way).
  TKivMusicSource(std::vector<TSlideMusicInfo> slides, TPlayList mainPlayList, TMusicFlags flags, double showDuration,
                  bool loops)
      : FSlides(std::move(slides)),
        FMainPlayList(std::move(mainPlayList)),
        FFlags(flags),
        FShowDuration(showDuration),
        FLoops(loops) {}

  int SlideCount() const { return int(FSlides.size()); }
  const TSlideMusicInfo& SlideInfo(int index) const { return FSlides[size_t(index)]; }
  // End of the last slide, ms.
  double ShowDuration() const { return FShowDuration; }
  const TPlayList& MainPlayList() const { return FMainPlayList; }
  const TMusicFlags& Flags() const { return FFlags; }
  // The show starts again after its last slide: slide times wrap by whole show lengths.
  bool Loops() const { return FLoops; }

 private:
  std::vector<TSlideMusicInfo> FSlides;
  TPlayList FMainPlayList;
  TMusicFlags FFlags;
  double FShowDuration = 0;
  bool FLoops = false;
};

}  // namespace kiv
