#include "render/drawer/video_texture.h"

#include <algorithm>
#include <cstring>

namespace kiv {

int PaddedPlaneSide(int side) {
  int power = 1;
  while (power < side) power *= 2;
  return std::min(side + 8, power);
}

TVideoTexture::TVideoTexture(T3DScreen& screen, int planeWidth, int planeHeight)
    : TVideoTexture(screen, planeWidth, planeHeight, TTextureKind::Luminance) {}

TVideoTexture::TVideoTexture(T3DScreen& screen, int planeWidth, int planeHeight, TTextureKind kind)
    : TCustomTexture(screen, kind),
      FPlaneWidth(std::max(1, planeWidth)),
      FPlaneHeight(std::max(1, planeHeight)),
      FPlane(PaddedPlaneSide(FPlaneWidth), PaddedPlaneSide(FPlaneHeight), TPixelFormat::Indexed8) {
  SetSize(FPlane.Width(), FPlane.Height());
}

void TVideoTexture::FinishPlane() {
  for (int y = 0; y < FPlaneHeight; ++y) {
    uint8_t* row = FPlane.Row(y);
    std::fill(row + FPlaneWidth, row + FPlane.Width(), row[FPlaneWidth - 1]);
  }
  for (int y = FPlaneHeight; y < FPlane.Height(); ++y)
    std::memcpy(FPlane.Row(y), FPlane.Row(FPlaneHeight - 1), size_t(FPlane.Width()));
  FChanged = true;
}

void TVideoTexture::Paint(TBitmap& target) {
  PaintPlane(target);
  FChanged = false;
}

void TVideoTexture::PaintPlane(TBitmap& target) {
  for (int y = 0; y < target.Height(); ++y) std::memcpy(target.Row(y), FPlane.Row(y), size_t(target.Width()));
}

TGrayScaleTexture::TGrayScaleTexture(T3DScreen& screen, int planeWidth, int planeHeight)
    : TVideoTexture(screen, planeWidth, planeHeight, TTextureKind::Argb) {}

void TGrayScaleTexture::PaintPlane(TBitmap& target) {
  for (int y = 0; y < target.Height(); ++y) {
    const uint8_t* in = Plane().Row(y);
    uint8_t* out = target.Row(y);
    for (int x = 0; x < target.Width(); ++x, out += 4) {
      out[0] = out[1] = out[2] = in[x];
      out[3] = 0xFF;
    }
  }
}

}  // namespace kiv
