#pragma once
// A picture cut into columns x rows pieces, each carrying a one-pixel apron on every
// side: inside the picture the apron repeats the neighbouring piece's edge pixels, at
// the picture's border the piece's own edge. Tiles filled from it can then be drawn side
// by side with linear filtering and no seam shows.
//
// Pieces are width div columns wide (height div rows high); the last column and row
// take what is left over. The view is (width + 2 columns) x (height + 2 rows) pixels.
#include <vector>

#include "render/screen/pixel_source.h"

namespace kiv {

class TTileBitmap : public IPixelSource {
 public:
  // rect: the part of bitmap (not owned) to show.
  TTileBitmap(const TBitmap& bitmap, const TRect& rect, int columns, int rows);

  int Width() const override { return FRect.Width() + 2 * FColumns; }
  int Height() const override { return FRect.Height() + 2 * FRows; }
  int PixelSize() const override { return BytesPerPixel(FBitmap.Format()); }
  void GetPixels(int x, int y, int count, uint8_t* buffer, size_t bufferSize) const override;

  int Columns() const { return FColumns; }
  int Rows() const { return FRows; }
  // Piece (column, row) in picture pixels (relative to rect), without apron.
  TRect Piece(int column, int row) const;
  // The same piece in the view, apron included.
  TRect PieceWithApron(int column, int row) const;

 private:
  // View coordinate to picture coordinate (relative to rect) along one axis.
  static int ToPicture(int viewCoordinate, int pieceSize, int pieces, int pictureSize);

  const TBitmap& FBitmap;
  TRect FRect;
  int FColumns;
  int FRows;
  int FPieceWidth;
  int FPieceHeight;
};

}  // namespace kiv
