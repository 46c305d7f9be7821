// The unsharp-mask pass: what is drawn between BeginPostProcess and EndPostProcess goes
// into a render target the size of the screen, which is then drawn onto the frame
// through the unsharp-mask shader.
#include "render/drawer/drawer_3d.h"
#include "render/drawer/pixel_shader_scope.h"
#include "render/drawer/render_target.h"

namespace kiv {

void T3DDrawer::BeginPostProcess() {
  if (!CanDraw() || !FPostTarget || FDrawingPostProcess || FDrawingForEffect) return;
  if (!FScreen->PushRenderTarget(*FPostTarget, 0, 0)) {
    // A target whose device texture cannot be made is not tried again on every frame.
    if (!FPostTarget->GetTexture()) FPostTarget.reset();
    return;
  }
  FScreen->Clear(0x00000000, false);
  FDrawingPostProcess = true;
}

void T3DDrawer::EndPostProcess(uint8_t threshold, float amount) {
  if (!FDrawingPostProcess) return;
  FDrawingPostProcess = false;
  FScreen->PopRenderTarget();
  TRenderTargetTexture& target = *FPostTarget;
  const float width = float(FScreen->Width());
  const float height = float(FScreen->Height());
  const float textureWidth = float(target.DeviceWidth());
  const float textureHeight = float(target.DeviceHeight());
  const float constants[] = {1 / textureWidth, 1 / textureHeight, 0, 0,
                             threshold / 256.0f, 0, 0, 0,
                             amount / 100.0f, 0, 0, 0,
                             (width - 0.5f) / textureWidth, (height - 0.5f) / textureHeight, 0, 0};
  TPixelShaderScope shader(*FScreen, FShaders.PostProcess, constants);
  const uint32_t white = 0xFFFFFFFF;
  FScreen->DrawQuad(&target, {0, 0, 0}, {width, 0, 0}, {0, height, 0}, {0, 0, width, height},
                    {white, white, white, white}, {0, 0, 0, 0});
}

}  // namespace kiv
