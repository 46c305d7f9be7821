#include "model/anim_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kiv {

TAnimGrid::TAnimGrid(const TAnimKeys& keys)
    : FColumns(std::max(keys.Columns, 1)),
      FRows(std::max(keys.Rows, 1)),
      FRepCount(keys.RepCount),
      FOffset(std::isfinite(keys.Offset) ? keys.Offset : 0) {
  const int64_t cells = std::min<int64_t>(int64_t(FColumns) * FRows, std::numeric_limits<int32_t>::max());
  FFrameCount = int32_t(keys.Count > 0 ? std::min<int64_t>(keys.Count, cells) : cells);

  const size_t given = std::min(keys.Intervals.size(), size_t(FFrameCount));
  int64_t end = 0;
  for (size_t i = 0; i < given; ++i) {
    end += std::max(keys.Intervals[i], 0);
    FGivenEnds.push_back(end);
  }
  FTailInterval = keys.Intervals.empty() ? kDefaultInterval : std::max(keys.Intervals.back(), 0);
  FCycle = end + (FFrameCount - int64_t(given)) * FTailInterval;
}

int64_t TAnimGrid::FrameDuration(int32_t frame) const {
  if (frame < 0 || frame >= FFrameCount) return 0;
  if (size_t(frame) >= FGivenEnds.size()) return FTailInterval;
  return FGivenEnds[size_t(frame)] - (frame > 0 ? FGivenEnds[size_t(frame) - 1] : 0);
}

int32_t TAnimGrid::FrameInCycle(int64_t position) const {
  const auto given = std::upper_bound(FGivenEnds.begin(), FGivenEnds.end(), position);
  if (given != FGivenEnds.end()) return int32_t(given - FGivenEnds.begin());
  // Past the frames with their own interval the tail is uniform, so FTailInterval > 0 here.
  const int64_t tailStart = FGivenEnds.empty() ? 0 : FGivenEnds.back();
  return int32_t(FGivenEnds.size() + size_t((position - tailStart) / FTailInterval));
}

int32_t TAnimGrid::FrameAt(double time) const {
  const double position = std::floor(time + FOffset);
  if (!std::isfinite(position) || position < 0 || FCycle <= 0) return 0;
  if (FRepCount > 0 && position >= double(FCycle) * FRepCount) return FFrameCount - 1;
  return FrameInCycle(int64_t(std::fmod(position, double(FCycle))));
}

}  // namespace kiv
