#pragma once
// What the drawer keeps for one picture object: the picture's tiles, one set per level
// and animation grid it was drawn with, each under the key "MultiTexID: " + level + ":"
// + columns + ":" + rows. The tiles go back to their pools with the store.
#include <memory>
#include <string>
#include <vector>

#include "graphics/bitmap_store.h"
#include "render/drawer/device_drawer.h"
#include "render/screen/multi_texture6.h"

namespace kiv {

class TTextureManager6;

std::string TextureKey(int level, int columns, int rows);

// The cell of frame (counted row by row, clamped to the grid) in a picture of width x
// height cut into columns x rows cells as the tiles cut it: cells are width div columns
// wide and height div rows high, the last column and row taking what is left.
TRectF AnimationFrame(int width, int height, int columns, int rows, int frame);

// picture at level (0 … 3) in a layout tiles are filled from: the picture's own level
// when it decodes that level, else halved from the smallest level it decodes. Null when
// the picture cannot be decoded (logged).
std::shared_ptr<const TBitmap> PictureAtLevel(const TBitmapStore& picture, int level);

struct TTextureWrapper {
  std::string Key;
  const TBitmapStore* Picture = nullptr;
  std::unique_ptr<TMultiTexture6> Texture;  // null: the picture cannot be shown
};

class TTextureStore : public TImageStore {
 public:
  // The tiles of picture at level cut into a columns x rows grid, made at the first
  // request; a picture the store held under the same key before is replaced. Null when
  // the picture cannot be shown.
  TMultiTexture6* Take(TTextureManager6& tiles, const TBitmapStore& picture, int level, int columns, int rows);
  const std::vector<TTextureWrapper>& Wrappers() const { return FWrappers; }

 private:
  std::vector<TTextureWrapper> FWrappers;
};

}  // namespace kiv
