#include "model/visible_slides.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "base/errors.h"

namespace kiv {

namespace {

// Rounding to whole ms rounds ties to even (std::nearbyint in the default rounding mode).
double RoundedMs(double time) { return std::nearbyint(time); }

// Slides further apart than this are reached by a jump instead of step by step.
constexpr int kFarJump = 2;

}  // namespace

int LastReachableIndex(const TKivSource& source) {
  const bool repeats = source.EndMode() == TEndMode::Repeat && source.Duration() > 0;
  return repeats ? INT_MAX - 4 : source.SlideCount() - 1;
}

double TVisibleSlideFinder::TotalEnd(int index) const { return RoundedMs(FSource.SlideTiming(index).Info.TotalEnd); }

int TVisibleSlideFinder::SearchStart(double time) const {
  int covering = FSource.SlideAt(time);
  // SlideAt answers -1 also for a time beyond any countable round.
  if (covering < 0 && time > 0) covering = LastReachableIndex(FSource);
  return std::abs(int64_t(covering) - FIndex) > kFarJump ? covering : FIndex;
}

TVisibleSlides TVisibleSlideFinder::VisibleSlides(double time) {
  if (FSource.SlideCount() == 0) KIV_FAIL("No Slides in Presentation");
  const int last = LastReachableIndex(FSource);
  const double t = RoundedMs(time);
  if (std::isnan(t)) return {FIndex, FIndex};

  int r = std::min(SearchStart(t), last);
  while (r > -1 && t < TotalEnd(r - 1)) --r;
  while (r < last && TotalEnd(r) < t) ++r;
  FIndex = r;

  TVisibleSlides visible{r, r};
  if (r < last) {
    const TSlideInfo next = FSource.SlideTiming(r + 1).Info;
    if (t >= RoundedMs(next.StartTime) && RoundedMs(next.TotalEnd) >= t) visible.Last = r + 1;
  }
  return visible;
}

}  // namespace kiv
