#pragma once
// What one slide brings to the show's sound: its own sound (a file or a composite text:
// the sound comment with the sound of its video clips) and its personal playlist.
#include <memory>
#include <string>

#include "model/slide_info.h"
#include "sound/play_list.h"

namespace kiv {

struct TSlideMusicInfo {
  TSlideInfo Timing;        // the slide's record in the show's timing table
  int SlideNumber = 0;      // 1-based; 0 for the last slide
  std::u16string Sound;     // empty: no sound of its own
  double SoundLength = 0;   // ms
  std::unique_ptr<TPlayList> PersonalPlayList;  // none when the slide keeps the main music
};

}  // namespace kiv
