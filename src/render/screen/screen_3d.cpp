#include "render/screen/screen_3d.h"

#include <algorithm>
#include <cmath>

#include "base/errors.h"
#include "base/log.h"
#include "render/device/device_lock.h"
#include "render/device/draw_device.h"
#include "render/screen/camera.h"
#include "render/screen/custom_texture.h"
#include "render/screen/vertex_buffer.h"

namespace kiv {

namespace {
constexpr int kBatchTriangles = 32;
// Video frames take three planes.
constexpr int kBatchTextureSets = 3;
// How far outside a softened edge its transparent ring lies, in screen pixels.
constexpr float kEdgeRingPixels = 1.0f;
}  // namespace

// Lives in the draw device's attached list; when the window goes, the screen forgets it.
class TDeviceKilledMessenger : public TDrawDeviceAttachment {
 public:
  explicit TDeviceKilledMessenger(T3DScreen& screen) : FScreen(&screen) {}
  ~TDeviceKilledMessenger() override {
    if (FScreen) FScreen->DeviceKilled();
  }
  void Forget() { FScreen = nullptr; }

 private:
  T3DScreen* FScreen;
};

T3DScreen::T3DScreen(T3DEngine& engine, TNotification rendererReady, TNotification rendererLost)
    : FEngine(engine), FRendererReady(std::move(rendererReady)), FRendererLost(std::move(rendererLost)) {
  FBatch = std::make_unique<TVertexBuffer>(*this);
}

T3DScreen::~T3DScreen() {
  TDeviceLockGuard lock;
  FBatch.reset();
  FTargets.clear();
  FRenderer.reset();
  const std::vector<TScreenResource*> dependents = FDependents;
  FDependents.clear();
  for (TScreenResource* resource : dependents) resource->ScreenGone();
  if (FDevice && FMessenger) {
    FMessenger->Forget();
    FDevice->Detach(FMessenger).reset();
  }
}

void T3DScreen::AddDependent(TScreenResource* resource) { FDependents.push_back(resource); }

void T3DScreen::RemoveDependent(TScreenResource* resource) {
  FDependents.erase(std::remove(FDependents.begin(), FDependents.end(), resource), FDependents.end());
}

void T3DScreen::DeviceKilled() {
  FDevice = nullptr;
  FMessenger = nullptr;
}

TRect T3DScreen::ScreenRectOf(TDrawDevice& device) {
  const TRect windowRect = device.Rect();
  if (!device.FullScreen()) return windowRect;
  TRect monitor;
  return FEngine.GetAdapterRect(FEngine.FindAdapter(windowRect), monitor) ? monitor : windowRect;
}

void T3DScreen::AssignDevice(TDrawDevice* device) {
  if (!device) KIV_FAIL("DrawDevice=nil");
  TDeviceLockGuard lock;
  const TRect deviceRect = device->Rect();
  Log().WriteRect("T3DScreen.AssignDevice, bounds= ", deviceRect.Left, deviceRect.Top, deviceRect.Right,
                  deviceRect.Bottom);
  const TRect rect = ScreenRectOf(*device);
  const bool fullScreen = device->FullScreen();
  if (device == FDevice && fullScreen == FFullScreen && rect == FScreenRect) {
    Log().Write("T3DScreen.AssignDevice, Exit By Same FullScreen Or Same Windowed");
    return;
  }
  std::unique_ptr<TDrawDeviceAttachment> messenger;
  if (FDevice && FMessenger) messenger = FDevice->Detach(FMessenger);
  if (!messenger) messenger = std::make_unique<TDeviceKilledMessenger>(*this);
  FMessenger = static_cast<TDeviceKilledMessenger*>(messenger.get());
  device->Attach(std::move(messenger));
  if (device != FDevice || fullScreen != FFullScreen) ReleaseDependents();
  FDevice = device;
  FScreenRect = rect;
  FFullScreen = fullScreen;
  FWindowId = device->WindowId();
  InitRenderer();
}

void T3DScreen::ReleaseDependents() {
  for (TScreenResource* resource : FDependents) resource->Release();
}

void T3DScreen::ReleaseRenderer() {
  if (!FRenderer) return;
  FTargets.clear();
  FRenderer.reset();
  FReady = false;
  if (FRendererLost) FRendererLost();
}

void T3DScreen::InitRenderer() {
  ReleaseRenderer();
  if (!FDevice) {
    Log().Write("No window to draw");
    return;
  }
  if (!FEngine.CheckDevice()) {
    Log().Write("Can't init");
    return;
  }
  FAdapter = FEngine.FindAdapter(FScreenRect);
  FMaxTextureWidth = FEngine.GetCaps("MaxTexWidth", FAdapter);
  FMaxTextureHeight = FEngine.GetCaps("MaxTexHeight", FAdapter);
  TDisplayMode mode;
  if (!FEngine.GetDisplayMode(FAdapter, mode)) {
    Log().Write("Can't GetDisplayMode");
    return;
  }
  TRendererParams params;
  params.Windowed = !FFullScreen;
  params.Width = mode.Width;
  params.Height = mode.Height;
  params.RefreshRate = mode.RefreshRate;
  params.Format = mode.Format;
  params.Adapter = FAdapter;
  FRenderer = FEngine.CreateRenderer(*FDevice, params);
  ++FRendererGeneration;
}

bool T3DScreen::BeginScene() {
  TDeviceLockGuard lock;
  const TRect rect = FDevice ? ScreenRectOf(*FDevice) : TRect{};
  const uint32_t window = FDevice ? FDevice->WindowId() : 0;
  const bool fullScreen = FDevice && FDevice->FullScreen();
  if (rect != FScreenRect || window != FWindowId || fullScreen != FFullScreen) {
    Log().WriteRect("T3DScreen.BeginScene, R= ", rect.Left, rect.Top, rect.Right, rect.Bottom);
    if (fullScreen != FFullScreen) ReleaseDependents();
    FScreenRect = rect;
    FWindowId = window;
    FFullScreen = fullScreen;
    ReleaseRenderer();
  }
  // A renderer that lost its device stays without one: it is replaced.
  if (FRenderer && !FRenderer->IsPending() && !FRenderer->HasDevice()) ReleaseRenderer();
  if (!FRenderer) InitRenderer();
  const bool ready = FRenderer && !FRenderer->IsPending();
  if (!ready) {
    FReady = false;
    return false;
  }
  if (!FReady) {
    FReady = true;
    if (FRendererReady) FRendererReady();
  }
  FRenderer->SetCulling(true);
  FBatch->Reset(kBatchTriangles, kBatchTextureSets);
  if (FTargets.empty()) {
    FTargets.push_back({0, 0, FRenderer->GetBackBuffer()});
    ApplyTopTarget();
  }
  return FRenderer->BeginScene();
}

void T3DScreen::EndScene(bool present) {
  if (!FReady) return;
  FBatch->Flush();
  FRenderer->EndScene();
  if (present) {
    const TRect whole{0, 0, Width(), Height()};
    FRenderer->Present(&whole, 1, &whole);
  }
  if (!FRenderer->HasDevice()) ReleaseRenderer();
}

void T3DScreen::Clear(uint32_t colour, bool depthToo) {
  if (!FReady) return;
  FBatch->Flush();
  // One pixel beyond the screen on each side, seen from the current target.
  const TRect grown = OffsetRect({-1, -1, Width() + 1, Height() + 1}, -int(FCameraX), -int(FCameraY));
  FRenderer->Clear(&grown, 1, ClearFlag::Target | (depthToo ? ClearFlag::Depth : 0), colour, 1.0f);
}

void T3DScreen::ClearRect(uint32_t colour, const TRect& rect) {
  if (!FReady) return;
  FBatch->Flush();
  const TRect local = OffsetRect(rect, -int(FCameraX), -int(FCameraY));
  FRenderer->Clear(&local, 1, ClearFlag::Target, colour, 1.0f);
}

void T3DScreen::ApplyTopTarget() {
  const TRenderTargetWrapper& top = FTargets.back();
  int width = 0, height = 0;
  if (!top.Surface || !top.Surface->GetSize(width, height)) return;
  // A new target is seen whole; the camera puts screen pixels onto it.
  FRenderer->SetRenderTarget(top.Surface);
  SetupView(top.X, top.Y, float(Height()), float(Width()), float(height), float(width));
}

bool T3DScreen::PushRenderTarget(TCustomTexture& texture, int x, int y) {
  if (!FReady) return false;
  T3DTexture* device = texture.GetTexture();
  T3DSurface* surface = device ? device->GetLevel(0) : nullptr;
  if (!surface || !surface->IsRenderTarget()) return false;
  FBatch->Flush();
  FTargets.push_back({float(x), float(y), surface});
  ApplyTopTarget();
  return true;
}

void T3DScreen::PopRenderTarget() {
  if (!FReady || FTargets.size() <= 1) return;
  FBatch->Flush();
  FTargets.pop_back();
  ApplyTopTarget();
}

void T3DScreen::SetupView(float x, float y, float screenHeight, float screenWidth, float targetHeight,
                          float targetWidth) {
  if (!FRenderer || screenWidth <= 0 || screenHeight <= 0 || targetWidth <= 0 || targetHeight <= 0) return;
  float texelX = 0, texelY = 0;
  FRenderer->GetTexelOffset(texelX, texelY);
  const TViewMatrices matrices =
      MakeViewMatrices(x, y, screenHeight, screenWidth, targetHeight, targetWidth, texelX, texelY);
  FRenderer->SetTransform(TTransformKind::World, matrices.World);
  FRenderer->SetTransform(TTransformKind::View, matrices.View);
  FRenderer->SetTransform(TTransformKind::Projection, matrices.Projection);
  FCameraX = x;
  FCameraY = y;
  FRatioX = targetWidth / screenWidth;
  FRatioY = targetHeight / screenHeight;
}

TVector3 T3DScreen::PixelToSpace(const TVector3& pixel) const { return kiv::PixelToSpace(pixel, Width(), Height()); }

TVector3 T3DScreen::Camera() const { return CameraPosition(Width(), Height()); }

TRect T3DScreen::GetRenderTargetRect() const {
  if (FTargets.empty()) return {};
  const TRenderTargetWrapper& top = FTargets.back();
  int width = 0, height = 0;
  if (top.Surface) top.Surface->GetSize(width, height);
  const int x = int(std::lround(top.X));
  const int y = int(std::lround(top.Y));
  return {x, y, x + width, y + height};
}

std::array<float, 4> T3DScreen::EdgeRing(const TVector3& origin, const TVector3& xAxis, const TVector3& yAxis,
                                         const TEdgeMask& edgeMask) const {
  std::array<float, 4> ring{};
  if (!(edgeMask[0] || edgeMask[1] || edgeMask[2] || edgeMask[3])) return ring;
  const TVector3 camera = Camera();
  const TVector3 corner = ProjectToScreen(origin, camera);
  const TVector3 acrossEnd = ProjectToScreen(origin + xAxis, camera);
  const TVector3 downEnd = ProjectToScreen(origin + yAxis, camera);
  const float acrossX = acrossEnd.X - corner.X, acrossY = acrossEnd.Y - corner.Y;
  const float downX = downEnd.X - corner.X, downY = downEnd.Y - corner.Y;
  // A quad seen edge-on has no visible edges to soften.
  if (std::fabs(acrossX * downY - acrossY * downX) < 0.5f) return ring;
  const float across = std::hypot(acrossX, acrossY);
  const float down = std::hypot(downX, downY);
  // The ring across the left and right edges runs along the x axis, the other two along y.
  const std::array<float, 4> lengths = {across, down, across, down};
  for (size_t edge = 0; edge < 4; ++edge)
    if (edgeMask[edge] && lengths[edge] > 0) ring[edge] = kEdgeRingPixels / lengths[edge];
  return ring;
}

void T3DScreen::DrawQuad(TCustomTexture* texture, const TVector3& origin, const TVector3& xAxis,
                         const TVector3& yAxis, const TRectF& texels, const TCornerColours& colours,
                         const TEdgeMask& edgeMask) {
  TCustomTexture* const textures[] = {texture};
  const float scales[] = {1};
  DrawQuad(std::span(textures, texture ? 1 : 0), scales, origin, xAxis, yAxis, texels, colours, edgeMask);
}

void T3DScreen::DrawQuad(std::span<TCustomTexture* const> textures, std::span<const float> texelScales,
                         const TVector3& origin, const TVector3& xAxis, const TVector3& yAxis, const TRectF& texels,
                         const TCornerColours& colours, const TEdgeMask& edgeMask) {
  if (!FReady) return;
  std::array<TCustomTexture*, kBatchTextureSets> withTrailing{};
  std::array<float, kBatchTextureSets> trailingScales{};
  if (FTrailingStage) {
    KIV_ASSERT(textures.size() < size_t(kBatchTextureSets) && texelScales.size() >= textures.size());
    std::copy(textures.begin(), textures.end(), withTrailing.begin());
    std::copy_n(texelScales.begin(), textures.size(), trailingScales.begin());
    withTrailing[textures.size()] = FTrailingStage;
    textures = std::span(withTrailing.data(), textures.size() + 1);
    texelScales = std::span(trailingScales.data(), textures.size());
  }
  KIV_ASSERT(textures.size() <= size_t(kBatchTextureSets) && texelScales.size() >= textures.size());
  const std::array<float, 4> ring = EdgeRing(origin, xAxis, yAxis, edgeMask);
  const std::array<TGridVertex, 16> grid = BuildNineGrid(origin, xAxis, yAxis, texels, colours, ring);
  const bool anyRing = ring[0] > 0 || ring[1] > 0 || ring[2] > 0 || ring[3] > 0;
  FBatch->Begin(textures.data(), int(textures.size()), true);
  // Without a ring only the quad's own two triangles have an area.
  const int first = anyRing ? 0 : kCentreTriangleFirst;
  const int last = anyRing ? int(kNineGridTriangles.size()) : kCentreTriangleFirst + 2;
  for (int i = first; i < last; ++i) {
    TVector3 points[3];
    TTexCoord texelsOf[3 * kBatchTextureSets];
    uint32_t corners[3];
    for (size_t k = 0; k < 3; ++k) {
      const TGridVertex& vertex = grid[kNineGridTriangles[size_t(i)][k]];
      points[k] = vertex.Point;
      for (size_t t = 0; t < textures.size(); ++t)
        texelsOf[3 * t + k] = {vertex.Texel.U * texelScales[t], vertex.Texel.V * texelScales[t]};
      corners[k] = vertex.Colour;
    }
    FBatch->AddTriangle(points, texelsOf, corners);
  }
}

void T3DScreen::SetTrailingStage(TCustomTexture* texture) {
  if (texture == FTrailingStage) return;
  FBatch->Flush();
  FTrailingStage = texture;
}

void T3DScreen::ReleaseContext() {
  FBatch->Flush();
  if (FRenderer) FRenderer->ReleaseContext();
}

}  // namespace kiv
