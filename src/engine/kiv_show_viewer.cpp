#include "engine/kiv_show_viewer.h"

#include "base/log.h"
#include "engine/engine_messages.h"
#include "engine/kiv_third_slide.h"
#include "engine/no_drawer_controller.h"
#include "engine/show_end.h"
#include "model/kiv_source.h"

namespace kiv {

namespace {

struct TRequestedWindow {
  TPixelSize Size;
  TWindowMode Mode;
};

// The window the show's options ask for, known before its loader tells the engine.
TRequestedWindow RequestedWindow(const TIniStorage& project) {
  if (project.ReadInteger(u"main", u"opt_scr_full", 1) == 1) return {{}, kFullScreenWindow};
  const TPixelSize size{project.ReadInteger(u"main", u"opt_scr_width", 640),
                        project.ReadInteger(u"main", u"opt_scr_height", 480)};
  return {size, project.ReadBool(u"main", u"opt_withoutborder", true) ? kBorderlessWindow : kBorderedWindow};
}

bool IsWindowMode(int32_t mode) { return mode >= kFullScreenWindow && mode <= kBorderlessWindow; }

}  // namespace

TKivShowViewer::TKivShowViewer(IShowWindow& window, IMainThreadPoster& mainThread, TShowViewerParts parts)
    : FWindow(window), FMainThread(mainThread), FParts(std::move(parts)) {}

TKivShowViewer::~TKivShowViewer() = default;

void TKivShowViewer::OpenShowData(const TKivSource& show, double startMs) {
  FShow = &show;
  auto accessor = show.Container() ? std::make_unique<TFileAccessor>(*show.Container()) : nullptr;
  auto project = std::make_unique<TIniStorage>();
  project->Assign(show.Document());
  if (!FEngine) {
    const TRequestedWindow asked = RequestedWindow(show.Document());
    CreateEngine(PlaceWindow(asked.Size, asked.Mode).Client);
  }
  if (FEngine->IsRunning()) {
    FEngine->RequestOpen(std::move(accessor), std::move(project), startMs);
    return;
  }
  FEngine->OpenSource(std::move(accessor), std::move(project), startMs);
  FEngine->Start();
}

void TKivShowViewer::CreateEngine(TPixelSize client) {
  TKivEngineParts parts;
  parts.Controller = FParts.MakeController ? FParts.MakeController(client) : std::make_unique<TNoDrawerController>(client);
  parts.MakeLoader = FParts.MakeLoader;
  parts.MakeMusicPlayer = FParts.MakeMusicPlayer;
  parts.MakeThirdSlide = FParts.MakeThirdSlide;
  if (!parts.MakeThirdSlide)
    parts.MakeThirdSlide = [](const TThirdSlideParams& params) { return std::make_unique<TThirdSlide>(params); };
  parts.ProgramPath = FParts.ProgramPath;
  parts.Cover = FParts.Cover;
  FEngine = std::make_unique<TKivEngine>(std::move(parts), FMainThread);
  FEngine->OnFirstFrame = [this] {
    if (!FWindow.IsShown()) FWindow.Show();
  };
  FEngine->OnPosition = [this](int32_t position, bool finished, int32_t length) {
    TakePosition(position, finished, length);
  };
  FEngine->OnEvent = [this](TKivEventData& message) { TakeEvent(message); };
  FEngine->SetStopsEnabled(FStopsEnabled);
  if (!FPaused) FEngine->RequestPause(false);  // the engine starts paused
}

TWindowPlacement TKivShowViewer::PlaceWindow(TPixelSize size, TWindowMode mode) {
  const TWindowPlacement placement = PlaceShowWindow(size, mode, FWindow.Screens(), FParts.Placement,
                                                     [this](TWindowFrameStyle style) { return FWindow.FrameExtent(style); });
  FWindow.Place(placement);
  return placement;
}

void TKivShowViewer::SetPaused(bool paused) {
  if (paused == FPaused) return;
  FPaused = paused;
  if (FEngine) FEngine->RequestPause(paused);
}

void TKivShowViewer::SeekTime(int32_t ms) {
  if (ms < 0 || !FEngine) return;
  FEngine->RequestSeek(ms);
  FPosition = ms;
}

void TKivShowViewer::SeekAndPause(int32_t ms, bool paused) {
  SeekTime(ms);
  SetPaused(paused);
}

void TKivShowViewer::SetStopsEnabled(bool enabled) {
  FStopsEnabled = enabled;
  if (FEngine) FEngine->SetStopsEnabled(enabled);
}

void TKivShowViewer::HandleMainMessage(TKivEventData& message) {
  if (FEngine) FEngine->HandleMainMessage(message);
}

void TKivShowViewer::TakePosition(int32_t position, bool finished, int32_t length) {
  FPosition = position;
  FLength = length;
  if (!FShow || !EndClosesWindow(*FShow, finished)) return;
  if (OnShowEnd)
    OnShowEnd();
  else
    FWindow.Close();
}

void TKivShowViewer::TakeEvent(TKivEventData& message) {
  const std::vector<int32_t>& values = message.Values;
  switch (message.Code) {
    case kActionMessage:
      if (values.size() >= 2 && values[0] >= 0 && values[0] <= 255 && OnAction)
        OnAction({uint8_t(values[0]), values[1], message.Text});
      break;
    case kWindowGeometryMessage:
      if (values.size() >= 3 && IsWindowMode(values[2])) PlaceWindow({values[0], values[1]}, TWindowMode(values[2]));
      break;
    case kSnapshotMessage:
      if (OnSnapshot && message.Picture)
        OnSnapshot(std::move(message.Picture));
      else
        Log().Write("TKivShowViewer: a snapshot came that nobody prints");
      break;
    default:
      break;
  }
}

void TKivShowViewer::SendMouse(const TKivMouseRecord& mouse) {
  if (FEngine && FEngine->IsRunning()) FEngine->RequestMouse(mouse);
}

void TKivShowViewer::SendMouseAction(const TKivMouseRecord& mouse, const TKivActionInfo& action) {
  if (FEngine && FEngine->IsRunning()) FEngine->RequestMouse(mouse, action);
}

void TKivShowViewer::ShowHelp() {
  if (FEngine) FEngine->RequestHelp();
}

void TKivShowViewer::CloseDialog() {
  if (FEngine) FEngine->RequestCloseDialog();
}

void TKivShowViewer::RequestSnapshot() {
  if (FEngine && FEngine->IsRunning()) FEngine->RequestSnapshot();
}

void TKivShowViewer::ReleaseStop() {
  if (FEngine) FEngine->RequestReleaseStop();
}

}  // namespace kiv
