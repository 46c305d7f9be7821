#include "render/screen/texture_tile.h"

#include <vector>

#include "base/errors.h"

namespace kiv {

TTextureTile::TTextureTile(T3DScreen& screen, TTileManager& manager) : TCustomTexture(screen), FManager(manager) {}

void TTextureTile::Assign(const IPixelSource* source, int x, int y, int width, int height) {
  FSource = source;
  FSourceX = x;
  FSourceY = y;
  FUsedWidth = width;
  FUsedHeight = height;
  Refresh();
}

void TTextureTile::Paint(TBitmap& target) {
  if (!FSource) return;
  const int size = FSource->PixelSize();
  KIV_ASSERT(size == 4 || size == 3);
  std::vector<uint8_t> row(size_t(FUsedWidth) * size_t(size));
  for (int y = 0; y < FUsedHeight; ++y) {
    FSource->GetPixels(FSourceX, FSourceY + y, FUsedWidth, row.data(), row.size());
    uint8_t* out = target.Row(y);
    for (int x = 0; x < FUsedWidth; ++x) {
      const uint8_t* in = row.data() + size_t(x) * size_t(size);
      out[4 * x] = in[0];
      out[4 * x + 1] = in[1];
      out[4 * x + 2] = in[2];
      out[4 * x + 3] = size == 4 ? in[3] : 255;
    }
  }
}

}  // namespace kiv
