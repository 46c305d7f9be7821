#include "kivshow/show_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <condition_variable>
#include <mutex>
#include <string>

#include "engine/drawing_controller.h"
#include "engine/engine_messages.h"
#include "engine/kiv_slide_loader.h"
#include "engine/kiv_third_slide.h"
#include "kivshow/frame_capture_controller.h"
#include "model/kiv_source.h"
#include "model/slide_host.h"
#include "model/standard_object_kinds.h"
#include "model/video_clips.h"
#include "render/transitions/transition_factory.h"

namespace kiv {

namespace {

// Of the engine's messages to the main thread only the snapshot means something to a
// render; first frame, positions and window geometry are dropped.
class TSnapshotPoster : public IMainThreadPoster {
 public:
  void PostToMain(std::unique_ptr<TKivEventData> message) override {
    if (message->Code != kSnapshotMessage) return;
    std::lock_guard lock(FLock);
    FPicture = std::move(message->Picture);
    FCame.notify_all();
  }
  // The snapshot that came, waiting at most wait for one; null when none came.
  std::unique_ptr<TBitmap> Take(std::chrono::milliseconds wait) {
    std::unique_lock lock(FLock);
    FCame.wait_for(lock, wait, [this] { return FPicture != nullptr; });
    return std::move(FPicture);
  }

 private:
  std::mutex FLock;
  std::condition_variable FCame;
  std::unique_ptr<TBitmap> FPicture;
};

// The show's layer in a render, as it looks while the show plays: a dialog open from
// the start is shown fully at once, and never holds the show, whose time the render
// moves; the panel's pause button shows the playing show whether or not the render
// stands still for a frame; the panel hides on the show's time as for a viewer who has
// not moved the mouse since the show began, so that a frame looks the same wherever the
// render started.
class TRenderedLayer : public TThirdSlide {
 public:
  TRenderedLayer(const TThirdSlideParams& params, std::u16string_view dialog) : TThirdSlide(Playing(params)) {
    if (dialog.empty()) return;
    OpenDialog(dialog);
    EndDialogFades();
  }
  bool HoldsShow() const override { return false; }

