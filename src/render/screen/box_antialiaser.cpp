#include "render/screen/box_antialiaser.h"

#include <algorithm>

#include "render/screen/screen_3d.h"

namespace kiv {

namespace {
constexpr int kBoxTextureSide = 32;
}

TBoxAntiTexture::TBoxAntiTexture(T3DScreen& screen) : TCustomTexture(screen) {
  SetSize(kBoxTextureSide, kBoxTextureSide);
}

void TBoxAntiTexture::Paint(TBitmap& target) {
  for (int y = 0; y < target.Height(); ++y) std::fill(target.Row(y), target.Row(y) + 4 * target.Width(), 0xFF);
}

TBoxAntialiaser::TBoxAntialiaser(T3DScreen& screen) : FTexture(screen) {}

void TBoxAntialiaser::Draw(const TVector3& origin, const TVector3& xAxis, const TVector3& yAxis,
                           const TCornerColours& colours, const TEdgeMask& edgeMask) {
  T3DScreen* screen = FTexture.Screen();
  if (!screen) return;
  // The texture is one colour: any texel inside it will do.
  screen->DrawQuad(&FTexture, origin, xAxis, yAxis, {1, 1, kBoxTextureSide - 1.0f, kBoxTextureSide - 1.0f}, colours,
                   edgeMask);
}

}  // namespace kiv
