#pragma once
// The playback engine: owns the show clock and plays the show on its own thread. Each
// turn it takes the requests of the main thread and the slide lists of the loader,
// decides whether the clock may run, moves it on (stopping at stop points), fires timed
// slide actions, draws a frame and reports the position to the main thread.
//
// The main thread reaches the engine only through requests (the Request* operations,
// SetVolume, SetStopsEnabled) and reads it only through the position reports and
// Status().
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "container/file_accessor.h"
#include "engine/custom_kiv_engine.h"
#include "engine/draw_controller.h"
#include "engine/engine_status.h"
#include "engine/kiv_mouse.h"
#include "engine/music_player.h"
#include "engine/open_params.h"
#include "engine/show_timing.h"
#include "engine/slide_loader.h"
#include "engine/stop_points.h"
#include "engine/third_slide.h"
#include "ini/ini_storage.h"
#include "model/kiv_source.h"

namespace kiv {

// The pieces the engine drives.
struct TKivEngineParts {
  std::unique_ptr<IKivDrawController> Controller;  // required
  TSlideLoaderFactory MakeLoader;                  // required
  TMusicPlayerFactory MakeMusicPlayer;             // none: the silent player on the program clock
  TThirdSlideFactory MakeThirdSlide;               // none: no overlay
  std::u16string ProgramPath;                      // the running program, for the show's run mode
  bool Cover = false;                              // slides cover the window instead of fitting
};

// How long a freshly opened show's window waits for its first frame before it shows in
// the hider colour (a show without slides does not wait).
inline constexpr uint32_t kFirstFrameWaitMs = 3000;

class TKivEngine : public TCustomKivEngine {
 public:
  TKivEngine(TKivEngineParts parts, IMainThreadPoster& mainThread);
  ~TKivEngine() override;

  // Opens a show at startMs. From the main thread only before Start; the running engine
  // opens through RequestOpen. Fails as the show source does.
  void OpenSource(std::unique_ptr<TFileAccessor> accessor, std::unique_ptr<TIniStorage> storage, double startMs);

  // Requests, from any thread. Open and seek answer the request number their position
  // reports will carry.
  int32_t RequestOpen(std::unique_ptr<TFileAccessor> accessor, std::unique_ptr<TIniStorage> storage, double startMs);
  int32_t RequestSeek(double ms);
  void RequestPause(bool paused);
  void RequestMouse(const TKivMouseRecord& mouse, std::optional<TKivActionInfo> action = {});
  void RequestSnapshot();
  void RequestCloseDialog();
  void RequestHelp();
  // Lets the clock go on from the stop point it stands at; nothing when it stands at none.
  void RequestReleaseStop();

  void SetVolume(float volume) { FVolume = volume; }
  // Stop points and timed slide actions are honoured from the next search on.
  void SetStopsEnabled(bool enabled) { FStopsEnabled = enabled; }
  TEngineStatus Status() const { return FStatusBoard.Read(); }

  // Closes the queue (releasing a loader waiting in a send), ends the thread, then stops
  // the loader and frees loader, music player and overlay.
  void Stop() override;

 protected:
  void HandleEvent(int code, TMessageData* data) override;
  void Iteration() override;

 private:
  // Main loop.
  bool WantRunning(uint32_t flags);
  void ReinitDevice();
  void MoveClock();
  // Shows the window bare when the show's first frame cannot come.
  void EnsureFirstFrame();
  void FireRunApp();
  void ReportPosition();
  void PaceTurn();
  // A turn that raised waits its step all the same.
  void WaitAfterFailedTurn() override { PaceTurn(); }
  void PublishStatus();

  // Clock.
  void SetActive(bool run);
  double CurrentTime() const;
  void SetShowTime(double ms);
  bool CheckEnd();
  bool SlidesReady() const;
  bool IsMusicReady();
  void FindStopsFrom(double ms);

  // Opening.
  void OpenShow(std::unique_ptr<TFileAccessor> accessor, std::unique_ptr<TIniStorage> storage, double startMs);
  void OpenAt(bool reopen, double x);
  void StopLoader();
  void ProcessPending();
  void PreloadSlide(IKivSlideEntry& slide);

  // Frames and input.
  void DrawFrame(bool force);
  THitResult HitTest(const TKivMouseRecord& mouse);
  bool DoAction(const TKivActionInfo& action);

  // Requests.
  void TakeSlideList(TSlideData& data);
  void TakeOpenRequest(TOpenParams& request);
  void TakePauseRequest(const TPauseRequest& request);
  void TakeMouse(const TMouseRequest& request);
  void TakeSnapshotRequest();
  void ReleaseStop();

  int32_t PostOpenParams(std::unique_ptr<TOpenParams> request);

  // Pieces.
  std::unique_ptr<IKivDrawController> FController;
  TSlideLoaderFactory FMakeLoader;
  TMusicPlayerFactory FMakeMusicPlayer;
  TThirdSlideFactory FMakeThirdSlide;
  std::u16string FProgramPath;
  bool FCover;

  // The show.
  std::unique_ptr<TFileAccessor> FAccessor;
  std::unique_ptr<TKivSource> FSource;
  std::unique_ptr<IKivSlideLoader> FLoader;
  std::unique_ptr<IKivMusicPlayer> FMusic;
  std::unique_ptr<IThirdSlide> FThirdSlide;
  std::shared_ptr<TShowTiming> FTiming = std::make_shared<TShowTiming>();
  TSlideList FSlides;

  // Requests.
  bool FPaused = true;
  int32_t FReportSeq = 0;
  std::unique_ptr<TOpenParams> FPending;
  TKivMouseRecord FMouse;

  // Clock. FActive is read by the loader's preload callback.
  std::atomic<bool> FActive{false};
  double FBaseTime = 0;  // the show time while the clock stands; while it runs the music clock is the show time
  TStopPoint FStop;
  TRunAppPoint FRunApp;
  bool FAtStop = false;
  bool FEndReported = false;
  std::atomic<bool> FStopsEnabled{false};
  std::atomic<float> FVolume{1};

  // Frames and reports.
  bool FFirstFrameSent = false;
  uint32_t FFirstFrameAsked = 0;  // when the window began to wait for its first frame
  int64_t FLastReported;
  uint32_t FLastFrameTick = 0;
  bool FHover = false;
  std::string FHoverClass;
  TEngineStatusBoard FStatusBoard;
};

}  // namespace kiv
