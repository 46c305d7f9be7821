#pragma once
// The show's window's handle on playback. It makes the engine with the first show,
// turns the window's requests (pause, seek, the pointer, dialogs) into engine requests,
// takes the engine's messages on the main thread and hands the actions among them on,
// places the window where the show asks and closes it when the show is over. Main
// thread only.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/draw_controller.h"
#include "engine/kiv_engine.h"
#include "engine/show_window.h"
#include "engine/window_placement.h"

namespace kiv {

class TKivSource;

// What the viewer builds its engine from.
struct TShowViewerParts {
  TSlideLoaderFactory MakeLoader;       // required
  TMusicPlayerFactory MakeMusicPlayer;  // none: the silent player on the program clock
  TThirdSlideFactory MakeThirdSlide;    // none: the show's own layer (its logo and navigation panel)
  // The drawing controller of a window with that client size; none: a window without drawer.
  std::function<std::unique_ptr<IKivDrawController>(TPixelSize client)> MakeController;
  std::u16string ProgramPath;  // the running program, for the show's run mode
  bool Cover = false;          // slides cover the window instead of fitting
  TPlacementOptions Placement;
};

class TKivShowViewer {
 public:
  // Messages of the engine go through mainThread, which must hand each back to
  // HandleMainMessage on this thread. window and mainThread outlive the viewer.
  TKivShowViewer(IShowWindow& window, IMainThreadPoster& mainThread, TShowViewerParts parts);
  // Stops the engine and its threads.
  ~TKivShowViewer();
  TKivShowViewer(const TKivShowViewer&) = delete;
  TKivShowViewer& operator=(const TKivShowViewer&) = delete;

  // Plays show from startMs. The engine plays copies of its files and project; show
  // itself must live as long as it is the viewer's show (slide times and the end of
  // the show are read from it).
  void OpenShowData(const TKivSource& show, double startMs);

  void SetPaused(bool paused);
  bool IsPaused() const { return FPaused; }
  // Ignored when negative.
  void SeekTime(int32_t ms);
  void SeekAndPause(int32_t ms, bool paused);
  void SetStopsEnabled(bool enabled);

  // The last position report, ms.
  int32_t Position() const { return FPosition; }
  int32_t Length() const { return FLength; }
  // Null before the first show.
  TKivEngine* Engine() const { return FEngine.get(); }
  // The show playing; null before the first.
  const TKivSource* Show() const { return FShow; }
  // What the engine published last; all clear before the first show.
  TEngineStatus Status() const { return FEngine ? FEngine->Status() : TEngineStatus{}; }

  // The pointer for the engine to hit-test, dropped while the engine does not run; with
  // an action to carry out when nothing under the pointer takes the event.
  void SendMouse(const TKivMouseRecord& mouse);
  void SendMouseAction(const TKivMouseRecord& mouse, const TKivActionInfo& action);
  void ShowHelp();
  void CloseDialog();
  // The picture of the current frame, for printing; dropped while the engine does not run.
  void RequestSnapshot();
  // Lets the show go on from the stop point it stands at.
  void ReleaseStop();

  // A message of the engine, delivered on the main thread.
  void HandleMainMessage(TKivEventData& message);

  // Actions of the engine (slide objects, the mouse, the overlay, timed slide actions).
  std::function<void(const TKivActionInfo& action)> OnAction;
  // The show ended and its window is to close ("opt_repeat" "close"); none: the window
  // closes at once.
  std::function<void()> OnShowEnd;
  // The picture a snapshot request asked for.
  std::function<void(std::unique_ptr<TBitmap> picture)> OnSnapshot;

 private:
  void CreateEngine(TPixelSize client);
  TWindowPlacement PlaceWindow(TPixelSize size, TWindowMode mode);
  void TakePosition(int32_t position, bool finished, int32_t length);
  void TakeEvent(TKivEventData& message);

  IShowWindow& FWindow;
  IMainThreadPoster& FMainThread;
  TShowViewerParts FParts;
  std::unique_ptr<TKivEngine> FEngine;
  const TKivSource* FShow = nullptr;
  bool FPaused = true;
  int32_t FPosition = 0;
  int32_t FLength = 0;
  bool FStopsEnabled = false;
};

}  // namespace kiv
