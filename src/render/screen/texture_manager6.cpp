#include "render/screen/texture_manager6.h"

#include <algorithm>

#include "base/log.h"
#include "render/screen/multi_texture6.h"

namespace kiv {

int ChooseTileSize(const std::vector<TTileSize>& sizes, const std::vector<bool>& available, int width, int height) {
  int best = -1;
  int64_t bestCovered = -1;
  int64_t bestWaste = 0;
  for (size_t i = 0; i < sizes.size(); ++i) {
    if (!available[i]) continue;
    const int64_t covered = int64_t(std::min(width, sizes[i].Width)) * std::min(height, sizes[i].Height);
    const int64_t waste = int64_t(sizes[i].Width) * sizes[i].Height - covered;
    if (covered > bestCovered || (covered == bestCovered && waste < bestWaste)) {
      best = int(i);
      bestCovered = covered;
      bestWaste = waste;
    }
  }
  return best;
}

TTextureManager6::TTextureManager6(T3DScreen& screen) : FScreen(screen) {
  for (const TTileSize& size : kTileSizes)
    FManagers.push_back(std::make_unique<TTileManager>(screen, size.Width, size.Height));
}

TTextureManager6::~TTextureManager6() {
  if (!FPictures.empty()) Log().WriteValue("Error: Multi Textures Count = ", int64_t(FPictures.size()));
  const std::vector<TMultiTexture6*> pictures = FPictures;
  FPictures.clear();
  for (TMultiTexture6* picture : pictures) picture->ManagerGone();
}

int TTextureManager6::ChooseManager(int width, int height) const {
  std::vector<TTileSize> sizes;
  std::vector<bool> available;
  for (const auto& manager : FManagers) {
    sizes.push_back({manager->TileWidth(), manager->TileHeight()});
    available.push_back(!manager->Disabled());
  }
  return ChooseTileSize(sizes, available, width, height);
}

TTextureTile* TTextureManager6::TakeTile(const IPixelSource& source, int x, int y, int width, int height) {
  // A manager that cannot make a tile disables itself; the choice goes on without it.
  for (int index = ChooseManager(width, height); index >= 0; index = ChooseManager(width, height)) {
    TTileManager& manager = *FManagers[size_t(index)];
    TTextureTile* tile = manager.TakeTile(source, x, y, std::min(width, manager.TileWidth()),
                                          std::min(height, manager.TileHeight()));
    if (tile) return tile;
  }
  return nullptr;
}

void TTextureManager6::Unregister(TMultiTexture6* picture) {
  FPictures.erase(std::remove(FPictures.begin(), FPictures.end(), picture), FPictures.end());
}

}  // namespace kiv
