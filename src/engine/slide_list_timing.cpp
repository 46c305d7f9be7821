#include "engine/slide_list_timing.h"

#include <algorithm>

namespace kiv {

bool SlideListCovers(const TSlideList& slides, double time, int cachedCount) {
  if (slides.empty() || int(slides.size()) < cachedCount) return false;
  return slides.front()->Timing().StartTime <= time && time <= slides.back()->Timing().EndTime;
}

bool SlideListDrawable(const TSlideList& slides, double time) {
  return std::any_of(slides.begin(), slides.end(), [&](const std::shared_ptr<IKivSlideEntry>& slide) {
    const TSlideInfo& timing = slide->Timing();
    return timing.StartTime <= time && time <= timing.TotalEnd;
  });
}

}  // namespace kiv
