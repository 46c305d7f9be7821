#pragma once
// One pooled texture of a tile size, showing a part of a picture in its top-left corner.
#include "render/screen/custom_texture.h"
#include "render/screen/pixel_source.h"

namespace kiv {

class TTileManager;

class TTextureTile : public TCustomTexture {
 public:
  TTextureTile(T3DScreen& screen, TTileManager& manager);

  TTileManager& Manager() const { return FManager; }
  int UsedWidth() const { return FUsedWidth; }
  int UsedHeight() const { return FUsedHeight; }
  // Shows width x height pixels of source (not owned) from (x, y) on; a tile that has a
  // device texture is filled again at once.
  void Assign(const IPixelSource* source, int x, int y, int width, int height);

 protected:
  void Paint(TBitmap& target) override;

 private:
  TTileManager& FManager;
  const IPixelSource* FSource = nullptr;
  int FSourceX = 0;
  int FSourceY = 0;
  int FUsedWidth = 0;
  int FUsedHeight = 0;
};

}  // namespace kiv
