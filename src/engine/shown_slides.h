#pragma once
// Which entries of the engine's slide list are on screen at a show time: the newest
// slide that has begun and, while the change into it runs, the slide it replaces.
#include <cstddef>
#include <optional>

#include "engine/slide_entry.h"

namespace kiv {

struct TShownSlides {
  size_t Outgoing = 0;  // equal to Current when one slide shows alone
  size_t Current = 0;
  bool Changing() const { return Outgoing != Current; }
};

// None when no slide of the list has begun at time.
std::optional<TShownSlides> ShownSlidesAt(const TSlideList& slides, double time);

}  // namespace kiv
