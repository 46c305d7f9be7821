#pragma once
// Where one slide lies on the show clock (ms, 0 at the start of the first slide).
#include <string>

namespace kiv {

struct TSlideInfo {
  double StartTime = 0;      // end of the previous slide
  double EndTime = 0;        // the slide advances here
  double EffectInTime = 0;   // transition into this slide, at most EndTime - StartTime
  double EffectOutTime = 0;  // transition into the next slide
  double TotalEnd = 0;       // EndTime + EffectOutTime: the slide has left the screen
  std::u16string SlideId;
};

// A slide's record shifted to the round of the show it is played in.
struct TSlideTiming {
  TSlideInfo Info;
  int LoopCount = 0;  // completed rounds before it; -1 for the records before the show
};

}  // namespace kiv
