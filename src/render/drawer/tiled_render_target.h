#pragma once
// Render targets covering the whole screen in tiles. Each side of the screen is cut into
// powers of two, largest first, so that every tile is a texture of exactly its size.
#include <memory>
#include <vector>

#include "base/rect.h"
#include "render/drawer/render_target.h"

namespace kiv {

// The pieces a side of length side is cut into: the largest power of two that fits what
// is left (within minPiece … maxPiece) until the side is covered; two equal trailing
// pieces become one of twice the size when that is allowed.
std::vector<int> SplitSide(int side, int minPiece, int maxPiece);

struct TRenderTargetTile {
  TRect Rect;  // in screen pixels; may reach past the screen
  std::unique_ptr<TRenderTargetTexture> Texture;
};

// One screen-sized render target made of tiles.
class TTiledRenderTarget {
 public:
  // kind 0: opaque targets (X8R8G8B8); kind 1: targets with alpha (A8R8G8B8).
  TTiledRenderTarget(T3DScreen& screen, int kind);

  // Covers width x height with tiles no larger than maxSide; unchanged sizes keep the tiles.
  void SetSize(int width, int height, int maxSide);
  std::vector<TRenderTargetTile>& Tiles() { return FTiles; }

 private:
  T3DScreen& FScreen;
  TTextureKind FKind;
  int FWidth = 0;
  int FHeight = 0;
  std::vector<TRenderTargetTile> FTiles;
};

// The buffers of a masked group: its content (opaque) and its mask (with alpha), tile
// for tile.
struct TMaskBuffers {
  explicit TMaskBuffers(T3DScreen& screen) : Content(screen, 0), Mask(screen, 1) {}
  void SetSize(int width, int height, int maxSide) {
    Content.SetSize(width, height, maxSide);
    Mask.SetSize(width, height, maxSide);
  }

  TTiledRenderTarget Content;
  TTiledRenderTarget Mask;
};

}  // namespace kiv
