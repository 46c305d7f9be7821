#include "engine/shown_slides.h"

namespace kiv {

std::optional<TShownSlides> ShownSlidesAt(const TSlideList& slides, double time) {
  for (size_t i = slides.size(); i-- > 0;) {
    const TSlideInfo& current = slides[i]->Timing();
    if (time < current.StartTime) continue;
    if (i > 0 && current.EffectInTime > 0) {
      // The slide before stays on screen until the change into this one is over.
      const TSlideInfo& previous = slides[i - 1]->Timing();
      if (previous.StartTime <= time && time <= previous.TotalEnd) return TShownSlides{i - 1, i};
    }
    return TShownSlides{i, i};
  }
  return std::nullopt;
}

}  // namespace kiv
