#include "render/screen/tile_manager.h"

#include <algorithm>

#include "render/screen/screen_3d.h"

namespace kiv {

TTileManager::TTileManager(T3DScreen& screen, int tileWidth, int tileHeight)
    : FScreen(screen), FTileWidth(tileWidth), FTileHeight(tileHeight) {}

TTileManager::~TTileManager() = default;

bool TTileManager::Disabled() const { return FFailed && FFailedWith == FScreen.RendererGeneration(); }

TTextureTile* TTileManager::TakeTile(const IPixelSource& source, int x, int y, int width, int height) {
  if (!FFree.empty()) {
    TTextureTile* tile = FFree.back();
    FFree.pop_back();
    tile->Assign(&source, x, y, width, height);
    return tile;
  }
  auto tile = std::make_unique<TTextureTile>(FScreen, *this);
  tile->SetSize(FTileWidth, FTileHeight);
  tile->Assign(&source, x, y, width, height);
  // Without a usable renderer the device texture comes later; with one it must come now.
  if (FScreen.IsReady() && !tile->GetTexture()) {
    FFailed = true;
    FFailedWith = FScreen.RendererGeneration();
    return nullptr;
  }
  FFailed = false;
  FTiles.push_back(std::move(tile));
  return FTiles.back().get();
}

void TTileManager::ReturnTile(TTextureTile* tile) {
  tile->Assign(nullptr, 0, 0, 0, 0);
  FFree.push_back(tile);
}

}  // namespace kiv
