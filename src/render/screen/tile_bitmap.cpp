#include "render/screen/tile_bitmap.h"

#include <algorithm>
#include <cstring>

#include "base/errors.h"

namespace kiv {

TTileBitmap::TTileBitmap(const TBitmap& bitmap, const TRect& rect, int columns, int rows)
    : FBitmap(bitmap), FRect(rect), FColumns(columns), FRows(rows) {
  KIV_ASSERT(columns > 0 && rows > 0 && rect.Width() >= columns && rect.Height() >= rows);
  KIV_ASSERT(Intersection(rect, {0, 0, bitmap.Width(), bitmap.Height()}) == rect);
  FPieceWidth = rect.Width() / columns;
  FPieceHeight = rect.Height() / rows;
}

TRect TTileBitmap::Piece(int column, int row) const {
  const int left = column * FPieceWidth;
  const int top = row * FPieceHeight;
  const int right = column == FColumns - 1 ? FRect.Width() : left + FPieceWidth;
  const int bottom = row == FRows - 1 ? FRect.Height() : top + FPieceHeight;
  return {left, top, right, bottom};
}

TRect TTileBitmap::PieceWithApron(int column, int row) const {
  const TRect piece = Piece(column, row);
  return {piece.Left + 2 * column, piece.Top + 2 * row, piece.Right + 2 * column + 2, piece.Bottom + 2 * row + 2};
}

int TTileBitmap::ToPicture(int viewCoordinate, int pieceSize, int pieces, int pictureSize) {
  // Each piece takes pieceSize + 2 view pixels; the last one takes the rest.
  const int piece = std::min(pieces - 1, viewCoordinate / (pieceSize + 2));
  const int inside = viewCoordinate - piece * (pieceSize + 2) - 1;
  return std::clamp(piece * pieceSize + inside, 0, pictureSize - 1);
}

void TTileBitmap::GetPixels(int x, int y, int count, uint8_t* buffer, size_t bufferSize) const {
  CheckPixelRequest("TTileBitmap", *this, x, y, count, bufferSize);
  const int size = PixelSize();
  const uint8_t* row =
      FBitmap.Row(FRect.Top + ToPicture(y, FPieceHeight, FRows, FRect.Height())) + size_t(FRect.Left) * size;
  for (int i = 0; i < count; ++i) {
    const int source = ToPicture(x + i, FPieceWidth, FColumns, FRect.Width());
    std::memcpy(buffer + size_t(i) * size, row + size_t(source) * size, size_t(size));
  }
}

}  // namespace kiv
