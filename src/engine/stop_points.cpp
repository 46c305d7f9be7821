#include "engine/stop_points.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "model/kiv_source.h"

namespace kiv {

namespace {

TStopPoint NoStop(const TKivSource& source) {
  TStopPoint none;
  if (source.EndMode() != TEndMode::Repeat) none.Time = source.Duration();
  return none;
}

}  // namespace

TStopPoint FindStop(const TKivSource& source, double x, const TStopPoint& previous, bool enabled) {
  if (!enabled) return NoStop(source);
  const int count = source.SlideCount();
  const int64_t last = source.EndMode() == TEndMode::Repeat ? INT_MAX : count - 1;
  const int64_t first = previous.Found && x == previous.Time ? previous.Slide : std::max(0, source.SlideAt(x));
  for (int64_t i = first; i <= last && i < first + count; ++i) {
    const double end = source.SlideTiming(int(i)).Info.EndTime;
    if (!(x < end)) continue;
    const TSlideEndAction action = source.EndAction(int(i));
    if (action.Stops) return {true, int(i), end, action.LoopLength};
  }
  return NoStop(source);
}

TRunAppPoint FindRunApp(const TKivSource& source, double x, const TRunAppPoint& previous, bool enabled) {
  if (!enabled) return {};
  const int count = source.SlideCount();
  const int64_t first =
      previous.Slide >= 0 && x == previous.Time ? int64_t(previous.Slide) + 1 : std::max(0, source.SlideAt(x));
  for (int64_t i = first; i < first + count && i <= INT_MAX; ++i) {
    TRunApp app = source.RunAppOnSlide(int(i));
    if (!app.Run) continue;
    const double time = source.SlideTiming(int(i)).Info.StartTime + 1;
    if (time > x) return {int(i), time, std::move(app.FileName)};
  }
  return {};
}

}  // namespace kiv
