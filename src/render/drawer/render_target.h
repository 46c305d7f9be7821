#pragma once
// A texture drawn into (a render target of the screen), and the scope that draws into it.
#include "render/screen/custom_texture.h"
#include "render/screen/screen_3d.h"

namespace kiv {

class TRenderTargetTexture : public TCustomTexture {
 public:
  // kind: one of the render-target kinds.
  TRenderTargetTexture(T3DScreen& screen, TTextureKind kind, int width, int height) : TCustomTexture(screen, kind) {
    SetSize(width, height);
  }

 protected:
  // Its pixels come from drawing, not from a picture.
  void Paint(TBitmap&) override {}
};

// Makes texture, standing at (x, y) of the screen, the render target for the scope's
// lifetime; nothing is drawn into it when it cannot be made the target.
class TRenderTargetScope {
 public:
  TRenderTargetScope(T3DScreen& screen, TCustomTexture& texture, int x, int y)
      : FScreen(screen), FPushed(screen.PushRenderTarget(texture, x, y)) {}
  ~TRenderTargetScope() {
    if (FPushed) FScreen.PopRenderTarget();
  }
  TRenderTargetScope(const TRenderTargetScope&) = delete;
  TRenderTargetScope& operator=(const TRenderTargetScope&) = delete;

  bool Pushed() const { return FPushed; }

 private:
  T3DScreen& FScreen;
  bool FPushed;
};

}  // namespace kiv
