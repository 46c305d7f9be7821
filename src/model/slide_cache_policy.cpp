#include "model/slide_cache_policy.h"

#include <algorithm>

namespace kiv {

TSlideCachePolicy::TSlideCachePolicy(const TKivSource& source, int lookAhead)
    : FSource(source), FFinder(source), FLookAhead(std::clamp(lookAhead, 1, kMaxLookAhead)) {}

TCacheWindow TSlideCachePolicy::WantedWindow(TVisibleSlides visible) const {
  const int ahead = std::max(visible.First + FLookAhead - 1, visible.Last);
  return {visible.First, std::min(ahead, std::max(LastReachableIndex(FSource), visible.First))};
}

TSlideCacheStep TSlideCachePolicy::Update(double time, std::span<const int> held) {
  const TCacheWindow window = WantedWindow(VisibleSlides(time));
  TSlideCacheStep step;
  size_t left = held.size();
  for (int index : held) {
    if (window.Contains(index) || left == 1) continue;
    step.Dropped.push_back(index);
    --left;
  }
  for (int index = window.First; index <= window.Last; ++index)
    if (std::find(held.begin(), held.end(), index) == held.end()) {
      step.Added = index;
      break;
    }
  return step;
}

}  // namespace kiv
