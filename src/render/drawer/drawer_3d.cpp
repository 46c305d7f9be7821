#include "render/drawer/drawer_3d.h"

#include <algorithm>

#include "base/errors.h"
#include "base/log.h"
#include "render/drawer/render_target.h"
#include "render/drawer/render_target_effecter.h"
#include "render/drawer/tiled_render_target.h"
#include "render/drawer/yuv_3d.h"
#include "render/screen/box_antialiaser.h"
#include "render/screen/screen_3d.h"
#include "render/screen/texture_manager6.h"
#include "render/screen/vertex_buffer.h"

namespace kiv {

T3DDrawer::T3DDrawer(T3DEngine& engine, TNotification rendererReady, TNotification rendererLost)
    : FEngine(engine),
      FOnReady(std::move(rendererReady)),
      FOnLost(std::move(rendererLost)),
      FVideos(std::make_shared<TYUVRegistry>()) {
  FScreen = std::make_unique<T3DScreen>(engine, [this] { RendererReadyEvent(); }, [this] { RendererLostEvent(); });
  FBoxes = std::make_unique<TBoxAntialiaser>(*FScreen);
}

T3DDrawer::~T3DDrawer() = default;

void T3DDrawer::Init(TDrawDevice* device) {
  std::lock_guard lock(FLock);
  Log().Write("T3DDrawer.Init");
  FScreen->AssignDevice(device);
  FInitialised = true;
  T3DRenderer* renderer = FScreen->Renderer();
  FReady = renderer && !renderer->IsPending();
}

void T3DDrawer::Close() {
  std::lock_guard lock(FLock);
  Log().Write("T3DDrawer.Close");
  FInitialised = false;
  FScreen->ReleaseRenderer();
}

void T3DDrawer::RendererReadyEvent() {
  T3DRenderer* renderer = FScreen->Renderer();
  if (!renderer) KIV_FAIL("Renderer Ready is a Lie!");
  const TRect whole{0, 0, FScreen->Width(), FScreen->Height()};
  SetTargetRect(whole);
  // The renderer may be on another adapter than the last one. 0x8086: Intel's PCI vendor number.
  FIntel = FEngine.GetCaps("Vendor", FScreen->Adapter()) == 0x8086;
  if (!FEffecter) FEffecter = std::make_unique<TRenderTargetEffecter>(*FScreen);
  FEffecter->SetRect(whole);
  MaskBuffersFor(0);
  for (auto& buffers : FMaskBuffers) SizeMaskBuffers(*buffers);
  FShaders = CreateDrawerShaders(*renderer, FEngine.GetShaderLevel(FScreen->Adapter()));
  FPostTarget.reset();
  if (FShaders.PostProcess >= 0) {
    FPostTarget = std::make_unique<TRenderTargetTexture>(*FScreen, TTextureKind::RenderTargetArgb, whole.Width(),
                                                         whole.Height());
    // Drawn back pixel for pixel. Its device texture is made by the first pass that
    // needs it: most shows never sharpen, and a screen-sized target costs the first frame.
    FPostTarget->SetPointFilter(true);
  }
  FVideos->ForEach([](T3DYUV& yuv) { yuv.Attach(); });
  Log().Write("T3DDrawer.RendererReadyEvent");
  FReady = true;
  if (FOnReady) FOnReady();
}

void T3DDrawer::RendererLostEvent() {
  FVideos->ForEach([](T3DYUV& yuv) { yuv.Detach(); });
  Log().Write("T3DDrawer.RendererLostEvent");
  FReady = false;
  // Shaders live in the renderer that is gone.
  FShaders = {};
  if (FOnLost) FOnLost();
}

bool T3DDrawer::CanDraw() const { return FInitialised && FReady && FScreen->IsReady(); }

TTextureManager6& T3DDrawer::Tiles() {
  if (!FTiles) FTiles = std::make_unique<TTextureManager6>(*FScreen);
  return *FTiles;
}

bool T3DDrawer::BeginFrame() {
  if (!FInitialised || !FScreen->BeginScene()) return false;
  FScreen->Clear(FHiderColour, false);
  return TDeviceDrawer::BeginFrame();
}

void T3DDrawer::EndFrame() {
  // A pass that a failure left open ends with the frame.
  if (FDrawingPostProcess) {
    FDrawingPostProcess = false;
    FScreen->PopRenderTarget();
  }
  FScreen->EndScene(true);
}

void T3DDrawer::Clear(uint32_t colour, bool depthToo) {
  if (CanDraw()) FScreen->Clear(colour, depthToo);
}

void T3DDrawer::FillRect(uint32_t colour, const TRect& rect) {
  if (CanDraw()) FScreen->ClearRect(colour, rect);
}

bool T3DDrawer::CopyFrame(TBitmap& target) {
  if (!CanDraw()) return false;
  FScreen->Batch().Flush();
  T3DRenderer& renderer = *FScreen->Renderer();
  T3DSurface* backBuffer = renderer.GetBackBuffer();
  return backBuffer && renderer.CopyRenderTarget(*backBuffer, target);
}

std::unique_ptr<TBitmap> T3DDrawer::CaptureFrame() {
  const TRect& rect = GetTargetRect();
  if (!AllowedPictureSize(rect.Width(), rect.Height())) return nullptr;
  auto frame = std::make_unique<TBitmap>(rect.Width(), rect.Height(), TPixelFormat::Bgr24);
  if (!CopyFrame(*frame)) return nullptr;
  return frame;
}

std::unique_ptr<T3DYUV> T3DDrawer::CreateYUV(int width, int height) {
  if (!AllowedPictureSize(width, height)) return nullptr;
  const bool planar = FEngine.GetShaderLevel(FScreen->Adapter()) > 0;
  return std::make_unique<T3DYUV>(FVideos, *FScreen, width, height, planar);
}

}  // namespace kiv
