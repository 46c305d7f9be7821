#pragma once
// Boxes and frames with softened edges: a small white texture drawn as a nine-grid quad
// whose vertex colours give the box its corner colours, so that the marked edges fade.
#include "render/screen/custom_texture.h"
#include "render/screen/nine_grid.h"

namespace kiv {

class TBoxAntiTexture : public TCustomTexture {
 public:
  explicit TBoxAntiTexture(T3DScreen& screen);

 protected:
  void Paint(TBitmap& target) override;
};

class TBoxAntialiaser {
 public:
  explicit TBoxAntialiaser(T3DScreen& screen);
  // The box origin + s * xAxis + t * yAxis (screen pixels) in the four corner colours.
  void Draw(const TVector3& origin, const TVector3& xAxis, const TVector3& yAxis, const TCornerColours& colours,
            const TEdgeMask& edgeMask);

 private:
  TBoxAntiTexture FTexture;
};

}  // namespace kiv
