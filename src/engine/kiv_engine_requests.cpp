// The engine's requests, frames and input: what the main thread and the loader ask of
// the engine, and what it draws and hit-tests.
#include <exception>
#include <string>

#include "base/log.h"
#include "base/text.h"
#include "engine/engine_messages.h"
#include "engine/kiv_engine.h"
#include "graphics/bitmap_scale.h"
#include "model/kiv_source.h"
#include "model/slide_area.h"
#include "model/slide_info.h"

namespace kiv {

// ---- Requests from other threads --------------------------------------------------

int32_t TKivEngine::RequestOpen(std::unique_ptr<TFileAccessor> accessor, std::unique_ptr<TIniStorage> storage,
                                double startMs) {
  auto request = std::make_unique<TOpenParams>();
  request->Accessor = std::move(accessor);
  request->Storage = std::move(storage);
  request->StartTime = startMs;
  return PostOpenParams(std::move(request));
}

int32_t TKivEngine::RequestSeek(double ms) {
  if (ms < 0) return LatestRequestNumber();
  auto request = std::make_unique<TOpenParams>();
  request->StartTime = ms;
  return PostOpenParams(std::move(request));
}

int32_t TKivEngine::PostOpenParams(std::unique_ptr<TOpenParams> request) {
  const int32_t number = NextRequestNumber();
  request->Sequence = number;
  Events().Post(kOpenRequest, std::move(request));
  return number;
}

void TKivEngine::RequestPause(bool paused) { Events().Post(kPauseRequest, std::make_unique<TPauseRequest>(paused)); }

void TKivEngine::RequestMouse(const TKivMouseRecord& mouse, std::optional<TKivActionInfo> action) {
  auto request = std::make_unique<TMouseRequest>();
  request->Mouse = mouse;
  request->Action = std::move(action);
  Events().Post(kMouseRequest, std::move(request));
}

void TKivEngine::RequestSnapshot() { Events().Post(kSnapshotRequest); }

void TKivEngine::RequestCloseDialog() { Events().Post(kCloseDialogRequest); }

void TKivEngine::RequestHelp() { Events().Post(kHelpRequest); }

void TKivEngine::RequestReleaseStop() { Events().Post(kReleaseStopRequest); }

// ---- Handling them on the engine thread -------------------------------------------

void TKivEngine::HandleEvent(int code, TMessageData* data) {
  switch (code) {
    case kSlideListRequest:
      if (auto* slides = dynamic_cast<TSlideData*>(data)) TakeSlideList(*slides);
      break;
    case kOpenRequest:
      if (auto* request = dynamic_cast<TOpenParams*>(data)) TakeOpenRequest(*request);
      break;
    case kPauseRequest:
      if (auto* request = dynamic_cast<TPauseRequest*>(data)) TakePauseRequest(*request);
      break;
    case kMouseRequest:
      if (auto* request = dynamic_cast<TMouseRequest*>(data)) TakeMouse(*request);
      break;
    case kSnapshotRequest:
      TakeSnapshotRequest();
      break;
    case kCloseDialogRequest:
      if (FThirdSlide && FThirdSlide->IsDialogOpen()) FThirdSlide->CloseDialog(-1);
      break;
    case kHelpRequest:
      DoAction({kActionHelp, 0, {}});
      break;
    case kReleaseStopRequest:
      ReleaseStop();
      break;
    default:
      break;
  }
}

void TKivEngine::TakeSlideList(TSlideData& data) {
  FSlides = data.Slides;  // the loader keeps its own references until it frees them
  std::string times;
  for (const std::shared_ptr<IKivSlideEntry>& slide : FSlides)
    times += std::to_string(int64_t(slide->Timing().StartTime)) + "-" + std::to_string(int64_t(slide->Timing().EndTime)) + " ";
  Log().Write(">>>>>>>>>>>>> slide list synched : " + times);
}

void TKivEngine::TakeOpenRequest(TOpenParams& request) {
  // A request waiting to be carried out keeps the pause state asked for meanwhile.
  const bool keptPaused = FPending ? FPending->Paused : FPaused;
  if (request.IsOpen()) {
    Log().Write("TKivEngine: OpenShow Async");
    FPending = std::make_unique<TOpenParams>(std::move(request));
  } else {
    Log().Write("TKivEngine: SetPosition Async");
    if (FPending) {
      FPending->Sequence = request.Sequence;
      FPending->StartTime = request.StartTime;
    } else {
      FPending = std::make_unique<TOpenParams>(std::move(request));
    }
  }
  FPending->Paused = keptPaused;
  Log().WriteValue("TKivEngine: Current Pause Status: ", FPaused);
  Log().WriteValue("TKivEngine: Async Pause Status: ", FPending->Paused);
}

void TKivEngine::TakePauseRequest(const TPauseRequest& request) {
  if (FPending) {
    FPending->Paused = request.Paused;
    Log().WriteValue("TKivEngine: SetPauseEvent Async: ", request.Paused);
    return;
  }
  Log().WriteValue("TKivEngine: Before Pause Status: ", FPaused);
  FPaused = request.Paused;
  Log().WriteValue("TKivEngine: SetPauseEvent Direct: ", FPaused);
}

// What the event hit carries out first; the mouse's own action runs unless a press
// was taken by what it hit, so that one click never runs two actions.
void TKivEngine::TakeMouse(const TMouseRequest& request) {
  FMouse = request.Mouse.Retest();
  const THitResult hit = HitTest(request.Mouse);
  if (hit.Fire.Type != kActionNone) {
    DoAction(hit.Fire);
    return;
  }
  const bool press = request.Mouse.Event == TMouseEvent::Press || request.Mouse.Event == TMouseEvent::DoubleClick;
  const bool taken = hit.Taken || hit.Kind == THitKind::NavPanel || hit.Action.Type != kActionNone;
  // Around a dialog that holds the show only the mouse's help goes on, as F1 does.
  const bool help = request.Action && request.Action->Type == kActionHelp && hit.ClassName == "TKivDialog";
  if (request.Action && (!(press && taken) || help)) DoAction(*request.Action);
}

void TKivEngine::TakeSnapshotRequest() {
  std::unique_ptr<TBitmap> picture = FController->RenderSnapshot(FSlides, FTiming->Current());
  // The picture is the show's own size, whatever the window's.
  if (picture && FSource) {
    const TPixelSize design = ReadShowDesign(FSource->MainSection()).Size;
    if ((design.Width != picture->Width() || design.Height != picture->Height()) &&
        AllowedPictureSize(design.Width, design.Height))
      picture = StretchBitmap(*picture, design.Width, design.Height);
  }
  if (!picture) {
    Log().Write("********************* Image not Assigned");
    return;
  }
  Log().WritePair("********************* Image ", picture->Width(), picture->Height());
  PostToMain(kSnapshotMessage, {}, {}, std::move(picture));
}

void TKivEngine::ReleaseStop() {
  if (!FAtStop) return;
  FAtStop = false;
  Log().Write("TKivEngine: stop point released");
}

// ---- Frames and input -------------------------------------------------------------

void TKivEngine::DrawFrame(bool force) {
  try {
    if (!FController->Compose(FSlides, FTiming->Current(), FThirdSlide.get())) return;
    if (!force && !FController->FrameChanged()) return;
    HitTest(FMouse);  // hover states follow objects that move under a resting pointer
    FController->Draw(FLoader->Size(), {FSource->HiderColor(), FSource->UnsharpAmount(), FSource->UnsharpThreshold()});
  } catch (const std::exception& error) {
    Log().Write(std::string("TKivEngine: frame failed: ") + error.what());
    return;
  }
  if (!FFirstFrameSent) {
    FFirstFrameSent = true;
    PostToMain(kFirstFrameMessage);
  }
}

// The overlay is asked first, then the slides from the top down, each only while it is
// on screen; the slides below a hit, and those off screen, only drop their looks. The
// hover state follows what was hit.
THitResult TKivEngine::HitTest(const TKivMouseRecord& mouse) {
  FHover = false;
  FHoverClass.clear();
  THitResult hit;
  if (FThirdSlide) {
    hit = FThirdSlide->HitTest(mouse);
    if (hit.Kind == THitKind::NavPanel) FHoverClass = "NavPanel";
  }
  const double time = FTiming->Current() == 0 ? 0.1 : FTiming->Current();
  for (auto slide = FSlides.rbegin(); slide != FSlides.rend(); ++slide) {
    const TSlideInfo& timing = (*slide)->Timing();
    const bool shown = time > timing.StartTime && time <= timing.TotalEnd;
    THitResult found = (*slide)->Pointer(mouse, time, shown && hit.Kind == THitKind::None);
    if (hit.Kind == THitKind::None) hit = std::move(found);
  }
  if (hit.Kind == THitKind::Object && hit.Action.Type != kActionNone) {
    FHover = true;
    FHoverClass = hit.ClassName;
  }
  return hit;
}

// Dialog actions stay with the overlay; the others go to the main thread.
bool TKivEngine::DoAction(const TKivActionInfo& action) {
  switch (action.Type) {
    case kActionNone:
      return false;
    case kActionPrevSlide:
    case kActionNextSlide:
    case kActionGoToSlide:
    case kActionRunPresentation:
      if (FThirdSlide) FThirdSlide->CloseDialogsOnMove();
      break;
    case kActionHelp:
    case kActionOpenDialog:
      if (FThirdSlide)
        FThirdSlide->OpenDialog(action.Type == kActionHelp ? u"help" : std::u16string_view(action.Text));
      else
        Log().Write("TKivEngine: the show has no overlay to open the dialog \"" +
                    (action.Type == kActionHelp ? std::string("help") : Utf16ToUtf8(action.Text)) + "\" in");
      return true;
    case kActionCloseDialog:
      if (FThirdSlide && FThirdSlide->IsDialogOpen()) {
        FThirdSlide->CloseDialog(-1);
        return true;
      }
      break;
    default:
      break;
  }
  PostToMain(kActionMessage, {action.Type, action.Number}, action.Text);
  return true;
}

}  // namespace kiv
