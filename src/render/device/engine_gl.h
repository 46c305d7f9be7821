#pragma once
// The engine over SDL and OpenGL ES 3.0, on a display or offscreen. Made once on the main thread, which also makes
// every device: a renderer asked for on another thread comes back pending, and the main
// thread carries out the request when its event loop sees DeviceRequestEvent (or calls
// ProcessDeviceRequests). Capabilities are read once at start from a small hidden
// context.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "render/device/caps_wrapper.h"
#include "render/device/display_environment.h"
#include "render/device/engine_3d.h"
#include "render/device/video_system.h"

namespace kiv {

class T3DRendererGL;
class TDevStore;

class T3DEngineGL : public T3DEngine {
 public:
  // On the main thread. Null when there is no video (nothing is drawn then).
  static std::unique_ptr<T3DEngineGL> Create(TVideoMode mode = TVideoMode::Display);
  ~T3DEngineGL() override;

  int FindAdapter(const TRect& rect) override;
  int GetCaps(std::string_view name, int adapter) override;
  bool GetDisplayMode(int adapter, TDisplayMode& mode) override;
  bool GetAdapterRect(int adapter, TRect& rect) override;
  std::unique_ptr<T3DRenderer> CreateRenderer(TDrawDevice& owner, const TRendererParams& params) override;
  bool CheckDevice() override;
  int GetShaderLevel(int adapter) override;

  const TCapsWrapper& Caps() const { return FCaps; }
  // False offscreen, where windows are only drawn into and never seen.
  bool ShowsWindows() const { return FVideo.Mode() == TVideoMode::Display; }
  bool IsMainThread() const { return std::this_thread::get_id() == FMainThread; }
  // The SDL event type pushed when a request waits for the main thread.
  uint32_t DeviceRequestEvent() const { return FDeviceRequestEvent; }
  // Queues work for the main thread and wakes its event loop.
  void PostToMainThread(std::function<void()> work);
  // Main thread: runs the queued requests; returns how many ran.
  int ProcessDeviceRequests();
  // Main thread of a program without an event loop: drops every queued event (the
  // requests' wake-ups among them) and runs the queued requests.
  int ServeWithoutEventLoop();

  // Session lock notices are not delivered on this system; whoever learns of a locked
  // session may say so here, and no renderer is made meanwhile.
  void SetSessionLocked(bool locked);
  // The show's "opt_scr_noexclusive": full screen then runs in a window.
  void SetShowForbidsExclusive(bool forbids) { FShowForbidsExclusive = forbids; }
  void SetPresentIntervalMode(TPresentIntervalMode mode) { FPresentIntervalMode = mode; }

 private:
  explicit T3DEngineGL(TVideoMode mode);
  bool ReadCaps();
  TDeviceError InternalCreateRenderer(T3DRendererGL& renderer, TDrawDevice& owner, const TRendererParams& params);

  TVideoSystem FVideo;
  std::thread::id FMainThread;
  TCapsWrapper FCaps;
  uint32_t FDeviceRequestEvent = 0;
  std::mutex FRequestLock;
  std::deque<std::function<void()>> FRequests;
  bool FSessionLocked = false;
  bool FShowForbidsExclusive = false;
  TPresentIntervalMode FPresentIntervalMode = TPresentIntervalMode::Default;
};

}  // namespace kiv
