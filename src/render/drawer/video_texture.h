#pragma once
// One plane of a video frame as a texture. The plane is kept in memory at its padded
// size, so that filtering at the picture's right and bottom edge meets repeated edge
// pixels instead of the texture's unused part; it is painted into the device texture
// whenever it changed.
#include "graphics/bitmap.h"
#include "render/screen/custom_texture.h"

namespace kiv {

// The padded side of a plane: min(side + 8, the next power of two of side).
int PaddedPlaneSide(int side);

class TVideoTexture : public TCustomTexture {
 public:
  // A one-channel texture of a planeWidth x planeHeight plane (at least 1 x 1).
  TVideoTexture(T3DScreen& screen, int planeWidth, int planeHeight);

  int PlaneWidth() const { return FPlaneWidth; }
  int PlaneHeight() const { return FPlaneHeight; }
  // The padded plane (Indexed8, one byte per pixel), the picture in its top-left part.
  TBitmap& Plane() { return FPlane; }
  // Repeats the picture's last column to the padded width and its last row to the
  // padded height, and marks the plane for painting.
  void FinishPlane();
  // The plane changed since it was last painted.
  bool Changed() const { return FChanged; }

 protected:
  TVideoTexture(T3DScreen& screen, int planeWidth, int planeHeight, TTextureKind kind);
  void Paint(TBitmap& target) final;
  // Puts the plane into target, laid out for the texture's kind.
  virtual void PaintPlane(TBitmap& target);

 private:
  int FPlaneWidth;
  int FPlaneHeight;
  TBitmap FPlane;
  bool FChanged = true;
};

// The luminance plane shown as grey colour, for renderers without one-channel textures
// or pixel shaders.
class TGrayScaleTexture : public TVideoTexture {
 public:
  TGrayScaleTexture(T3DScreen& screen, int planeWidth, int planeHeight);

 protected:
  void PaintPlane(TBitmap& target) override;
};

}  // namespace kiv
