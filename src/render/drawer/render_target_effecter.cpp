#include "render/drawer/render_target_effecter.h"

#include "base/errors.h"

namespace kiv {

TRenderTargetEffecter::TRenderTargetEffecter(T3DScreen& screen) : FScreen(screen) {}

void TRenderTargetEffecter::SetRect(const TRect& rect) {
  if (rect == FRect && FTargets[0]) return;
  FRect = rect;
  for (auto& target : FTargets)
    target = rect.IsEmpty() ? nullptr
                            : std::make_unique<TRenderTargetTexture>(FScreen, TTextureKind::RenderTargetXrgb,
                                                                     rect.Width(), rect.Height());
}

TRenderTargetTexture& TRenderTargetEffecter::SlideTexture(int index) {
  KIV_ASSERT(index == 0 || index == 1);
  if (!FTargets[size_t(index)]) KIV_FAIL("Effecter not Inited");
  return *FTargets[size_t(index)];
}

void TRenderTargetEffecter::RenderSlide(uint32_t clearColour, const std::function<void()>& draw) {
  TRenderTargetScope target(FScreen, Current(), FRect.Left, FRect.Top);
  if (!target.Pushed()) return;
  FScreen.Clear(clearColour, false);
  draw();
}

TRectF TRenderTargetEffecter::Texels(const TRect& area) const {
  return {float(area.Left - FRect.Left), float(area.Top - FRect.Top), float(area.Right - FRect.Left),
          float(area.Bottom - FRect.Top)};
}

}  // namespace kiv
