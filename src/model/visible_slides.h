#pragma once
// Which slides are on screen at a show time: one, or two while the transition from one
// to the next runs.
#include "model/kiv_source.h"

namespace kiv {

struct TVisibleSlides {
  int First = 0;  // -1: the lead-in before the first slide
  int Last = 0;   // First + 1 during a transition, else First
  bool operator==(const TVisibleSlides&) const = default;
};

// The highest slide index the show can reach: the last slide unless the show repeats
// (a show without length never gets past its last slide). Room is left above it for a
// cache window, so index arithmetic never overflows.
int LastReachableIndex(const TKivSource& source);

class TVisibleSlideFinder {
 public:
  // The source is kept, not owned.
  explicit TVisibleSlideFinder(const TKivSource& source) : FSource(source) {}

  // The slide whose time span (to its TotalEnd) holds time, searched from the slide
  // found last; when the next slide has started too, both. Times are rounded to whole
  // ms. A show without slides fails with "No Slides in Presentation".
  TVisibleSlides VisibleSlides(double time);

 private:
  double TotalEnd(int index) const;
  // Where the search starts: the slide found last, or for a far jump the slide that
  // covers the time, so that seeking far costs no more than playing on.
  int SearchStart(double time) const;

  const TKivSource& FSource;
  int FIndex = 0;
};

}  // namespace kiv
