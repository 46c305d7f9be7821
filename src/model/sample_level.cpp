#include "model/sample_level.h"

#include <algorithm>

#include "graphics/bitmap_store.h"

namespace kiv {

int SampleLevel(double pictureWidth, double pictureHeight, double shownWidth, double shownHeight) {
  const double neededWidth = std::max(shownWidth, 1.0);
  const double neededHeight = std::max(shownHeight, 1.0);
  int level = 0;
  // Written so that a size that is not a number keeps the full picture.
  while (level < TBitmapStore::kMaxMipLevel && pictureWidth / 2 >= neededWidth && pictureHeight / 2 >= neededHeight) {
    pictureWidth /= 2;
    pictureHeight /= 2;
    ++level;
  }
  return level;
}

}  // namespace kiv
