#pragma once
// The drawing surface of one output window. It keeps a renderer alive across window
// moves, full-screen switches and lost devices, sets up the camera that maps screen
// pixels into space, keeps a stack of render targets and draws textured triangles in
// batches. Used from the drawing thread only.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "render/device/engine_3d.h"
#include "render/device/geometry_3d.h"
#include "render/device/renderer_3d.h"
#include "render/screen/nine_grid.h"

namespace kiv {

class TCustomTexture;
class TDeviceKilledMessenger;
class TDrawDevice;
class TScreenResource;
class TVertexBuffer;

class T3DScreen {
 public:
  using TNotification = std::function<void()>;

  // rendererReady: once each time a renderer becomes usable; rendererLost: each time
  // the renderer is dropped.
  T3DScreen(T3DEngine& engine, TNotification rendererReady, TNotification rendererLost);
  ~T3DScreen();
  T3DScreen(const T3DScreen&) = delete;
  T3DScreen& operator=(const T3DScreen&) = delete;

  void AssignDevice(TDrawDevice* device);
  // Drops the renderer (the renderer-lost notification runs); the next BeginScene makes
  // a new one.
  void ReleaseRenderer();
  // Starts a frame; false (and nothing drawn until the next frame) while there is no
  // usable renderer.
  bool BeginScene();
  void EndScene(bool present);
  void Clear(uint32_t colour, bool depthToo);
  // rect in screen pixels.
  void ClearRect(uint32_t colour, const TRect& rect);

  // Draws into texture (a render-target kind) standing at (x, y) of the screen.
  bool PushRenderTarget(TCustomTexture& texture, int x, int y);
  void PopRenderTarget();
  void SetupView(float x, float y, float screenHeight, float screenWidth, float targetHeight, float targetWidth);
  TVector3 PixelToSpace(const TVector3& pixel) const;

  // The quad origin + s * xAxis + t * yAxis (screen pixels, s and t in 0..1) showing the
  // texels of texture (none: vertex colours only), with per-corner colours; the edges
  // marked in edgeMask fade out over a one-pixel ring.
  void DrawQuad(TCustomTexture* texture, const TVector3& origin, const TVector3& xAxis, const TVector3& yAxis,
                const TRectF& texels, const TCornerColours& colours, const TEdgeMask& edgeMask);
  // The same with textures on stages 0 … n - 1 (at most three); texture t shows the
  // texels times texelScales[t].
  void DrawQuad(std::span<TCustomTexture* const> textures, std::span<const float> texelScales,
                const TVector3& origin, const TVector3& xAxis, const TVector3& yAxis, const TRectF& texels,
                const TCornerColours& colours, const TEdgeMask& edgeMask);

  // While set, every quad drawn also carries texture on the stage after its own ones,
  // with texture coordinates 0: for a pixel shader that samples it by where each
  // fragment lands on the target. Null ends it; what was drawn before is flushed.
  void SetTrailingStage(TCustomTexture* texture);

  bool IsReady() const { return FReady; }
  // The current target in screen pixels.
  TRect GetRenderTargetRect() const;
  int RenderTargetDepth() const { return int(FTargets.size()); }
  T3DRenderer* Renderer() const { return FRenderer.get(); }
  // Counts the renderers made so far, telling one renderer from the next.
  uint64_t RendererGeneration() const { return FRendererGeneration; }
  TVertexBuffer& Batch() { return *FBatch; }
  const TRect& ScreenRect() const { return FScreenRect; }
  int Width() const { return FScreenRect.Width(); }
  int Height() const { return FScreenRect.Height(); }
  int Adapter() const { return FAdapter; }
  int MaxTextureWidth() const { return FMaxTextureWidth; }
  int MaxTextureHeight() const { return FMaxTextureHeight; }
  // Where the camera stands, in pixel space.
  TVector3 Camera() const;
  // Hands the drawing context back so that another thread may draw.
  void ReleaseContext();

  void AddDependent(TScreenResource* resource);
  void RemoveDependent(TScreenResource* resource);

 private:
  friend class TDeviceKilledMessenger;
  struct TRenderTargetWrapper {
    float X;
    float Y;
    T3DSurface* Surface;
  };

  void DeviceKilled();
  void InitRenderer();
  void ReleaseDependents();
  TRect ScreenRectOf(TDrawDevice& device);
  // Makes the top of the stack the target, seen whole, with its camera.
  void ApplyTopTarget();
  // The edge ring of DrawQuad, as fractions of the axes.
  std::array<float, 4> EdgeRing(const TVector3& origin, const TVector3& xAxis, const TVector3& yAxis,
                                const TEdgeMask& edgeMask) const;

  T3DEngine& FEngine;
  std::unique_ptr<T3DRenderer> FRenderer;
  TDrawDevice* FDevice = nullptr;
  TRect FScreenRect;
  bool FFullScreen = false;
  int FAdapter = 0;
  uint32_t FWindowId = 0;
  std::vector<TScreenResource*> FDependents;
  std::unique_ptr<TVertexBuffer> FBatch;
  std::vector<TRenderTargetWrapper> FTargets;
  TCustomTexture* FTrailingStage = nullptr;
  TDeviceKilledMessenger* FMessenger = nullptr;
  float FCameraX = 0;
  float FCameraY = 0;
  float FRatioX = 1;
  float FRatioY = 1;
  bool FReady = false;
  uint64_t FRendererGeneration = 0;
  TNotification FRendererReady;
  TNotification FRendererLost;
  int FMaxTextureWidth = 0;
  int FMaxTextureHeight = 0;
};

}  // namespace kiv
