// Video frames: the Y, U and V planes through the YUV shader.
#include "render/drawer/box_colours.h"
#include "render/drawer/drawer_3d.h"
#include "render/drawer/pixel_shader_scope.h"
#include "render/drawer/yuv_3d.h"

namespace kiv {

void T3DDrawer::DrawVideo(T3DYUV& yuv, const TQuadPlace& place, const TPictureParams& params, TFieldMode field) {
  if (!CanDraw() || params.Opacity <= 0) return;
  yuv.Prepare();
  const TQuadPlace at = ToTarget(place);
  const uint32_t colour = ScaleAlpha(0xFFFFFFFFu, params.Opacity);
  const TCornerColours colours = {colour, colour, colour, colour};
  const uint8_t soft = params.Smooth ? 1 : 0;
  const TEdgeMask edges = {soft, soft, soft, soft};
  const TRectF frame{0, 0, float(yuv.Width()), float(yuv.Height())};
  const int shader = field == TFieldMode::Progressive ? FShaders.Yuv : FShaders.YuvField;
  if (!yuv.Planar() || shader < 0) {
    // Without the shader the luminance shows as grey.
    TVideoTexture* grey = yuv.Texture(yuv.Planar() ? kPlaneY : kPlaneGrey);
    FScreen->DrawQuad(grey, at.Origin, at.AxisX, at.AxisY, frame, colours, edges);
    return;
  }
  TVideoTexture* luma = yuv.Texture(kPlaneY);
  const float lumaHeight = float(luma->DeviceHeight());
  const float oddLines = field == TFieldMode::OddLines ? 1.0f : 0.0f;
  const float constants[] = {1.596f, 0, 0, 0, 0.813f, 0, 0, 0, 0.391f, 0, 0, 0, 2.018f, 0, 0, 0, 1.164f, 0, 0, 0,
                             lumaHeight, 1 / lumaHeight, 0, 0, oddLines, -oddLines, 0, 0};
  TCustomTexture* const planes[] = {luma, yuv.Texture(kPlaneU), yuv.Texture(kPlaneV)};
  // U and V are half the size of the frame.
  const float scales[] = {1, 0.5f, 0.5f};
  TPixelShaderScope yuvToRgb(*FScreen, shader, constants);
  FScreen->DrawQuad(planes, scales, at.Origin, at.AxisX, at.AxisY, frame, colours, edges);
}

}  // namespace kiv
