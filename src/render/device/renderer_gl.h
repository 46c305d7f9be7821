#pragma once
// The renderer over OpenGL ES 3.0. It draws into an offscreen back buffer (a render-target
// texture) and shows it by copying it into its window. Each call takes the device lock,
// makes the store's context current on the calling thread and, after the call, maps GL
// errors to the result; a lost device frees the store, after which every call fails with
// "DeviceLost" until the layer above makes a new renderer.
#include <array>
#include <memory>
#include <vector>

#include "render/device/gl_programs.h"
#include "render/device/gl_result.h"
#include "render/device/device_faults.h"
#include "render/device/device_lock.h"
#include "render/device/engine_3d.h"
#include "render/device/renderer_3d.h"

namespace kiv {

class TDevStore;
class TDrawDevice;
class T3DEngineGL;
class T3DSurfaceGL;
class T3DTextureGL;

// A creation waiting for the main thread; the renderer clears its link when it goes first.
struct TInitData {
  TDrawDevice* Owner = nullptr;
  std::weak_ptr<void> OwnerAlive;
  TRendererParams Params;
  class T3DRendererGL* Renderer = nullptr;
};

struct TRendererSetup {
  bool Exclusive = false;
  int Width = 0;
  int Height = 0;
  int RefreshRate = 0;
  int MaxAnisotropy = 0;  // 0 without anisotropic filtering
  TRect SavedWindowRect;  // where an exclusive renderer puts its window back
};

class T3DRendererGL : public T3DRenderer {
 public:
  T3DRendererGL(T3DEngineGL& engine, TDrawDevice& owner);
  ~T3DRendererGL() override;

  // Marks the renderer pending and returns the request the main thread carries out.
  std::shared_ptr<TInitData> MakePending(const TRendererParams& params);
  // On the creating thread, with store's context current: joins the store and makes the
  // back buffer. An empty (failed) renderer stays without device.
  TDeviceError Attach(TDevStore& store, const TRendererSetup& setup);
  void CreationDone(TDeviceError result);

  bool IsPending() override;
  bool HasDevice() override;
  bool BeginScene() override;
  bool EndScene() override;
  bool Present(const TRect* sourceRects, int count, const TRect* destRects) override;
  bool Clear(const TRect* rects, int count, uint32_t flags, uint32_t colour, float z) override;
  bool SetRenderTarget(T3DSurface* surface) override;
  T3DSurface* GetRenderTarget() override;
  T3DSurface* GetBackBuffer() override;
  bool SetViewport(const TRect& rect, float minZ, float maxZ) override;
  bool DrawVertexList(T3DTexture* const* textures, int count, uint32_t flags, T3DVertexList& list) override;
  std::unique_ptr<T3DTexture> CreateTexture(TTextureKind kind, int width, bool mipMapped, int height) override;
  std::unique_ptr<T3DVertexList> CreateVertexList(int vertexCount, uint32_t options, int textureSets) override;
  bool StretchRect(T3DSurface& source, T3DSurface& dest, int count, const TRect* sourceRects,
                   const TRect* destRects) override;
  bool SetBlendMode(TBlendMode mode) override;
  bool SetTransform(TTransformKind kind, const TMatrix4& matrix) override;
  bool SetCulling(bool noCulling) override;
  void GetTexelOffset(float& x, float& y) override;
  bool CreatePixelShader(std::string_view source, int& index) override;
  bool SetPixelShader(int index) override;
  bool ResetPixelShader() override;
  bool SetPixelShaderConstants(int startRegister, const float* data, int count) override;
  std::unique_ptr<TBitmap> CopyRenderTarget(T3DSurface& surface) override;
  bool CopyRenderTarget(T3DSurface& surface, TBitmap& target) override;
  void ReleaseContext() override;
  int RefreshRate() override { return FSetup.RefreshRate; }

  // The store is going: the renderer stays, without device.
  void StoreGone();

 private:
  // Runs body with the context current; body returns the result of the operation.
  template <class Body>
  bool Run(Body&& body) {
    TDeviceLockGuard lock;
    if (FPending) return SetResult(TDeviceError::Pending);
    if (!FStore) return SetResult(TDeviceError::DeviceLost);
    if (!MakeCurrent()) return SetResult(TDeviceError::InvalidCall);
    TDeviceError result = body();
    const TDeviceError glResult = TakeGLResult();
    if (result == TDeviceError::Ok) result = glResult;
    if (TakeInjectedDeviceLoss()) result = TDeviceError::DeviceLost;
    SetResult(result);
    if (result == TDeviceError::DeviceLost) LoseDevice();
    return result == TDeviceError::Ok;
  }
  bool MakeCurrent();
  void LoseDevice();
  void BindRenderTarget();
  T3DSurfaceGL* OwnSurface(T3DSurface* surface) const;
  void RestoreWindow();

  T3DEngineGL& FEngine;
  TDrawDevice& FOwner;
  TDevStore* FStore = nullptr;
  bool FPending = false;
  std::shared_ptr<TInitData> FInitData;
  TRendererSetup FSetup;
  std::unique_ptr<T3DTextureGL> FBackBuffer;
  T3DSurfaceGL* FRenderTarget = nullptr;
  TRect FViewport;
  uint32_t FFrameBegunMs = 0;  // process clock, at the frame's BeginScene
  float FMinZ = 0;
  float FMaxZ = 1;
  TBlendMode FBlendMode = TBlendMode::Add;
  bool FNoCulling = false;
  std::array<TMatrix4, 3> FTransforms{TMatrix4::Identity(), TMatrix4::Identity(), TMatrix4::Identity()};
  std::vector<TGLProgram> FPixelShaders;
  int FPixelShader = -1;
  std::array<float, 4 * kPixelShaderConstants> FConstants{};
};

}  // namespace kiv
