#include "render/transitions/canvas_filter.h"

#include "render/drawer/drawer_3d.h"
#include "render/drawer/render_target_effecter.h"

namespace kiv {

void TCanvasFilter::DrawEffect(T3DDrawer& drawer, TEffectSlide) {
  TRenderTargetEffecter* effecter = drawer.Effecter();
  if (!effecter) return;
  const TRect& from = effecter->Rect();
  TEffectCanvas canvas(drawer.Screen(), effecter->Current(), {float(from.Left), float(from.Top)}, Rect());
  Draw(canvas);
}

}  // namespace kiv
