#pragma once
// Plays a show through the real engine, slide loader and drawer into a hidden window,
// on a stepped clock that only the renderer moves: for each wanted time the show stands
// still until the frame for that time is complete, so the same show and size give the
// same frames every run.
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "base/clock.h"
#include "engine/kiv_engine.h"
#include "base/rect.h"
#include "graphics/bitmap.h"
#include "kivshow/render_sound.h"
#include "render/device/draw_device.h"
#include "render/device/engine_gl.h"
#include "render/device/output_window.h"

namespace kiv {

class TFrameCaptureController;

// What a render draws above the slides.
struct TRenderLayer {
  bool Shown = false;     // the show's logo and navigation panel
  std::u16string Dialog;  // the show's dialog of that name, open from the start; empty: none
};

// The video the renderer draws with, made on the calling thread (which must then serve
// it, as FrameAt does). It is always offscreen, whatever display the environment
// names, so no display is needed. Raises EKivError when there is no video.
std::unique_ptr<T3DEngineGL> StartRenderGraphics();

class TShowRenderer {
 public:
  // How long one frame may take in real time before the render gives up.
  static constexpr std::chrono::seconds kFrameTimeout{60};

  // Opens show at startMs in a hidden window of size. graphics and show must outlive
  // the renderer. The show's music plays on the render's clock; when a tape is given,
  // its mix is laid on it. Raises EKivError when no window can be drawn into.
  // layer tells what is drawn above the slides: nothing by default.
  TShowRenderer(T3DEngineGL& graphics, const TKivSource& show, TPixelSize size, double startMs,
                std::shared_ptr<ISoundTape> tape = nullptr, TRenderLayer layer = {});
  ~TShowRenderer();
  TShowRenderer(const TShowRenderer&) = delete;
  TShowRenderer& operator=(const TShowRenderer&) = delete;

  // The frame of show time ms as a Bgr24 picture of the window's size. Times must not
  // go back. Raises EKivError when the frame does not come within kFrameTimeout.
  std::unique_ptr<TBitmap> FrameAt(double ms);
  // The same, without reading the frame back: for timing the drawing alone.
  void DrawAt(double ms);
  // The picture the player prints at show time ms: the slides alone (no logo, panel or
  // dialog), at the show's own size, as the engine renders it on a print request.
  std::unique_ptr<TBitmap> SnapshotAt(double ms);

 private:
  // Puts the stepped clock in place of the process clock for the renderer's lifetime.
  class TClockInstall {
   public:
    explicit TClockInstall(IClock& clock) : FPrevious(SetClock(&clock)) {}
    ~TClockInstall() { SetClock(FPrevious); }

   private:
    IClock* FPrevious;
  };

  // Waits until the frame of ms was drawn (and read back when readBack).
  std::optional<std::unique_ptr<TBitmap>> Draw(double ms, bool readBack);
  // The main thread's part: device requests of the drawing thread, window events.
  void ServeMainThread();
  // Moves the clock to ms once the engine has shown where it stands.
  void SteerClockTo(double ms);

  // One clock for every render of the process, never freed: the sound's process-wide
  // reaper may still be reading the clock as a render puts the previous one back.
  static TSteppedClock& RenderClock();

  TSteppedClock& FClock = RenderClock();
  TClockInstall FClockInstall{FClock};
  std::unique_ptr<TRenderSound> FSound;
  T3DEngineGL& FGraphics;
  TOutputWindowPtr FWindow;
  std::unique_ptr<TDrawDevice> FDevice;
  std::unique_ptr<IMainThreadPoster> FMainThread;
  TFrameCaptureController* FCapture = nullptr;  // owned by the engine
  std::unique_ptr<TKivEngine> FEngine;
  int64_t FSteeredAt = -2;  // the compose count at the last move of the clock
};

}  // namespace kiv
