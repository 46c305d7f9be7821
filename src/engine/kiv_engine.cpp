#include "engine/kiv_engine.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <thread>

#include "base/clock.h"
#include "base/errors.h"
#include "base/log.h"
#include "base/progress_hook.h"
#include "engine/engine_messages.h"
#include "engine/silent_music_player.h"
#include "engine/slide_list_timing.h"

namespace kiv {

namespace {

constexpr int64_t kForceReport = int64_t(INT32_MIN) + 1;  // differs from every position by more than a step
constexpr int64_t kReportStep = 20;                       // ms the position must move before it is reported
constexpr uint32_t kShortTurn = 17;                       // ms; shorter turns sleep longer
constexpr int kSlideCacheSize = 3;
constexpr int32_t kMinRenderSide = 10;

int32_t ToMs(double ms) { return int32_t(std::lround(std::clamp(ms, double(INT32_MIN), double(INT32_MAX)))); }

TPixelSize RenderSizeOf(TPixelSize device) {
  return {std::max(device.Width, kMinRenderSide), std::max(device.Height, kMinRenderSide)};
}

}  // namespace

TKivEngine::TKivEngine(TKivEngineParts parts, IMainThreadPoster& mainThread)
    : TCustomKivEngine(mainThread),
      FController(std::move(parts.Controller)),
      FMakeLoader(std::move(parts.MakeLoader)),
      FMakeMusicPlayer(std::move(parts.MakeMusicPlayer)),
      FMakeThirdSlide(std::move(parts.MakeThirdSlide)),
      FProgramPath(std::move(parts.ProgramPath)),
      FCover(parts.Cover),
      FLastReported(kForceReport) {
  KIV_ASSERT(FController && FMakeLoader);
  if (!FMakeMusicPlayer) FMakeMusicPlayer = [](TKivSource&) { return std::make_unique<TSilentMusicPlayer>(); };
}

TKivEngine::~TKivEngine() { Stop(); }

void TKivEngine::Stop() {
  Events().Close();
  // A slide or picture being built is cut short rather than waited for.
  SetProgressMode(TProgressMode::Stop);
  TKivThread::Stop();
  if (IsCurrentThread()) return;  // the rest follows when the owner stops the engine
  if (FLoader) FLoader->Stop();
  SetProgressMode(TProgressMode::None);
  SetActive(false);
  FLoader.reset();
  FSlides.clear();
  FMusic.reset();
  FThirdSlide.reset();
}

// ---- Main loop -------------------------------------------------------------------

void TKivEngine::Iteration() {
  if (FMusic && FMusic->GetVolume() != FVolume) FMusic->SetVolume(FVolume);
  if (Events().Closed()) return;
  Events().Process();
  if (FPending) ProcessPending();
  if (FLoader && !FLoader->IsRunning()) FLoader->Start();

  uint32_t flags = FController->GetState();
  bool want = WantRunning(flags);
  if (!want) {
    if (FActive) {
      Log().Write("TKivEngine.MainLoop: SetActive(False) - Stop by not NewActive");
      flags |= kDeviceRefreshed;
    }
    SetActive(false);
  }
  if ((flags & kDeviceNeedsReinit) && (flags & kDrawerReady)) {
    ReinitDevice();
    want = false;  // the next turn decides with the slides of the new size
  }
  if (want && !FActive) {
    Log().Write("TKivEngine.MainLoop: SetActive(True) - Start by NewActive");
    SetActive(true);
  }

  if (!Terminated() && FSource) {
    MoveClock();
    CheckEnd();
    FireRunApp();
    if (SlideListDrawable(FSlides, FTiming->Current()))
      DrawFrame(flags & (kDeviceRefreshed | kDeviceNeedsReinit));
    else if (flags & kDeviceRefreshed)  // nothing to show, yet the window wants its colour again
      FController->DrawEmpty(FSource->HiderColor());
    EnsureFirstFrame();
  }
  PaceTurn();
  if (FSource) ReportPosition();
  PublishStatus();
}

bool TKivEngine::WantRunning(uint32_t flags) {
  if (!FSource) return false;
  if (FSource->PauseWhenInactive() && !(flags & kWindowActive)) return false;
  // A repeating show without length would repeat for ever within one moment.
  if (FSource->EndMode() == TEndMode::Repeat && !(FSource->Duration() > 0)) return false;
  // Tested whether or not the clock runs, so that a show standing at its end stays there.
  if (CheckEnd()) return false;
  return !FPaused && !FAtStop && !(FThirdSlide && FThirdSlide->HoldsShow()) && SlidesReady() && IsMusicReady();
}

void TKivEngine::ReinitDevice() {
  FFirstFrameSent = false;
  FFirstFrameAsked = Clock().NowMs();
  if (FActive) Log().Write("TKivEngine.MainLoop: SetActive(False) - Stop by Reinited");
  SetActive(false);
  for (const std::shared_ptr<IKivSlideEntry>& slide : FSlides) slide->ReleaseDeviceObjects();
  if (!FLoader) return;
  const TPixelSize device = RenderSizeOf(FController->DeviceSize());
  if (!(device == FLoader->Size())) {
    Log().WritePair("OpenInt on diff size: ", device.Width, device.Height);
    OpenAt(true, CurrentTime());
  } else {
    // The first slide is preloaded at its position when the clock starts again.
    for (size_t i = 1; i < FSlides.size(); ++i)
      FController->PreloadSlide(*FSlides[i], FBaseTime - FSlides[i]->Timing().StartTime);
  }
  Log().WriteValue("DrawDevice Reinited (Slides:", int64_t(FSlides.size()), ")");
}

// A show without slides, or whose first frame fails or takes longer than the user can
// be asked to wait, still gets its window: in the hider colour, so that it can be seen
// and closed. The slides take over once they can be drawn.
void TKivEngine::EnsureFirstFrame() {
  if (FFirstFrameSent) return;
  if (!FSource->Slides().empty() && Clock().NowMs() - FFirstFrameAsked < kFirstFrameWaitMs) return;
  Log().Write("TKivEngine: no first frame, the window shows the hider colour");
  try {
    FController->DrawEmpty(FSource->HiderColor());
  } catch (const std::exception& error) {
    Log().Write(std::string("TKivEngine: empty frame failed: ") + error.what());
  }
  FFirstFrameSent = true;
  PostToMain(kFirstFrameMessage);
}

void TKivEngine::MoveClock() {
  const double target = CurrentTime();
  if (FThirdSlide) FThirdSlide->Update(target);
  FTiming->SetTarget(target);
  if (!(FActive && FStop.Found && target >= FStop.Time)) {
    FTiming->SetCurrent(target);
    return;
  }
  Log().Write("TKivEngine.MainLoop: SetActive(False) - Stop by Barrier");
  SetActive(false);
  double current;
  if (FStop.LoopLength > 0) {
    // The slide's display part repeats: go back whole loops until before the stop.
    current = target - FStop.LoopLength * (std::floor((target - FStop.Time) / FStop.LoopLength) + 1);
  } else {
    FAtStop = true;
    current = FStop.Time;
    FStop = FindStop(*FSource, current, FStop, FStopsEnabled);
  }
  SetShowTime(current);
  FMusic->SetTime(FStop.Time, current);
}

void TKivEngine::FireRunApp() {
  if (!FActive || FTiming->Current() < FRunApp.Time) return;
  std::u16string program = std::move(FRunApp.Program);
  FRunApp = FindRunApp(*FSource, FRunApp.Time, FRunApp, FStopsEnabled);
  if (!program.empty()) DoAction({kActionRunApp, 0, std::move(program)});
}

void TKivEngine::ReportPosition() {
  const int32_t position = ToMs(FTiming->Current());
  if (std::abs(position - FLastReported) <= kReportStep) return;
  PostToMain(kPositionMessage, {FReportSeq, position, ToMs(FSource->Duration()), 0});
  FLastReported = position;
}

void TKivEngine::PaceTurn() {
  const uint32_t now = Clock().NowMs();
  const uint32_t sinceLastTurn = now - FLastFrameTick;
  FLastFrameTick = now;
  Clock().SleepMs(sinceLastTurn < kShortTurn ? 3 : 1);
}

void TKivEngine::PublishStatus() {
  FStatusBoard.Publish({FActive, FAtStop, FHover, FHoverClass, FThirdSlide && FThirdSlide->IsDialogOpen(),
                        FThirdSlide && FThirdSlide->HoldsShow()});
}

// ---- Clock -----------------------------------------------------------------------

void TKivEngine::SetActive(bool run) {
  if (run == FActive) return;
  if (!run) {
    FActive = false;
    if (FMusic) FMusic->SetRunning(false);
    FBaseTime = FTiming->Current();
    SetProgressMode(TProgressMode::None);
    return;
  }
  for (const std::shared_ptr<IKivSlideEntry>& slide : FSlides) {
    const double slideTime = FBaseTime - slide->Timing().StartTime;
    Log().WriteValue("PreloadEx Time: ", int64_t(slideTime));
    FController->PreloadSlide(*slide, slideTime);
  }
  // The music clock becomes the show time: it starts where the show stands.
  if (FMusic->CurrentTime() != FBaseTime) FMusic->SetTime(FStop.Time, FBaseTime);
  if (FMusic->EndTime() != FStop.Time) FMusic->SetEnd(FStop.Time);
  FMusic->SetRunning(true);
  FActive = true;
  SetProgressMode(TProgressMode::Playing);
}

double TKivEngine::CurrentTime() const { return FActive ? FMusic->CurrentTime() : FBaseTime; }

void TKivEngine::SetShowTime(double ms) {
  KIV_ASSERT(!FActive);
  FBaseTime = ms;
  FTiming->SetCurrent(ms);
}

bool TKivEngine::CheckEnd() {
  if (FSource->EndMode() == TEndMode::Repeat) return false;
  const double length = FSource->Duration();
  if (FTiming->Current() < length) return false;
  FTiming->SetCurrent(length);
  if (!FActive) FBaseTime = length;
  if (!FEndReported) {
    FEndReported = true;
    PostToMain(kPositionMessage, {FReportSeq, ToMs(length), ToMs(length), 1});
    FLastReported = ToMs(length);
  }
  return true;
}

bool TKivEngine::SlidesReady() const {
  return FActive || SlideListCovers(FSlides, FTiming->Current(), FLoader ? FLoader->CachedCount() : 0);
}

bool TKivEngine::IsMusicReady() {
  if (!FMusic) return false;
  if (!FActive && (FMusic->CurrentTime() != FBaseTime || FMusic->EndTime() != FStop.Time))
    FMusic->SetTime(FStop.Time, FBaseTime);
  const bool ready = FMusic->IsMusicReady();
  if (FActive && !ready) Log().Write("TKivEngine.IsMusicReady: False");
  return ready;
}

void TKivEngine::FindStopsFrom(double ms) {
  FStop = FindStop(*FSource, ms, {}, FStopsEnabled);
  FRunApp = FindRunApp(*FSource, ms, {}, FStopsEnabled);
}

// ---- Opening ---------------------------------------------------------------------

void TKivEngine::OpenSource(std::unique_ptr<TFileAccessor> accessor, std::unique_ptr<TIniStorage> storage,
                            double startMs) {
  KIV_ASSERT(!IsRunning());
  OpenShow(std::move(accessor), std::move(storage), startMs);
  PublishStatus();
}

void TKivEngine::OpenShow(std::unique_ptr<TFileAccessor> accessor, std::unique_ptr<TIniStorage> storage,
                          double startMs) {
  auto source = std::make_unique<TKivSource>(accessor.get(), storage.release(), true, FProgramPath);
  // The previous show is freed after its loader and music player have stopped.
  std::unique_ptr<TFileAccessor> previousAccessor = std::move(FAccessor);
  std::unique_ptr<TKivSource> previousSource = std::move(FSource);
  FAccessor = std::move(accessor);
  FSource = std::move(source);
  OpenAt(false, startMs);
}

void TKivEngine::OpenAt(bool reopen, double x) {
  const uint32_t started = Clock().NowMs();
  FEndReported = false;
  Log().WriteValue(reopen ? "Reopen from new position>>>>>>>> " : "Open from new position>>>>>>>> ", int64_t(x));
  SetActive(false);
  StopLoader();
  FLoader.reset();
  FSlides.clear();
  FThirdSlide.reset();
  if (!reopen) FMusic.reset();  // a new show has music of its own; a reopened one plays on

  FLoader = FMakeLoader({FSource.get(), kSlideCacheSize, FTiming, &Events(),
                         [this](IKivSlideEntry& slide) { PreloadSlide(slide); }});
  if (!FMusic) {
    FMusic = FMakeMusicPlayer(*FSource);
    FMusic->SetRunning(false);
  }
  if (!reopen) {
    const TPixelSize asked = FLoader->Size();
    PostToMain(kWindowGeometryMessage, {asked.Width, asked.Height, FLoader->WindowMode()});
    FController->EnsureDrawer();
    FFirstFrameSent = false;
    FFirstFrameAsked = Clock().NowMs();
  }
  FLoader->SetSize(RenderSizeOf(FController->DeviceSize()));
  FLoader->SetCover(FCover);
  if (FMakeThirdSlide)
    FThirdSlide = FMakeThirdSlide({FSource.get(), FLoader->Size(), FVolume, FSource->Duration(),
                                   [this](float volume) { FVolume = volume; },
                                   [this](int32_t ms) { DoAction({kActionGoToTime, ms, {}}); },
                                   [this] { return FActive.load(); }});
  if (!reopen) {
    // A reopened show keeps its time and the stop it stands at.
    SetShowTime(x);
    FLastReported = kForceReport;
    FindStopsFrom(x);
    FAtStop = false;
  }
  Log().WriteValue("Loader Inited To Time : ", int64_t(Clock().NowMs() - started));
}

void TKivEngine::StopLoader() {
  if (!FLoader) return;
  FLoader->Terminate();
  // The slide the loader builds is cut short; the mode goes back to what it was after.
  const TProgressMode mode = ProgressMode();
  SetProgressMode(TProgressMode::Stop);
  // The loader may be waiting in a send of its slide list; take those, and nothing else,
  // so that no other request runs on a half-opened show.
  while (FLoader->IsRunning()) {
    Events().ProcessCode(kSlideListRequest);
    Clock().SleepMs(3);
    std::this_thread::yield();  // on a virtual clock the sleep returns at once
  }
  FLoader->Stop();
  SetProgressMode(mode);
}

void TKivEngine::ProcessPending() {
  std::unique_ptr<TOpenParams> request = std::move(FPending);
  Log().Write("TKivEngine: Begin ProcessAsyncOpen");
  if (request->IsOpen()) {
    Log().Write("TKivEngine: Process AsyncEvent Open");
    try {
      OpenShow(std::move(request->Accessor), std::move(request->Storage), request->StartTime);
    } catch (const std::exception& error) {
      Log().Write(std::string("TKivEngine: open failed: ") + error.what());
    }
  } else if (FSource) {
    Log().Write("TKivEngine: Process AsyncEvent SetPosition");
    SetActive(false);
    SetShowTime(request->StartTime);
    FLastReported = kForceReport;
    FindStopsFrom(request->StartTime);
    FAtStop = false;
    FEndReported = false;  // a show that ends again after a seek reports its end again
  }
  FReportSeq = request->Sequence;
  Log().WriteValue("TKivEngine: Process AsyncEvent Curren Pause Status: ", FPaused);
  FPaused = request->Paused;
  Log().WriteValue("TKivEngine: Process AsyncEvent New Pause Status: ", FPaused);
}

void TKivEngine::PreloadSlide(IKivSlideEntry& slide) {
  if (FActive) Log().Write("preload from callback.............");
  FController->PreloadSlide(slide, FTiming->Current() - slide.Timing().StartTime);
}

}  // namespace kiv
