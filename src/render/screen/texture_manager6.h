#pragma once
// Six tile pools of fixed sizes that pictures are placed into. A piece of a picture takes
// the tile size that covers most of it, then the one that wastes least, then the first
// in this order: 256 x 256, 128 x 256, 64 x 256, 256 x 128, 256 x 64, 64 x 64.
#include <array>
#include <memory>
#include <vector>

#include "render/screen/tile_manager.h"

namespace kiv {

class TMultiTexture6;

struct TTileSize {
  int Width;
  int Height;
};

inline constexpr std::array<TTileSize, 6> kTileSizes = {{{256, 256}, {128, 256}, {64, 256}, {256, 128}, {256, 64}, {64, 64}}};
inline constexpr int kLargestTileSide = 256;

// The index in sizes of the best tile for a piece of width x height; -1 when sizes is
// empty. available[i] false leaves size i out.
int ChooseTileSize(const std::vector<TTileSize>& sizes, const std::vector<bool>& available, int width, int height);

class TTextureManager6 {
 public:
  explicit TTextureManager6(T3DScreen& screen);
  // Logs "Error: Multi Textures Count = " when pictures still hold tiles; they lose them.
  ~TTextureManager6();

  T3DScreen& Screen() const { return FScreen; }
  // The manager chosen for a piece of width x height, -1 when every one is disabled.
  int ChooseManager(int width, int height) const;
  TTileManager& Manager(int index) { return *FManagers[size_t(index)]; }
  // A tile for width x height pixels of source from (x, y), its used size cut to the tile;
  // null when no manager can make one.
  TTextureTile* TakeTile(const IPixelSource& source, int x, int y, int width, int height);

  void Register(TMultiTexture6* picture) { FPictures.push_back(picture); }
  void Unregister(TMultiTexture6* picture);
  int MultiTextureCount() const { return int(FPictures.size()); }

 private:
  T3DScreen& FScreen;
  std::vector<std::unique_ptr<TTileManager>> FManagers;
  std::vector<TMultiTexture6*> FPictures;
};

}  // namespace kiv
