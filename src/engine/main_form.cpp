#include "engine/main_form.h"

#include <algorithm>
#include <climits>

#include "base/clock.h"
#include "base/log.h"
#include "base/text.h"
#include "engine/slide_navigation.h"
#include "model/action_text.h"
#include "model/kiv_source.h"

namespace kiv {

namespace {

// Where the engine is told the pointer is when it left the window: below everything.
constexpr TKivMouseRecord kPointerGone{TMouseEvent::Move, 0, 0, INT32_MAX, 0, 0};

constexpr uint32_t kLongestHideSeconds = 24 * 60 * 60;

}  // namespace

TMainForm::TMainForm(TKivShowViewer& viewer, IShowWindow& window, IShowPointer& pointer, TMainFormParts parts)
    : FViewer(viewer),
      FWindow(window),
      FPointer(pointer),
      FParts(std::move(parts)),
      FMonitor(pointer),
      FCreatedTick(Clock().NowMs()) {
  FViewer.OnAction = [this](const TKivActionInfo& action) { CarryOutAction(action); };
  FViewer.OnShowEnd = [this] {
    if (FClosing) return;
    FExitByAction = true;
    CloseQuery(TCloseCause::ShowEnd);
  };
  FViewer.OnSnapshot = [this](std::unique_ptr<TBitmap> picture) { OpenPrintDialog(std::move(picture)); };
  FMonitor.OnCheck = [this] { UpdateCursor(); };
  FMonitor.OnEnter = [this] { PointerCameOrWent(); };
  FMonitor.OnLeave = [this] { PointerCameOrWent(); };
  FMonitor.OnHiddenChanged = [this] { HiddenChanged(); };
}

TMainForm::~TMainForm() {
  FViewer.OnAction = nullptr;
  FViewer.OnShowEnd = nullptr;
  FViewer.OnSnapshot = nullptr;
}

void TMainForm::ShowOpened(std::u16string folder) {
  FShowFolder = std::move(folder);
  if (!FViewer.Show()) return;
  const TIniStorage& project = FViewer.Show()->Document();
  FMapping = std::make_unique<TInputMappingClass>(project);
  FWheelEnabled = !project.ReadBool(u"main", u"opt_lockwheel", false);
  switch (project.ReadInteger(u"main", u"opt_hidecursor", 0)) {
    case 1:  // hidden at once and for good
      FMonitor.SetHideInterval(0);
      FMonitor.SetHidden(true);
      break;
    case 2: {
      const int32_t seconds = project.ReadInteger(u"main", u"opt_hc2_hideinterval", kDefaultHideSeconds);
      FMonitor.SetHideInterval(uint32_t(std::clamp<int32_t>(seconds, 0, kLongestHideSeconds)) * 1000);
      FMonitor.SetHidden(project.ReadBool(u"main", u"opt_hc2_hideonstartup", false));
      break;
    }
    default:
      FMonitor.SetHideInterval(0);
      FMonitor.SetHidden(false);
      break;
  }
}

// ---- Input ------------------------------------------------------------------------

void TMainForm::OnKey(uint32_t modifiers, int keyCode, uint8_t kind) {
  if (FBusy > 0) return;
  const bool down = kind == kKeyDownEvent;
  if (FParts.StartupWindow && down && keyCode == kKeyEnter) {
    CarryOutAction({kActionCloseDialog, 0, {}});
    return;
  }
  if (FViewer.Status().DialogOpen) {
    if (down && keyCode == kKeyEscape) FViewer.CloseDialog();
    if (keyCode != kKeyF1) return;
  }
  if (!FMapping) return;
  if (const TKeyMap* map = FMapping->MapKey(modifiers, keyCode, kind)) {
    if (map->Action.Type == kActionHelp && FViewer.Engine()) {
      FViewer.ShowHelp();
      return;
    }
    if (map->Action.Type != kActionNone) CarryOutAction(map->Action);
  }
  // A show that does not let the user move it still lets the user go on from a stop.
  if (down && !FMapping->ControlPermitted() && TInputMappingClass::ReleasesStop(keyCode) && AtStop())
    FViewer.ReleaseStop();
}

void TMainForm::OnMouseButton(uint32_t keyState, int32_t x, TMouseEvent event, int32_t button, int32_t y) {
  FMonitor.Check();
  if (event == TMouseEvent::Move) FMonitor.MoveCheck();
  if (FBusy > 0 || Clock().NowMs() - FCreatedTick < kMouseQuietTime) return;
  const TKivActionInfo action = FMapping ? FMapping->MapMouse(keyState, x, event, button, y) : TKivActionInfo{};
  // A press the slides took is released on the slides, even when the pointer hid while
  // the button was held.
  const bool completesPress = event == TMouseEvent::Release && FPressOnSlides;
  if (event == TMouseEvent::Release) FPressOnSlides = false;
  // A hidden pointer clicks nothing on the slides: the mouse's own action runs.
  if (FMonitor.Hidden() && !completesPress && action.Type != kActionHelp) {
    if (action.Type != kActionNone) CarryOutAction(action);
    return;
  }
  const TKivMouseRecord mouse{event, button, x, y, keyState, 0};
  if (event == TMouseEvent::Press || event == TMouseEvent::DoubleClick) FPressOnSlides = true;
  if (action.Type != kActionNone)
    FViewer.SendMouseAction(mouse, action);
  else
    FViewer.SendMouse(mouse);
}

void TMainForm::OnMouseWheel(uint32_t modifiers, int32_t, int32_t steps, int32_t) {
  if (!FWheelEnabled || FBusy > 0 || steps == 0 || !FViewer.Show()) return;
  // The show stands under a dialog that holds it: the wheel does not move it behind it.
  if (FViewer.Status().DialogHolds) return;
  const TKivSource& show = *FViewer.Show();
  const int32_t position = FViewer.Position();
  if (modifiers == kStateCtrl) {
    const bool paused = FViewer.IsPaused();
    FViewer.SeekAndPause(steps < 0 ? NextSlideTime(show, position, paused) : PrevSlideTime(show, position), paused);
    return;
  }
  // Before the start there is nothing to go back to.
  FViewer.SeekTime(int32_t(std::clamp<int64_t>(int64_t(position) - int64_t(steps) * kWheelStep, 0, INT32_MAX)));
}

// ---- The pointer's looks -------------------------------------------------------------

void TMainForm::UpdateCursor() {
  if (FMonitor.Hidden()) return;
  const TEngineStatus status = FViewer.Status();
  FPointer.SetShape(status.Hover && status.HoverClass != "TKivButton" ? TCursorShape::Hand : TCursorShape::Arrow);
}

void TMainForm::HiddenChanged() {
  if (!FMonitor.Hidden()) {
    FPointer.SetShape(TCursorShape::Arrow);
    UpdateCursor();
  } else if (FViewer.Status().HoverClass == "NavPanel") {
    FMonitor.SetHidden(false);  // the panel is for the pointer
  } else {
    FPointer.SetShape(TCursorShape::Hidden);
  }
}

// Objects under a pointer that went away drop their hover looks.
void TMainForm::PointerCameOrWent() {
  if (!FPointer.Read().Inside) FViewer.SendMouse(kPointerGone);
}

// ---- Actions ------------------------------------------------------------------------

bool TMainForm::CarryOutAction(const TKivActionInfo& action) {
  if (FBusy > 0 || !FViewer.Engine()) return false;
  if (FInAction) {
    Log().WriteValue("TMainForm: action dropped while another is carried out: ", int64_t(action.Type));
    return false;
  }
  FInAction = true;
  try {
    Carry(action);
  } catch (...) {
    FInAction = false;
    throw;
  }
  FInAction = false;
  return true;
}

void TMainForm::Carry(const TKivActionInfo& action) {
  const TKivSource* show = FViewer.Show();
  const bool paused = FViewer.IsPaused();
  switch (action.Type) {
    case kActionExit:
      FExitByAction = true;
      CloseQuery(TCloseCause::ExitAction);
      break;
    case kActionPrevSlide:
      if (show) FViewer.SeekAndPause(PrevSlideTime(*show, FViewer.Position()), paused);
      break;
    case kActionNextSlide:
      if (AtStop())
        FViewer.ReleaseStop();
      else if (show)
        FViewer.SeekAndPause(NextSlideTime(*show, FViewer.Position(), paused), paused);
      break;
    case kActionHelp:
      FViewer.ShowHelp();
      break;
    case kActionPause:
      if (AtStop())
        FViewer.ReleaseStop();
      else
        FViewer.SetPaused(!paused);
      break;
    case kActionPrint:
      RequestSnapshot(TPrintDialogStart::Print);
      break;
    case kActionSaveSlide:
      if (show && show->Document().ReadBool(u"main", u"CanRestore", false))
        RequestSnapshot(TPrintDialogStart::Save);
      else
        Log().Write("TMainForm: the show does not let its slides be saved");
      break;
    case kActionChangePrinter:
      RequestSnapshot(TPrintDialogStart::ChangePrinter);
      break;
    case kActionGoToSlide:
      GoToSlide(action);
      break;
    case kActionOpenWebSite:
      OpenLink(EnsurePrefix(action.Text, {u"http://", u"https://"}), Runner());
      break;
    case kActionWriteEmail:
      OpenLink(EnsurePrefix(action.Text, {u"mailto:"}), Runner());
      break;
    case kActionRunAppAndExit:
      CloseQuery(TCloseCause::Other);
      RunCommands(action.Text, Runner());
      break;
    case kActionRunApp:
      RunCommands(action.Text, Runner());
      break;
    case kActionRunPresentation:
    case kActionRunPresentationAndReturn:
      // A show that cannot be opened ends the one that was to give way to it.
      if (RunPresentation(action) == TPresentationResult::Failed && action.Type == kActionRunPresentation) {
        FExitByAction = true;
        CloseQuery(TCloseCause::ExitAction);
      }
      break;
    case kActionStop:
      FViewer.SetPaused(true);
      FViewer.SeekTime(0);
      break;
    case kActionCloseDialog:
      FExitByAction = true;
      FExitCode = 1;
      CloseQuery(TCloseCause::ExitAction);
      break;
    case kActionGoToTime:
      FViewer.SeekAndPause(action.Number, paused);
      break;
    default:  // dialogs are the engine's
      Log().WriteValue("TMainForm: action not carried out by the player: ", int64_t(action.Type));
      break;
  }
}

TPresentationResult TMainForm::RunPresentation(const TKivActionInfo& action) {
  if (FParts.RunPresentation) return FParts.RunPresentation(action);
  Log().Write("TMainForm: no other show can be opened here: " + Utf16ToUtf8(action.Text));
  return TPresentationResult::Stopped;
}

// ---- Closing ------------------------------------------------------------------------

void TMainForm::CloseQuery(TCloseCause cause) {
  // A close asked for while the sequence runs (an action of it failing) is the
  // sequence's own to decide.
  if (FBusy > 0 || FClosing) return;
  FClosing = true;
  struct TClosingScope {
    bool& Closing;
    ~TClosingScope() { Closing = false; }
  } closing{FClosing};
  const TKivSource* show = FViewer.Show();
  bool opened = false;
  if (show) {
    const TIniStorage& project = show->Document();
    int32_t onExit = project.ReadInteger(u"main", u"opt_runapponexit", 0);
    const std::u16string program = project.ReadString(u"main", u"opt_runapponexitfn", u"");
    const bool onlyAtEnd = project.ReadBool(u"main", u"opt_runapponexitiflastslide", true);
    const bool endOrExit = cause == TCloseCause::ShowEnd || cause == TCloseCause::ExitAction;
    if ((onlyAtEnd && cause != TCloseCause::ShowEnd) || !endOrExit) onExit = 0;
    if (onExit == 2)
      opened = RunPresentation({kActionRunPresentation, 0, program}) == TPresentationResult::Opened;
    else if (onExit == 1)
      RunCommands(program, Runner());
    else if (endOrExit && FParts.ReturnToPrevious)
      opened = FParts.ReturnToPrevious();
  }
  if (opened)
    FExitByAction = false;  // the window plays on
  else
    FWindow.Close();
}

void TMainForm::GoToSlide(const TKivActionInfo& action) {
  const TKivSource* show = FViewer.Show();
  if (!show) return;
  int index = action.Number - 1;
  if (action.Number == -1) {
    index = SlideIndexByName(show->Slides(), action.Text);
    if (index < 0) {  // a mistyped name leaves the show where it is
      Log().Write("TMainForm: no slide is called " + Utf16ToUtf8(action.Text));
      return;
    }
  }
  FViewer.SeekTime(SlideStartTime(*show, index));
}

void TMainForm::RequestSnapshot(TPrintDialogStart start) {
  FSnapshotFor = start;
  FViewer.RequestSnapshot();
}

void TMainForm::OpenPrintDialog(std::unique_ptr<TBitmap> snapshot) {
  const TKivSource* show = FViewer.Show();
  if (!FParts.PrintDialog || !show || FBusy > 0) {
    Log().Write("TMainForm: no print dialog; the slide's picture is dropped");
    return;
  }
  // A show without slides has no slide on screen (and nothing to divide by).
  const int count = show->SlideCount();
  const int index = count > 0 ? CurrentSlideIndex(*show, FViewer.Position()) % count : -1;
  const TSlidePictures pictures(show, std::move(snapshot), index);
  const bool paused = FViewer.IsPaused();
  FViewer.SetPaused(true);
  ++FBusy;  // the dialog has the user
  struct TRestore {
    TMainForm& Form;
    bool Paused;
    ~TRestore() {
      --Form.FBusy;
      Form.FViewer.SetPaused(Paused);
    }
  } restore{*this, paused};
  FParts.PrintDialog(pictures, FSnapshotFor);
}

TCommandRunner TMainForm::Runner() {
  return {FParts.Launcher ? *FParts.Launcher : SystemLauncher(), FShowFolder,
          [this](std::u16string_view message) { Tell(message); }, [this] { FWindow.MakeRoomForLaunch(); },
          [this](bool started) {
            if (!started) FWindow.LaunchFailed();
          }};
}

void TMainForm::Tell(std::u16string_view message) {
  Log().Write("TMainForm: " + Utf16ToUtf8(message));
  if (FParts.ShowMessage) FParts.ShowMessage(message);
}

}  // namespace kiv
