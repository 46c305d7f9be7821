#pragma once
// Whether the slides the loader handed over are enough to run or to draw the show.
#include "engine/slide_entry.h"

namespace kiv {

// The list may carry the clock at time: it is complete (as long as the cache that made
// it) and reaches from before time to at least time.
bool SlideListCovers(const TSlideList& slides, double time, int cachedCount);

// Some slide of the list is on screen at time (from its start until it has left).
bool SlideListDrawable(const TSlideList& slides, double time);

}  // namespace kiv
