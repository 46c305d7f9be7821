#include "engine/slide_navigation.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "model/kiv_source.h"

namespace kiv {

namespace {

constexpr double kRestartWindow = 500;  // ms after a slide was fully shown

int WholeMs(double time) { return int(std::lround(std::clamp(time, double(INT_MIN), double(INT_MAX)))); }

bool Repeats(const TKivSource& source) { return source.EndMode() == TEndMode::Repeat; }

// The slide shown at time; past the end of a show that does not repeat, its last slide.
int64_t ShownSlide(const TKivSource& source, double time) {
  const int64_t slide = std::max(0, source.SlideAt(time));
  return Repeats(source) ? slide : std::min<int64_t>(slide, source.SlideCount() - 1);
}

// The moment the transition into a slide is over; the show's start for the first slide.
double FullyShown(const TKivSource& source, int64_t index) {
  if (index <= 0) return 0;
  const TSlideInfo info = source.SlideTiming(int(index)).Info;
  return info.StartTime + info.EffectInTime;
}

}  // namespace

int SlideStartTime(const TKivSource& source, int index) {
  if (source.SlideCount() == 0) return 0;
  index = std::max(0, index);
  const TSlideInfo info = source.SlideTiming(index).Info;
  const bool endOfShow = index == source.SlideCount() && !Repeats(source);
  return WholeMs(info.StartTime) + (info.EffectInTime == 0 && !endOfShow ? 1 : 0);
}

int NextSlideTime(const TKivSource& source, double time, bool paused) {
  if (source.SlideCount() == 0) return 0;
  const int64_t shown = ShownSlide(source, time);
  // One round and a slide on from the slide shown, a repeating show has moved past any
  // time within it; a show without length never does, so the search stops there.
  const int64_t last = Repeats(source) ? std::min<int64_t>(INT_MAX, shown + source.SlideCount() + 1) : source.SlideCount() - 1;
  int64_t index = std::min(shown, last);
  while (index < last && source.SlideTiming(int(index)).Info.StartTime <= time) ++index;
  const TSlideInfo info = source.SlideTiming(int(index)).Info;
  if (info.EffectInTime > 0) return WholeMs(info.StartTime + (paused ? info.EffectInTime : 0));
  return WholeMs(info.StartTime) + 1;
}

int PrevSlideTime(const TKivSource& source, double time) {
  if (source.SlideCount() == 0) return 0;
  const int64_t current = ShownSlide(source, time);
  const double shown = FullyShown(source, current);
  if (time - shown >= kRestartWindow) return WholeMs(shown);
  return WholeMs(FullyShown(source, current - 1));
}

int CurrentSlideIndex(const TKivSource& source, double position) {
  if (source.SlideCount() == 0) return 0;
  return int(ShownSlide(source, position));
}

int StartPositionTime(const TKivSource& source, int value, bool isTime) {
  if (isTime) return value;
  return value > 0 ? SlideStartTime(source, value) : 0;
}

}  // namespace kiv
