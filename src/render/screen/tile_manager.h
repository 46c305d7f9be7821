#pragma once
// A pool of textures of one tile size. Tiles given back wait in a free list and are
// handed out again, the most recently freed first.
#include <memory>
#include <vector>

#include "render/screen/texture_tile.h"

namespace kiv {

class TTileManager {
 public:
  TTileManager(T3DScreen& screen, int tileWidth, int tileHeight);
  ~TTileManager();

  int TileWidth() const { return FTileWidth; }
  int TileHeight() const { return FTileHeight; }
  // A manager whose texture could not be made stays out of the choice as long as the
  // renderer it failed with; its tiles already out keep working.
  bool Disabled() const;

  // A tile showing width x height pixels of source from (x, y); null when a new tile
  // cannot get its device texture, which disables the manager.
  TTextureTile* TakeTile(const IPixelSource& source, int x, int y, int width, int height);
  void ReturnTile(TTextureTile* tile);

  size_t TileCount() const { return FTiles.size(); }
  size_t FreeCount() const { return FFree.size(); }

 private:
  T3DScreen& FScreen;
  int FTileWidth;
  int FTileHeight;
  bool FFailed = false;
  uint64_t FFailedWith = 0;  // the screen's renderer generation at the failure
  std::vector<std::unique_ptr<TTextureTile>> FTiles;
  std::vector<TTextureTile*> FFree;
};

}  // namespace kiv
