#include "render/drawer/render_target_effecter.h"

#include "base/errors.h"
#include "render/device/renderer_3d.h"
#include "render/screen/screen_3d.h"

namespace kiv {

TRenderTargetEffecter::TRenderTargetEffecter(T3DScreen& screen) : FScreen(screen) {}

void TRenderTargetEffecter::SetRect(const TRect& rect) {
  if (rect == FRect && FTargets[0]) return;
  FRect = rect;
  const auto make = [&](int width, int height) {
    return rect.IsEmpty() ? nullptr
                          : std::make_unique<TRenderTargetTexture>(FScreen, TTextureKind::RenderTargetXrgb, width,
                                                                   height);
  };
  for (auto& target : FTargets) target = make(rect.Width(), rect.Height());
  FColumnStrip = make(1, rect.Height());
  FRowStrip = make(rect.Width() + 2, 1);
}

TRenderTargetTexture& TRenderTargetEffecter::SlideTexture(int index) {
  KIV_ASSERT(index == 0 || index == 1);
  if (!FTargets[size_t(index)]) KIV_FAIL("Effecter not Inited");
  return *FTargets[size_t(index)];
}

void TRenderTargetEffecter::RenderSlide(uint32_t clearColour, const std::function<void()>& draw,
                                        const TRect& slideArea) {
  {
    TRenderTargetScope target(FScreen, Current(), FRect.Left, FRect.Top);
    if (!target.Pushed()) return;
    FScreen.Clear(clearColour, false);
    draw();
  }
  if (!slideArea.IsEmpty()) FillAround(OffsetRect(Intersection(slideArea, FRect), -FRect.Left, -FRect.Top));
}

void TRenderTargetEffecter::FillAround(const TRect& area) {
  T3DTexture* texture = Current().GetTexture();
  T3DSurface* surface = texture ? texture->GetLevel(0) : nullptr;
  int width = 0, height = 0;
  if (area.IsEmpty() || !surface || !surface->GetSize(width, height)) return;
  // Sides at the texture's own edge need nothing: sampling clamps there.
  const bool left = area.Left > 0, right = area.Right < width, top = area.Top > 0, bottom = area.Bottom < height;
  if (left)
    CopyLine(*FColumnStrip, {area.Left, area.Top, area.Left + 1, area.Bottom},
             {area.Left - 1, area.Top, area.Left, area.Bottom});
  if (right)
    CopyLine(*FColumnStrip, {area.Right - 1, area.Top, area.Right, area.Bottom},
             {area.Right, area.Top, area.Right + 1, area.Bottom});
  // The rows reach over the filled columns, which fills the corners.
  const int from = area.Left - (left ? 1 : 0), to = area.Right + (right ? 1 : 0);
  if (top) CopyLine(*FRowStrip, {from, area.Top, to, area.Top + 1}, {from, area.Top - 1, to, area.Top});
  if (bottom) CopyLine(*FRowStrip, {from, area.Bottom - 1, to, area.Bottom}, {from, area.Bottom, to, area.Bottom + 1});
}

void TRenderTargetEffecter::CopyLine(TRenderTargetTexture& strip, const TRect& source, const TRect& dest) {
  T3DRenderer* renderer = FScreen.Renderer();
  T3DTexture* target = Current().GetTexture();
  T3DTexture* through = strip.GetTexture();
  if (!renderer || !target || !through) return;
  const TRect line{0, 0, source.Width(), source.Height()};
  if (renderer->StretchRect(*target->GetLevel(0), *through->GetLevel(0), 1, &source, &line))
    renderer->StretchRect(*through->GetLevel(0), *target->GetLevel(0), 1, &line, &dest);
}

TRectF TRenderTargetEffecter::Texels(const TRect& area) const {
  return {float(area.Left - FRect.Left), float(area.Top - FRect.Top), float(area.Right - FRect.Left),
          float(area.Bottom - FRect.Top)};
}

}  // namespace kiv
