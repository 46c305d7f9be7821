#include "render/drawer/render_target_effecter.h"

#include "base/errors.h"

namespace kiv {

TRenderTargetD3DEffecter::TRenderTargetD3DEffecter(T3DScreen& screen) : FScreen(screen) {}

void TRenderTargetD3DEffecter::SetRect(const TRect& rect) {
  if (rect == FRect && FTargets[0]) return;
  FRect = rect;
  for (auto& target : FTargets)
    target = rect.IsEmpty() ? nullptr
                            : std::make_unique<TRenderTargetTexture>(FScreen, TTextureKind::RenderTargetXrgb,
                                                                     rect.Width(), rect.Height());
}

TRenderTargetTexture& TRenderTargetD3DEffecter::SlideTexture(int index) {
  KIV_ASSERT(index == 0 || index == 1);
  if (!FTargets[size_t(index)]) KIV_FAIL("Effecter not Inited");
  return *FTargets[size_t(index)];
}

void TRenderTargetD3DEffecter::RenderSlide(uint32_t clearColour, const std::function<void()>& draw) {
  TRenderTargetScope target(FScreen, Current(), FRect.Left, FRect.Top);
  if (!target.Pushed()) return;
  FScreen.Clear(clearColour, false);
  draw();
}

TRectF TRenderTargetD3DEffecter::Texels(const TRect& area) const {
  return {float(area.Left - FRect.Left), float(area.Top - FRect.Top), float(area.Right - FRect.Left),
          float(area.Bottom - FRect.Top)};
}

}  // namespace kiv
