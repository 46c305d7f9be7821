#include "render/device/engine_gl.h"

#include <GLES3/gl3.h>
#include <SDL2/SDL.h>

#include <algorithm>

#include "base/log.h"
#include "render/device/dev_store.h"
#include "render/device/device_lock.h"
#include "render/device/draw_device.h"
#include "render/device/renderer_gl.h"
#include "render/device/sdl_window.h"

#ifndef GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT
#define GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT 0x84FF
#endif

namespace kiv {

namespace {
// OpenGL ES 3.0 fragment shaders stand where pixel shader model 3.0 stood.
constexpr uint32_t kPixelShaderVersion = 0xFFFF0300;
constexpr int kAnisotropyLimit = 4;
}  // namespace

std::unique_ptr<T3DEngineGL> T3DEngineGL::Create(TVideoMode mode) {
  std::unique_ptr<T3DEngineGL> engine(new T3DEngineGL(mode));
  if (!engine->FVideo.Started() || !engine->ReadCaps()) return nullptr;
  return engine;
}

T3DEngineGL::T3DEngineGL(TVideoMode mode) : FVideo(mode), FMainThread(std::this_thread::get_id()) {
  if (FVideo.Started()) FDeviceRequestEvent = SDL_RegisterEvents(1);
}

T3DEngineGL::~T3DEngineGL() = default;

bool T3DEngineGL::ReadCaps() {
  TOutputWindowPtr output = CreateDrawWindow({0, 0, 16, 16});
  if (!output) return false;
  SDL_Window* window = SdlWindowOf(output.get());
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) {
    Log().Write(std::string("GL context: ") + SDL_GetError());
    return false;
  }
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  FCaps.MaxTextureWidth = FCaps.MaxTextureHeight = maxSize;
  FCaps.PixelShaderVersion = kPixelShaderVersion;
  FCaps.RasterCaps = RasterCaps::MipLodBias;
  if (SDL_GL_ExtensionSupported("GL_EXT_texture_filter_anisotropic")) {
    GLfloat anisotropy = 0;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
    FCaps.MaxAnisotropy = int(anisotropy);
    if (FCaps.MaxAnisotropy > 1) FCaps.RasterCaps |= RasterCaps::Anisotropy;
  }
  FCaps.VendorId = VendorIdFromName(reinterpret_cast<const char*>(glGetString(GL_VENDOR)));
  if (!FCaps.VendorId) FCaps.VendorId = VendorIdFromName(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
  Log().Write(std::string("GL renderer: ") + reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
  SDL_GL_MakeCurrent(window, nullptr);
  SDL_GL_DeleteContext(context);
  return maxSize > 0;
}

int T3DEngineGL::FindAdapter(const TRect& rect) {
  int best = 0;
  int64_t bestArea = 0;
  for (int adapter = 0; adapter < SDL_GetNumVideoDisplays(); ++adapter) {
    TRect bounds;
    if (!GetAdapterRect(adapter, bounds)) continue;
    const int64_t area = Area(Intersection(bounds, rect));
    if (area > bestArea) {
      best = adapter;
      bestArea = area;
    }
  }
  SetResult(TDeviceError::Ok);
  return best;
}

int T3DEngineGL::GetCaps(std::string_view name, int adapter) {
  // Every display is driven by the same GL implementation: one record serves them all.
  if (adapter < 0 || adapter >= SDL_GetNumVideoDisplays()) {
    SetResult(TDeviceError::InvalidCall);
    return 0;
  }
  SetResult(TDeviceError::Ok);
  return FCaps.ByName(name);
}

bool T3DEngineGL::GetDisplayMode(int adapter, TDisplayMode& mode) {
  SDL_DisplayMode current;
  if (SDL_GetCurrentDisplayMode(adapter, &current) != 0) return SetResult(TDeviceError::InvalidCall);
  mode = {current.w, current.h, current.refresh_rate, current.format};
  return SetResult(TDeviceError::Ok);
}

bool T3DEngineGL::GetAdapterRect(int adapter, TRect& rect) {
  SDL_Rect bounds;
  if (SDL_GetDisplayBounds(adapter, &bounds) != 0) return SetResult(TDeviceError::InvalidCall);
  rect = {bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h};
  return SetResult(TDeviceError::Ok);
}

bool T3DEngineGL::CheckDevice() {
  TDeviceLockGuard lock;
  return !FSessionLocked;
}

void T3DEngineGL::SetSessionLocked(bool locked) {
  TDeviceLockGuard lock;
  FSessionLocked = locked;
}

int T3DEngineGL::GetShaderLevel(int) { return ShaderLevel(FCaps.PixelShaderVersion, FCaps.VendorId); }

void T3DEngineGL::PostToMainThread(std::function<void()> work) {
  {
    std::lock_guard<std::mutex> lock(FRequestLock);
    FRequests.push_back(std::move(work));
  }
  SDL_Event event{};
  event.type = FDeviceRequestEvent;
  SDL_PushEvent(&event);
}

int T3DEngineGL::ServeWithoutEventLoop() {
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  return ProcessDeviceRequests();
}

int T3DEngineGL::ProcessDeviceRequests() {
  int done = 0;
  for (;;) {
    std::function<void()> work;
    {
      std::lock_guard<std::mutex> lock(FRequestLock);
      if (FRequests.empty()) return done;
      work = std::move(FRequests.front());
      FRequests.pop_front();
    }
    work();
    ++done;
  }
}

std::unique_ptr<T3DRenderer> T3DEngineGL::CreateRenderer(TDrawDevice& owner, const TRendererParams& params) {
  auto renderer = std::make_unique<T3DRendererGL>(*this, owner);
  if (IsMainThread()) {
    const TDeviceError result = InternalCreateRenderer(*renderer, owner, params);
    renderer->CreationDone(result);
    SetResult(result);
    if (result != TDeviceError::Ok) return nullptr;
    return renderer;
  }
  std::shared_ptr<TInitData> request = renderer->MakePending(params);
  PostToMainThread([this, request] {
    TDeviceLockGuard lock;
    // A renderer disposed meanwhile has cleared its link; a window closed meanwhile has
    // taken its renderer's chance with it.
    T3DRendererGL* waiting = request->Renderer;
    if (!waiting) return;
    const TDeviceError result = request->OwnerAlive.expired()
                                ? TDeviceError::DeviceLost
                                : InternalCreateRenderer(*waiting, *request->Owner, request->Params);
    waiting->CreationDone(result);
  });
  SetResult(TDeviceError::Ok);
  return renderer;
}

TDeviceError T3DEngineGL::InternalCreateRenderer(T3DRendererGL& renderer, TDrawDevice& owner,
                                             const TRendererParams& params) {
  TDeviceLockGuard lock;
  const bool composition = DesktopCompositionEnabled();
  TRendererSetup setup;
  setup.Exclusive = !params.Windowed && ExclusiveModeAllowed(composition, FShowForbidsExclusive);
  setup.RefreshRate = params.RefreshRate;
  setup.MaxAnisotropy = (FCaps.RasterCaps & RasterCaps::Anisotropy) ? std::min(kAnisotropyLimit, FCaps.MaxAnisotropy) : 0;
  setup.SavedWindowRect = owner.Rect();
  SDL_Window* window = SdlWindowOf(owner.Window());
  if (setup.Exclusive) {
    SDL_DisplayMode mode{params.Format, params.Width, params.Height, params.RefreshRate, nullptr};
    SDL_SetWindowDisplayMode(window, &mode);
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN);
    setup.Width = params.Width;
    setup.Height = params.Height;
  } else {
    const TRect rect = owner.Rect();
    Log().WriteRect("T3DEngine9.InternalCreateRenderer: init windowed device: ", rect.Left, rect.Top, rect.Right,
                    rect.Bottom);
    setup.Width = rect.Width();
    setup.Height = rect.Height();
  }

  TDevStore* store = owner.Find<TDevStore>();
  const bool newStore = store == nullptr;
  if (newStore) {
    auto made = std::make_unique<TDevStore>(owner);
    store = made.get();
    owner.Attach(std::move(made));
  }
  TDeviceError result = TDeviceError::Ok;
  if (!(store->HasContext() ? store->MakeCurrent() : store->CreateContext())) result = TDeviceError::Other;
  if (result == TDeviceError::Ok) {
    // Vsync where the driver offers it; the renderer's own pacing (present_pacing.h) keeps
    // the frames to the refresh where it does not, or where it only says it does.
    const int interval = SwapIntervalFor(!setup.Exclusive, composition, FPresentIntervalMode);
    if (SDL_GL_SetSwapInterval(interval) != 0 && interval > 0) Log().Write("No vsync: presents paced by the clock");
    result = renderer.Attach(*store, setup);
    Log().WriteValue("Assigned renderer= ", int64_t(reinterpret_cast<intptr_t>(&renderer)));
  }
  Log().WriteValue("T3DEngine9.InternalCreateRenderer: create device res= ", int64_t(result));
  store->ReleaseCurrent();
  if (result != TDeviceError::Ok && newStore) {
    renderer.CreationDone(result);
    owner.Detach(store).reset();
  }
  return result;
}

}  // namespace kiv
