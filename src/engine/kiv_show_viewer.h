#pragma once
// The show's window's handle on playback. It makes the engine with the first show,
// turns the window's requests (keys, actions, pause, seek) into engine requests, takes
// the engine's messages on the main thread, places the window where the show asks and
// closes it when the show is over. Main thread only.
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
  TThirdSlideFactory MakeThirdSlide;    // none: no overlay
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

  // A message of the engine, delivered on the main thread.
  void HandleMainMessage(TKivEventData& message);
  // A key pressed in the show's window (virtual key code).
  void OnKey(int keyCode);
  // Exit and the moves to the previous and the next slide; other actions are not
  // carried out here.
  void CarryOutAction(const TKivActionInfo& action);

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
  bool FControlPermitted = true;  // the show lets the user move it ("opt_synchpermitcontrol")
};

}  // namespace kiv
