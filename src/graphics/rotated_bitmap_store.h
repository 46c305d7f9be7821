#pragma once
// Pictures that a camera stored turned: a store that hands out every level of another
// store turned upright, as the picture's orientation tag (EXIF values) asks.
#include <memory>

#include "graphics/bitmap_store.h"

namespace kiv {

class TRotatedBitmapStore : public TBitmapStore {
 public:
  // orientation 3: turned half round; 6: must be turned 90° clockwise to stand upright;
  // 8: 90° counter-clockwise. Width and height trade places for 6 and 8.
  TRotatedBitmapStore(std::shared_ptr<TBitmapStore> inner, int orientation);
  int LevelCount() const override { return FInner->LevelCount(); }
  const char* ClassName() const override { return "TRotatedBitmapStore"; }

 protected:
  std::unique_ptr<TBitmap> DecodeLevel(int level) override;

 private:
  std::shared_ptr<TBitmapStore> FInner;
  int FOrientation;
};

// inner turned upright for an orientation tag: wrapped for 3, 6 and 8; inner itself
// for 1 and any other value.
std::shared_ptr<TBitmapStore> UprightBitmapStore(std::shared_ptr<TBitmapStore> inner, int orientation);

}  // namespace kiv
