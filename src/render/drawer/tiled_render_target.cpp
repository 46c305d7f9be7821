#include "render/drawer/tiled_render_target.h"

#include <algorithm>

#include "render/screen/texture_size.h"

namespace kiv {

namespace {
// The smallest device texture side.
constexpr int kMinPiece = DeviceTextureSide(1);
}  // namespace

std::vector<int> SplitSide(int side, int minPiece, int maxPiece) {
  std::vector<int> pieces;
  for (int left = side; left > 0;) {
    int piece = minPiece;
    while (piece * 2 <= std::min(left, maxPiece)) piece *= 2;
    pieces.push_back(piece);
    left -= piece;
  }
  while (pieces.size() >= 2 && pieces.back() == pieces[pieces.size() - 2] && pieces.back() * 2 <= maxPiece) {
    pieces.pop_back();
    pieces.back() *= 2;
  }
  return pieces;
}

TTiledRenderTarget::TTiledRenderTarget(T3DScreen& screen, int kind)
    : FScreen(screen), FKind(kind == 0 ? TTextureKind::RenderTargetXrgb : TTextureKind::RenderTargetArgb) {}

void TTiledRenderTarget::SetSize(int width, int height, int maxSide) {
  if (width == FWidth && height == FHeight && !FTiles.empty()) return;
  FWidth = width;
  FHeight = height;
  FTiles.clear();
  const int largest = std::max(kMinPiece, maxSide);
  int top = 0;
  for (int rowHeight : SplitSide(height, kMinPiece, largest)) {
    int left = 0;
    for (int columnWidth : SplitSide(width, kMinPiece, largest)) {
      FTiles.push_back({{left, top, left + columnWidth, top + rowHeight},
                        std::make_unique<TRenderTargetTexture>(FScreen, FKind, columnWidth, rowHeight)});
      left += columnWidth;
    }
    top += rowHeight;
  }
}

}  // namespace kiv
