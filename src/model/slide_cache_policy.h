#pragma once
// Which prepared slides the slide cache keeps: the visible ones and those right after
// them, at most three, made one per call so that preparing never stalls a frame.
#include <optional>
#include <span>
#include <vector>

#include "model/visible_slides.h"

namespace kiv {

// The indexes the cache wants, First … Last.
struct TCacheWindow {
  int First = 0;
  int Last = 0;
  bool Contains(int index) const { return index >= First && index <= Last; }
  bool operator==(const TCacheWindow&) const = default;
};

// What one cache update does: drop these containers (front to back), then make this one.
struct TSlideCacheStep {
  std::vector<int> Dropped;
  std::optional<int> Added;
};

class TSlideCachePolicy {
 public:
  static constexpr int kMaxLookAhead = 3;

  // lookAhead: slides wanted from the first visible one on, clamped to 1 … 3. The source
  // is kept, not owned.
  TSlideCachePolicy(const TKivSource& source, int lookAhead);

  int LookAhead() const { return FLookAhead; }
  TVisibleSlides VisibleSlides(double time) { return FFinder.VisibleSlides(time); }

  // The look-ahead slides from the first visible one, and always the arriving slide of
  // a running transition (also with a look-ahead of 1); never past the last slide of a
  // show that does not repeat.
  TCacheWindow WantedWindow(TVisibleSlides visible) const;

  // held: the indexes in the cache, ascending. Containers outside the wanted window go,
  // except the last one left (something stays to draw while the next is made); then the
  // first wanted index not held is made. Fails like VisibleSlides for a show without slides.
  TSlideCacheStep Update(double time, std::span<const int> held);

 private:
  const TKivSource& FSource;
  TVisibleSlideFinder FFinder;
  int FLookAhead;
};

}  // namespace kiv
