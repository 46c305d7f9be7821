#pragma once
// A picture (a rectangle of a bitmap) held as tiles of a TTextureManager6. A picture
// that fits one tile is shown from a cropped view of the bitmap. Larger pictures, and
// pictures cut into a grid of pieces, are shown from a TTileBitmap: every tile carries a
// one-pixel apron around the part it draws, so neighbouring tiles meet without seams.
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/bitmap.h"
#include "render/screen/nine_grid.h"
#include "render/screen/pixel_source.h"

namespace kiv {

class TTextureManager6;
class TTextureTile;

struct TPlacedTile {
  TTextureTile* Tile;
  TRect Picture;  // the part of the picture it draws, relative to the picture's rectangle
  int TexelLeft;  // where Picture's top-left pixel lies in the tile
  int TexelTop;
};

class TMultiTexture6 {
 public:
  TMultiTexture6(TTextureManager6& manager, std::shared_ptr<const TBitmap> bitmap, const TRect& rect,
                 int columns = 1, int rows = 1);
  ~TMultiTexture6();
  TMultiTexture6(const TMultiTexture6&) = delete;
  TMultiTexture6& operator=(const TMultiTexture6&) = delete;

  int Width() const { return FRect.Width(); }
  int Height() const { return FRect.Height(); }
  uint8_t Opacity() const { return FOpacity; }
  void SetOpacity(uint8_t opacity) { FOpacity = opacity; }
  const std::vector<TPlacedTile>& Tiles() const { return FTiles; }
  // False when some part found no tile (it is not drawn).
  bool Complete() const { return FComplete; }

  // Draws the part source (picture pixels) onto origin + s * xAxis + t * yAxis (screen
  // pixels), in colour (0xAARRGGBB, its alpha scaled by the opacity); edges of the
  // part marked in edgeMask (left, top, right, bottom) are softened.
  void Draw(const TRectF& source, const TVector3& origin, const TVector3& xAxis, const TVector3& yAxis,
            uint32_t colour, const TEdgeMask& edgeMask);

  // The manager is going: the tiles are gone with it.
  void ManagerGone();

 private:
  // Covers the part of the view from (x, y) of width x height (apron ring included) with
  // tiles that overlap by the apron.
  void Cover(int x, int y, int width, int height, int pictureOffsetX, int pictureOffsetY);

  TTextureManager6* FManager;
  std::shared_ptr<const TBitmap> FBitmap;
  TRect FRect;
  std::unique_ptr<IPixelSource> FView;
  std::vector<TPlacedTile> FTiles;
  uint8_t FOpacity = 255;
  bool FComplete = true;
};

}  // namespace kiv
