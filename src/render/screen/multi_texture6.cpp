#include "render/screen/multi_texture6.h"

#include <algorithm>

#include "base/errors.h"
#include "render/screen/screen_3d.h"
#include "render/screen/texture_manager6.h"
#include "render/screen/tile_bitmap.h"

namespace kiv {

TMultiTexture6::TMultiTexture6(TTextureManager6& manager, std::shared_ptr<const TBitmap> bitmap, const TRect& rect,
                               int columns, int rows)
    : FManager(&manager), FBitmap(std::move(bitmap)), FRect(rect) {
  KIV_ASSERT(FBitmap && !rect.IsEmpty());
  manager.Register(this);
  if (columns == 1 && rows == 1 && rect.Width() <= kLargestTileSide && rect.Height() <= kLargestTileSide) {
    FView = std::make_unique<TCroppedBitmap>(*FBitmap, rect);
    TTextureTile* tile = manager.TakeTile(*FView, 0, 0, rect.Width(), rect.Height());
    FComplete = tile != nullptr;
    if (tile) FTiles.push_back({tile, {0, 0, rect.Width(), rect.Height()}, 0, 0});
    return;
  }
  auto view = std::make_unique<TTileBitmap>(*FBitmap, rect, columns, rows);
  const TTileBitmap& pieces = *view;
  FView = std::move(view);
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < columns; ++column) {
      const TRect area = pieces.PieceWithApron(column, row);
      const TRect piece = pieces.Piece(column, row);
      // View pixel (vx, vy) shows picture pixel (vx - offsetX, vy - offsetY) in this piece.
      Cover(area.Left, area.Top, area.Width(), area.Height(), area.Left + 1 - piece.Left, area.Top + 1 - piece.Top);
    }
}

TMultiTexture6::~TMultiTexture6() {
  if (!FManager) return;
  for (const TPlacedTile& placed : FTiles) placed.Tile->Manager().ReturnTile(placed.Tile);
  FManager->Unregister(this);
}

void TMultiTexture6::ManagerGone() {
  FManager = nullptr;
  FTiles.clear();
}

void TMultiTexture6::Cover(int x, int y, int width, int height, int pictureOffsetX, int pictureOffsetY) {
  if (width <= 2 || height <= 2) return;
  TTextureTile* tile = FManager->TakeTile(*FView, x, y, width, height);
  if (!tile) {
    FComplete = false;
    return;
  }
  const int usedWidth = tile->UsedWidth();
  const int usedHeight = tile->UsedHeight();
  const TRect drawn{x + 1 - pictureOffsetX, y + 1 - pictureOffsetY, x + usedWidth - 1 - pictureOffsetX,
                    y + usedHeight - 1 - pictureOffsetY};
  FTiles.push_back({tile, drawn, 1, 1});
  // The next tiles start on this one's last drawn pixel, which becomes their apron.
  if (usedWidth < width) Cover(x + usedWidth - 2, y, width - usedWidth + 2, usedHeight, pictureOffsetX, pictureOffsetY);
  if (usedHeight < height)
    Cover(x, y + usedHeight - 2, width, height - usedHeight + 2, pictureOffsetX, pictureOffsetY);
}

void TMultiTexture6::Draw(const TRectF& source, const TVector3& origin, const TVector3& xAxis,
                          const TVector3& yAxis, uint32_t colour, const TEdgeMask& edgeMask) {
  if (!FManager || source.IsEmpty()) return;
  T3DScreen& screen = FManager->Screen();
  const uint32_t alpha = ((colour >> 24) * FOpacity + 127) / 255;
  const uint32_t shaded = (colour & 0x00FFFFFF) | alpha << 24;
  const TCornerColours colours = {shaded, shaded, shaded, shaded};
  for (const TPlacedTile& placed : FTiles) {
    const TRectF part{std::max(source.Left, float(placed.Picture.Left)), std::max(source.Top, float(placed.Picture.Top)),
                      std::min(source.Right, float(placed.Picture.Right)),
                      std::min(source.Bottom, float(placed.Picture.Bottom))};
    if (part.IsEmpty()) continue;
    const TVector3 partOrigin = origin + xAxis * ((part.Left - source.Left) / source.Width()) +
                                yAxis * ((part.Top - source.Top) / source.Height());
    const TVector3 partX = xAxis * (part.Width() / source.Width());
    const TVector3 partY = yAxis * (part.Height() / source.Height());
    const float texelX = float(placed.TexelLeft) - float(placed.Picture.Left);
    const float texelY = float(placed.TexelTop) - float(placed.Picture.Top);
    const TRectF texels{part.Left + texelX, part.Top + texelY, part.Right + texelX, part.Bottom + texelY};
    // Only the outer edges of the part drawn are softened.
    const TEdgeMask mask = {uint8_t(edgeMask[0] && part.Left == source.Left),
                            uint8_t(edgeMask[1] && part.Top == source.Top),
                            uint8_t(edgeMask[2] && part.Right == source.Right),
                            uint8_t(edgeMask[3] && part.Bottom == source.Bottom)};
    screen.DrawQuad(placed.Tile, partOrigin, partX, partY, texels, colours, mask);
  }
}

}  // namespace kiv
