#include "render/device/renderer_gl.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>

#include "base/clock.h"
#include "base/errors.h"
#include "base/log.h"
#include "render/device/dev_store.h"
#include "render/device/draw_device.h"
#include "render/device/engine_gl.h"
#include "render/device/present_pacing.h"
#include "render/device/sdl_window.h"
#include "render/device/surface_gl.h"
#include "render/device/texture_gl.h"
#include "render/device/vertex_layout.h"
#include "render/device/vertex_list_gl.h"

namespace kiv {

namespace {

int FullMipChain(int width, int height) {
  int levels = 1;
  for (int side = std::max(width, height); side > 1; side >>= 1) ++levels;
  return levels;
}

void SetClearColour(uint32_t colour) {
  auto channel = [colour](int shift) { return float((colour >> shift) & 0xFF) / 255.0f; };
  glClearColor(channel(16), channel(8), channel(0), channel(24));
}

}  // namespace

T3DRendererGL::T3DRendererGL(T3DEngineGL& engine, TDrawDevice& owner) : FEngine(engine), FOwner(owner) {}

T3DRendererGL::~T3DRendererGL() {
  TDeviceLockGuard lock;
  if (FInitData) {
    Log().Write("intdata.renderer:=nil");
    FInitData->Renderer = nullptr;
  }
  FBackBuffer.reset();
  if (!FStore) return;
  for (const TGLProgram& shader : FPixelShaders) FStore->DeleteProgramLater(shader.Name);
  FStore->RemoveRenderer(this);
  if (FSetup.Exclusive) {
    // The exclusive device goes with its renderer and the window returns to its place.
    RestoreWindow();
    TDevStore* store = FStore;
    FStore = nullptr;
    FOwner.Detach(store).reset();
    return;
  }
  FStore->ReleaseCurrent();
}

std::shared_ptr<TInitData> T3DRendererGL::MakePending(const TRendererParams& params) {
  TDeviceLockGuard lock;
  FPending = true;
  SetResult(TDeviceError::Pending);
  FInitData = std::make_shared<TInitData>();
  FInitData->Owner = &FOwner;
  FInitData->OwnerAlive = FOwner.AliveToken();
  FInitData->Params = params;
  FInitData->Renderer = this;
  return FInitData;
}

TDeviceError T3DRendererGL::Attach(TDevStore& store, const TRendererSetup& setup) {
  FSetup = setup;
  FStore = &store;
  store.AddRenderer(this);
  FBackBuffer = std::make_unique<T3DTextureGL>(store, TTextureKind::RenderTargetXrgb, setup.Width, setup.Height, 1);
  if (setup.Width <= 0 || setup.Height <= 0 || !FBackBuffer->Allocate()) return TDeviceError::InvalidCall;
  FRenderTarget = static_cast<T3DSurfaceGL*>(FBackBuffer->GetLevel(0));
  FViewport = FRenderTarget->Bounds();
  return store.FixedProgram({}) ? TDeviceError::Ok : TDeviceError::Other;
}

void T3DRendererGL::CreationDone(TDeviceError result) {
  TDeviceLockGuard lock;
  FPending = false;
  FInitData.reset();
  if (result != TDeviceError::Ok && FStore) {
    FBackBuffer.reset();
    FStore->RemoveRenderer(this);
    FStore = nullptr;
    FRenderTarget = nullptr;
  }
  SetResult(result == TDeviceError::Ok ? result : TDeviceError::DeviceLost);
}

bool T3DRendererGL::MakeCurrent() { return FStore->MakeCurrent(); }

void T3DRendererGL::StoreGone() {
  FStore = nullptr;
  FRenderTarget = nullptr;
  FPixelShaders.clear();
  FPixelShader = -1;
}

void T3DRendererGL::LoseDevice() {
  Log().Write("T3DRenderer9: DEVICE LOST!");
  TDevStore* store = FStore;
  FOwner.Detach(store).reset();
  // The store said goodbye to every renderer on it; this one keeps no device.
  FStore = nullptr;
}

void T3DRendererGL::RestoreWindow() {
  SDL_Window* window = SdlWindowOf(FOwner.Window());
  const TRect rect = FSetup.SavedWindowRect;
  auto restore = [window, rect] {
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowPosition(window, rect.Left, rect.Top);
    SDL_SetWindowSize(window, std::max(1, rect.Width()), std::max(1, rect.Height()));
  };
  if (FEngine.IsMainThread()) {
    restore();
    return;
  }
  Log().Write("T3DRenderer9.Dispose: exclusive mode, not main thread");
  FEngine.PostToMainThread([restore, alive = FOwner.AliveToken()] {
    if (!alive.expired()) restore();
  });
}

bool T3DRendererGL::IsPending() {
  TDeviceLockGuard lock;
  return FPending;
}

bool T3DRendererGL::HasDevice() {
  TDeviceLockGuard lock;
  return FStore != nullptr;
}

void T3DRendererGL::BindRenderTarget() {
  glBindFramebuffer(GL_FRAMEBUFFER, FRenderTarget->Framebuffer());
  // Row 0 of every target is its top row, so y needs no turning here.
  glViewport(FViewport.Left, FViewport.Top, FViewport.Width(), FViewport.Height());
  glDepthRangef(FMinZ, FMaxZ);
}

T3DSurfaceGL* T3DRendererGL::OwnSurface(T3DSurface* surface) const {
  auto* own = dynamic_cast<T3DSurfaceGL*>(surface);
  return own && own->Store() == FStore ? own : nullptr;
}

bool T3DRendererGL::BeginScene() {
  FFrameBegunMs = Clock().NowMs();
  return Run([&] {
    BindRenderTarget();
    return TDeviceError::Ok;
  });
}

bool T3DRendererGL::EndScene() {
  return Run([&] {
    glFlush();
    return TDeviceError::Ok;
  });
}

bool T3DRendererGL::Present(const TRect* sourceRects, int count, const TRect* destRects) {
  const bool missed = MissedFrameTime(FSetup.RefreshRate, Clock().NowMs() - FFrameBegunMs);
  {
    // The wait holds neither the device lock (which the frame drawn before it took) nor
    // the context: loaders may use the device meanwhile, and the main thread may make
    // renderers.
    ReleaseContext();
    TDeviceLockRelease unlocked;
    WaitBeforePresent(FSetup.RefreshRate);
  }
  const bool presented = Run([&] {
    // Offscreen no window is ever seen: a frame is done once drawn, and read from the back
    // buffer, so copying it to the window would only cost time.
    if (!FEngine.ShowsWindows()) return TDeviceError::Ok;
    T3DSurfaceGL& back = *static_cast<T3DSurfaceGL*>(FBackBuffer->GetLevel(0));
    int windowWidth = 0, windowHeight = 0;
    SDL_GL_GetDrawableSize(SdlWindowOf(FOwner.Window()), &windowWidth, &windowHeight);
    const bool whole = FSetup.Exclusive || count <= 0 || !sourceRects || !destRects;
    const TRect source = whole ? back.Bounds() : sourceRects[0];
    const TRect dest = whole ? TRect{0, 0, windowWidth, windowHeight} : destRects[0];
    glBindFramebuffer(GL_READ_FRAMEBUFFER, back.Framebuffer());
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    // The window's rows run bottom-up: the copy turns the picture over.
    glBlitFramebuffer(source.Left, source.Top, source.Right, source.Bottom, dest.Left, windowHeight - dest.Top,
                      dest.Right, windowHeight - dest.Bottom, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    SDL_GL_SwapWindow(SdlWindowOf(FOwner.Window()));
    return TDeviceError::Ok;
  });
  MarkPresented(missed);
  return presented;
}

bool T3DRendererGL::Clear(const TRect* rects, int count, uint32_t flags, uint32_t colour, float) {
  // There is no depth buffer, so only the target is ever cleared.
  return Run([&] {
    if (!(flags & ClearFlag::Target)) return TDeviceError::Ok;
    BindRenderTarget();
    SetClearColour(colour);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glEnable(GL_SCISSOR_TEST);
    const int areas = rects ? count : 0;
    for (int i = 0; i < std::max(areas, 1); ++i) {
      const TRect area = areas ? Intersection(rects[i], FViewport) : FViewport;
      if (area.IsEmpty()) continue;
      glScissor(area.Left, area.Top, area.Width(), area.Height());
      glClear(GL_COLOR_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
    return TDeviceError::Ok;
  });
}

bool T3DRendererGL::SetRenderTarget(T3DSurface* surface) {
  return Run([&] {
    T3DSurfaceGL* target = OwnSurface(surface);
    if (!target) return TDeviceError::InvalidCall;
    FRenderTarget = target;
    // Whatever is drawn into it may bring a lower alpha.
    target->Texture().PixelsOverwritten();
    // A new target is seen whole until a viewport says otherwise.
    FViewport = target->Bounds();
    return TDeviceError::Ok;
  });
}

T3DSurface* T3DRendererGL::GetRenderTarget() {
  TDeviceLockGuard lock;
  SetResult(FStore ? TDeviceError::Ok : TDeviceError::DeviceLost);
  return FRenderTarget;
}

T3DSurface* T3DRendererGL::GetBackBuffer() {
  TDeviceLockGuard lock;
  if (!FStore || !FBackBuffer) {
    SetResult(FPending ? TDeviceError::Pending : TDeviceError::DeviceLost);
    return nullptr;
  }
  SetResult(TDeviceError::Ok);
  return FBackBuffer->GetLevel(0);
}

bool T3DRendererGL::SetViewport(const TRect& rect, float minZ, float maxZ) {
  return Run([&] {
    if (rect.IsEmpty() || Intersection(rect, FRenderTarget->Bounds()) != rect) return TDeviceError::InvalidCall;
    FViewport = rect;
    FMinZ = minZ;
    FMaxZ = maxZ;
    return TDeviceError::Ok;
  });
}

bool T3DRendererGL::DrawVertexList(T3DTexture* const* textures, int count, uint32_t flags, T3DVertexList& list) {
  return Run([&] {
    auto* vertices = dynamic_cast<T3DVertexListGL*>(&list);
    if (!vertices || vertices->Store() != FStore) return TDeviceError::InvalidCall;
    const int stages = (flags & DrawFlag::Textured) ? count : 0;
    if (stages < 0 || stages > kMaxTextureSets) return TDeviceError::InvalidCall;
    std::array<T3DTextureGL*, kMaxTextureSets> bound{};
    for (int i = 0; i < stages; ++i) {
      bound[size_t(i)] = dynamic_cast<T3DTextureGL*>(textures[i]);
      if (!bound[size_t(i)] || bound[size_t(i)]->Store() != FStore || !bound[size_t(i)]->ApplyPending())
        return TDeviceError::InvalidCall;
    }
    TFixedStages fixed{stages, (flags & DrawFlag::VertexColour) != 0, (flags & DrawFlag::AlphaModulation) != 0, 0, 0};
    std::array<float, kMaxTextureSets> lodBias{};
    // The fixed stages give alpha 1 when every texture reads opaque where it is sampled
    // and, where alpha is modulated, the vertex colours are opaque too: such a draw blended
    // over the target writes exactly what it writes unblended, and unblended costs no read.
    bool opaque = stages > 0 && FPixelShader < 0 && FBlendMode != TBlendMode::Maximum &&
                  (!fixed.ModulateAlpha || vertices->OpaqueDiffuse());
    for (int i = 0; i < stages; ++i) {
      const T3DTextureGL& texture = *bound[size_t(i)];
      const TRect whole{0, 0, texture.LevelWidth(0), texture.LevelHeight(0)};
      opaque = opaque && (texture.OpaqueArea() == whole ||
                          (!texture.MipFiltered(FSetup.MaxAnisotropy) &&
                           vertices->SamplesWithin(FTransforms, FViewport, i, whole.Right, whole.Bottom,
                                                   texture.OpaqueArea())));
      if (texture.Kind() == TTextureKind::RenderTargetXrgb) fixed.OpaqueStages |= 1 << i;
      if (FSetup.MaxAnisotropy > 0 && texture.MipMapped()) lodBias[size_t(i)] = texture.MipLodBias();
      if (texture.MipFiltered(FSetup.MaxAnisotropy)) fixed.BiasedStages |= 1 << i;
    }
    const TGLProgram* program = FPixelShader >= 0 ? &FPixelShaders[size_t(FPixelShader)] : FStore->FixedProgram(fixed);
    if (!program) return TDeviceError::Other;

    BindRenderTarget();
    glUseProgram(program->Name);
    glUniformMatrix4fv(program->World, 1, GL_FALSE, &FTransforms[0].M[0][0]);
    glUniformMatrix4fv(program->View, 1, GL_FALSE, &FTransforms[1].M[0][0]);
    glUniformMatrix4fv(program->Projection, 1, GL_FALSE, &FTransforms[2].M[0][0]);
    for (int i = 0; i < stages; ++i) bound[size_t(i)]->Bind(i, FSetup.MaxAnisotropy);
    if (program->LodBias >= 0) glUniform1fv(program->LodBias, kMaxTextureSets, lodBias.data());
    if (program->Constants >= 0) glUniform4fv(program->Constants, kPixelShaderConstants, FConstants.data());

    if (opaque) {
      glDisable(GL_BLEND);
    } else {
      glEnable(GL_BLEND);
    }
    glBlendEquation(FBlendMode == TBlendMode::Maximum ? GL_MAX : GL_FUNC_ADD);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    if (FNoCulling) {
      glDisable(GL_CULL_FACE);
    } else {
      // Screen y grows downwards in the stored rows, so what looks counter-clockwise on
      // screen is clockwise to GL: the back face.
      glEnable(GL_CULL_FACE);
      glFrontFace(GL_CCW);
      glCullFace(GL_BACK);
    }
    const bool drawn = vertices->Draw();
    for (int i = stages - 1; i >= 0; --i) {
      glActiveTexture(GL_TEXTURE0 + GLenum(i));
      glBindTexture(GL_TEXTURE_2D, 0);
    }
    glUseProgram(0);
    return drawn ? TDeviceError::Ok : TDeviceError::InvalidCall;
  });
}

std::unique_ptr<T3DTexture> T3DRendererGL::CreateTexture(TTextureKind kind, int width, bool mipMapped, int height) {
  KIV_ASSERT(uint8_t(kind) < kTextureKindCount);
  std::unique_ptr<T3DTextureGL> texture;
  Run([&] {
    const int maxSide = FEngine.Caps().MaxTextureWidth;
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide) return TDeviceError::InvalidCall;
    const bool chain = mipMapped && FSetup.MaxAnisotropy > 0 && !IsRenderTargetKind(kind);
    texture = std::make_unique<T3DTextureGL>(*FStore, kind, width, height, chain ? FullMipChain(width, height) : 1);
    if (texture->Allocate()) return TDeviceError::Ok;
    texture.reset();
    return TDeviceError::Other;
  });
  if (LastError() != TDeviceError::Ok) texture.reset();
  return texture;
}

std::unique_ptr<T3DVertexList> T3DRendererGL::CreateVertexList(int vertexCount, uint32_t options, int textureSets) {
  // Only memory is made here; the GL buffer follows at the first draw.
  TDeviceLockGuard lock;
  if (!FStore) {
    SetResult(FPending ? TDeviceError::Pending : TDeviceError::DeviceLost);
    return nullptr;
  }
  if (vertexCount <= 0 || textureSets < 0 || textureSets > kMaxTextureSets) {
    SetResult(TDeviceError::InvalidCall);
    return nullptr;
  }
  SetResult(TDeviceError::Ok);
  return std::make_unique<T3DVertexListGL>(*FStore, vertexCount, MakeVertexLayout(options, textureSets));
}

bool T3DRendererGL::StretchRect(T3DSurface& source, T3DSurface& dest, int count, const TRect* sourceRects,
                                const TRect* destRects) {
  auto* from = dynamic_cast<T3DSurfaceGL*>(&source);
  auto* to = dynamic_cast<T3DSurfaceGL*>(&dest);
  KIV_ASSERT(from && to);
  return Run([&] {
    if (from->Store() != FStore || to->Store() != FStore || from == to) return TDeviceError::InvalidCall;
    const bool whole = count <= 0 || !sourceRects || !destRects;
    const TRect s = whole ? from->Bounds() : sourceRects[0];
    const TRect d = whole ? to->Bounds() : destRects[0];
    if (Intersection(s, from->Bounds()) != s || Intersection(d, to->Bounds()) != d || s.IsEmpty() || d.IsEmpty())
      return TDeviceError::InvalidCall;
    if (!from->Texture().ApplyPending() || !to->Texture().ApplyPending()) return TDeviceError::Other;
    // Making a framebuffer binds it, so both are made before either is bound.
    const GLuint read = from->Framebuffer();
    const GLuint draw = to->Framebuffer();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, read);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, draw);
    glBlitFramebuffer(s.Left, s.Top, s.Right, s.Bottom, d.Left, d.Top, d.Right, d.Bottom, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    to->Texture().PixelsOverwritten();
    return TDeviceError::Ok;
  });
}

bool T3DRendererGL::SetBlendMode(TBlendMode mode) {
  return Run([&] {
    FBlendMode = mode;
    return TDeviceError::Ok;
  });
}

bool T3DRendererGL::SetTransform(TTransformKind kind, const TMatrix4& matrix) {
  KIV_ASSERT(uint8_t(kind) <= uint8_t(TTransformKind::Projection));
  return Run([&] {
    FTransforms[size_t(kind)] = matrix;
    return TDeviceError::Ok;
  });
}

bool T3DRendererGL::SetCulling(bool noCulling) {
  return Run([&] {
    FNoCulling = noCulling;
    return TDeviceError::Ok;
  });
}

void T3DRendererGL::GetTexelOffset(float& x, float& y) {
  // GL puts texel centres on pixel centres.
  x = 0;
  y = 0;
}

bool T3DRendererGL::CreatePixelShader(std::string_view source, int& index) {
  return Run([&] {
    TGLProgram program = BuildProgram(source);
    if (!program.Name) return TDeviceError::InvalidCall;
    FPixelShaders.push_back(program);
    index = int(FPixelShaders.size()) - 1;
    return TDeviceError::Ok;
  });
}

bool T3DRendererGL::SetPixelShader(int index) {
  TDeviceLockGuard lock;
  if (index < 0 || index >= int(FPixelShaders.size()) || !FPixelShaders[size_t(index)].Name)
    return SetResult(TDeviceError::InvalidCall);
  return Run([&] {
    FPixelShader = index;
    return TDeviceError::Ok;
  });
}

bool T3DRendererGL::ResetPixelShader() {
  return Run([&] {
    FPixelShader = -1;
    return TDeviceError::Ok;
  });
}

bool T3DRendererGL::SetPixelShaderConstants(int startRegister, const float* data, int count) {
  return Run([&] {
    if (startRegister < 0 || count < 0 || startRegister + count > kPixelShaderConstants)
      return TDeviceError::InvalidCall;
    std::memcpy(FConstants.data() + 4 * startRegister, data, sizeof(float) * 4 * size_t(count));
    return TDeviceError::Ok;
  });
}

std::unique_ptr<TBitmap> T3DRendererGL::CopyRenderTarget(T3DSurface& surface) {
  int width = 0, height = 0;
  if (!surface.GetSize(width, height) || !AllowedPictureSize(width, height)) return nullptr;
  auto copy = std::make_unique<TBitmap>(width, height, TPixelFormat::Bgra32);
  if (!CopyRenderTarget(surface, *copy)) return nullptr;
  return copy;
}

bool T3DRendererGL::CopyRenderTarget(T3DSurface& surface, TBitmap& target) {
  return Run([&] {
    T3DSurfaceGL* own = OwnSurface(&surface);
    const bool served = target.Format() == TPixelFormat::Bgra32 || target.Format() == TPixelFormat::Bgr24;
    if (!own || !served || target.Width() != own->Width() || target.Height() != own->Height())
      return TDeviceError::InvalidCall;
    return own->ReadPixels(own->Bounds(), target) ? TDeviceError::Ok : TDeviceError::Other;
  });
}

void T3DRendererGL::ReleaseContext() {
  TDeviceLockGuard lock;
  if (FStore) FStore->ReleaseCurrent();
}

}  // namespace kiv