 private:
  static TThirdSlideParams Playing(TThirdSlideParams params) {
    params.IsPlaying = [] { return true; };
    params.PanelOnShowTime = true;
    return params;
  }
};

TSlideLoaderFactory StandardSlideLoaders() {
  return [](const TSlideLoaderParams& params) {
    // Every frame of the render shows its clips at exactly the frame its time asks for.
    return MakeKivSlideLoader(params, StandardObjectKinds(), [](TKivSlideHost& host) {
      InstallStandardPictureProviders(host);
      host.Videos().SetFrameWaitMs(kExactFrameWaitMs);
    });
  };
}

}  // namespace

TSteppedClock& TShowRenderer::RenderClock() {
  static TSteppedClock* clock = new TSteppedClock(0);
  return *clock;
}

std::unique_ptr<T3DEngineGL> StartRenderGraphics() {
  std::unique_ptr<T3DEngineGL> graphics = T3DEngineGL::Create(TVideoMode::Offscreen);
  if (!graphics) throw EKivError("no video to draw with: " + VideoError());
  return graphics;
}

TShowRenderer::TShowRenderer(T3DEngineGL& graphics, const TKivSource& show, TPixelSize size, double startMs,
                             std::shared_ptr<ISoundTape> tape, TRenderLayer layer)
    : FSound(std::make_unique<TRenderSound>(FClock, startMs, std::move(tape))),
      FGraphics(graphics),
      FMainThread(std::make_unique<TSnapshotPoster>()) {
  const TRect rect{0, 0, size.Width, size.Height};
  FWindow = CreateDrawWindow(rect, "kivshow render");
  if (!FWindow) throw EKivError("no window to draw into: " + VideoError());
  FDevice = std::make_unique<TDrawDevice>(FWindow.get(), rect);

  SetTransitionFactory(StandardTransitions());
  auto drawing = std::make_unique<TDrawingController>(FGraphics, *FDevice);
  TDrawingController& drawn = *drawing;
  auto capture = std::make_unique<TFrameCaptureController>(std::move(drawing), show);
  FCapture = capture.get();
  drawn.SetFrameDrawn([capture = FCapture](double showTime, T3DDrawer& drawer) { capture->FrameDrawn(showTime, drawer); });

  TKivEngineParts parts;
  parts.Controller = std::move(capture);
  parts.MakeLoader = StandardSlideLoaders();
  parts.MakeMusicPlayer = FSound->Players();
  if (layer.Shown)
    parts.MakeThirdSlide = [dialog = std::move(layer.Dialog)](const TThirdSlideParams& params) {
      return std::make_unique<TRenderedLayer>(params, dialog);
    };
  FEngine = std::make_unique<TKivEngine>(std::move(parts), *FMainThread);
  FEngine->Start();
  // Opened on the engine's thread, so that the drawer is made on the drawing thread.
  auto accessor = show.Container() ? std::make_unique<TFileAccessor>(*show.Container()) : nullptr;
  auto project = std::make_unique<TIniStorage>();
  project->Assign(show.Document());
  FEngine->RequestOpen(std::move(accessor), std::move(project), startMs);
  FEngine->RequestPause(false);
}

// The engine goes first and stops its threads; then the window, and the sound.
TShowRenderer::~TShowRenderer() = default;

void TShowRenderer::ServeMainThread() {
  FGraphics.ServeWithoutEventLoop();
}

// The show time follows the clock while the engine runs, and stands while it waits (for
// slides, or for a device). The clock moves by what is missing to ms, judged by a frame
// composed after the previous move took effect (two composes on), so a move made while
// the engine stood still is made good once it runs, and no move is counted twice.
//
// The clock stands until the engine has made the show's music player, so that the
// sound takes the same first step in every run, however the threads start.
void TShowRenderer::SteerClockTo(double ms) {
  if (!FSound->PlayerMade()) return;
  const TFrameCaptureController::TComposed composed = FCapture->LastComposed();
  if (composed.Count < FSteeredAt + 2 || composed.Time >= ms) return;
  FSound->Advance(uint32_t(std::lround(ms - composed.Time)), ms);
  FSteeredAt = composed.Count;
}

std::unique_ptr<TBitmap> TShowRenderer::FrameAt(double ms) { return std::move(*Draw(ms, true)); }

void TShowRenderer::DrawAt(double ms) { Draw(ms, false); }

std::unique_ptr<TBitmap> TShowRenderer::SnapshotAt(double ms) {
  Draw(ms, false);
  auto& poster = static_cast<TSnapshotPoster&>(*FMainThread);
  FEngine->RequestSnapshot();
  const auto deadline = std::chrono::steady_clock::now() + kFrameTimeout;
  while (std::chrono::steady_clock::now() < deadline) {
    ServeMainThread();
    if (std::unique_ptr<TBitmap> picture = poster.Take(std::chrono::milliseconds(2))) return picture;
  }
  throw EKivError("no snapshot at " + std::to_string(std::lround(ms)) + " ms within " +
                  std::to_string(kFrameTimeout.count()) + " s");
}

std::optional<std::unique_ptr<TBitmap>> TShowRenderer::Draw(double ms, bool readBack) {
  FCapture->Want(ms, readBack);
  const auto deadline = std::chrono::steady_clock::now() + kFrameTimeout;
  while (std::chrono::steady_clock::now() < deadline) {
    ServeMainThread();
    SteerClockTo(ms);
    if (std::optional<std::unique_ptr<TBitmap>> frame = FCapture->TakeFrame(std::chrono::milliseconds(2))) return frame;
  }
  throw EKivError("no complete frame at " + std::to_string(std::lround(ms)) + " ms within " +
                  std::to_string(kFrameTimeout.count()) + " s");
}

}  // namespace kiv
