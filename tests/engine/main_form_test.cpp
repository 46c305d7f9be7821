// The main form on the viewer and engine, on virtual time: keys, the wheel and clicks
// moving through the show, stop points, the pointer's looks, and the actions that start
// programs and links on a recording launcher.
#include "engine/main_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/recording_launcher.h"
#include "engine/slide_navigation.h"
#include "engine/viewer_test_support.h"
#include "support/log_capture.h"
#include "support/show_text.h"

namespace kiv {
namespace {

const std::string kThreeSlides = SlidesEndingAt({4000, 9000, 15000}) + "opt_repeat=stop\n";

// On slide 1, between y 0 and 100: a picture that goes to slide 3 (x 100 … 200) and a
// button to the next slide (x 300 … 400).
THitResult PictureAndButton(int slide, const TKivMouseRecord& mouse) {
  if (slide != 0 || mouse.Y < 0 || mouse.Y >= 100) return {};
  if (mouse.X >= 100 && mouse.X < 200) return ObjectHit("TKivImage", {kActionGoToSlide, 3, u""});
  if (mouse.X >= 300 && mouse.X < 400) return ObjectHit("TKivButton", {kActionNextSlide, 0, u""});
  return {};
}

class TFormHarness : public TViewerHarness {
 public:
  explicit TFormHarness(const std::string& project, THitRule hitRule = {}, bool stops = false)
      : TViewerHarness(false, std::move(hitRule)) {
    Viewer->SetStopsEnabled(stops);
    Open(project);
    TMainFormParts parts;
    parts.Launcher = &Launcher;
    parts.ShowMessage = [this](std::u16string_view message) { Told.emplace_back(message); };
    parts.RunPresentation = [this](const TKivActionInfo& action) {
      Presented.push_back(action);
      return PresentationResult;
    };
    parts.ReturnToPrevious = [this] {
      ++Returns;
      return ReturnOpens;
    };
    parts.PrintDialog = [this](const TSlidePictures& pictures, TPrintDialogStart start) {
      PrintDialogs.push_back({pictures.SlideIndex(), start, Viewer->IsPaused(), pictures.WholeSlide() != nullptr});
    };
    Form = std::make_unique<TMainForm>(*Viewer, Window, Pointer, std::move(parts));
    Form->ShowOpened(u"/shows");
    EXPECT_TRUE(WaitForReportAt(0));
  }
  ~TFormHarness() { Form.reset(); }

  void Key(int key, uint32_t modifiers = 0) { Form->OnKey(modifiers, key, kKeyDownEvent); }
  void Mouse(TMouseEvent event, int32_t x, int32_t y = 50) {
    const bool press = event == TMouseEvent::Press || event == TMouseEvent::DoubleClick;
    Form->OnMouseButton(press ? uint32_t(kStateLeftButton) : 0u, x, event, event == TMouseEvent::Move ? 0 : int32_t(kLeftButton), y);
  }
  // Paused at ms, reported.
  void PauseAt(int32_t ms) {
    Viewer->SeekAndPause(ms, true);
    ASSERT_TRUE(WaitForReportAt(ms));
  }
  // Lets the engine run for ms of virtual time.
  void RunFor(uint32_t ms) {
    const uint32_t start = Clock.NowMs();
    ASSERT_TRUE(WaitFor([&] { return Clock.NowMs() - start >= ms; }));
  }
  // The mouse is heard once the form has been there a second.
  void WaitOutQuietTime() {
    const uint32_t start = Clock.NowMs();
    ASSERT_TRUE(WaitFor([&] { return Clock.NowMs() - start > TMainForm::kMouseQuietTime; }));
  }

  TFakePointer Pointer;
  TRecordingLauncher Launcher;
  std::vector<std::u16string> Told;
  std::vector<TKivActionInfo> Presented;
  struct TPrintDialogSeen {
    int SlideIndex;
    TPrintDialogStart Start;
    bool ShowPaused;
    bool HasSnapshot;
    bool operator==(const TPrintDialogSeen&) const = default;
  };
  std::vector<TPrintDialogSeen> PrintDialogs;
  // The engine's picture of the slides arrives.
  void Snapshot() {
    TKivEventData message;
    message.Code = kSnapshotMessage;
    message.Picture = std::make_unique<TBitmap>(8, 6, TPixelFormat::Bgr24);
    Viewer->HandleMainMessage(message);
  }
  TPresentationResult PresentationResult = TPresentationResult::Opened;
  int Returns = 0;
  bool ReturnOpens = false;
  std::unique_ptr<TMainForm> Form;
};

TEST(MainForm, KeysMoveThroughTheShowPauseAndExit) {
  testing::TLogCapture log;
  TFormHarness harness(kThreeSlides);
  struct TStep {
    int Key;
    uint32_t Modifiers;
    int32_t Report;  // -1: no seek
  };
  const TStep steps[] = {{kKeyRight, 0, 4001},     {kKeyPageDown, 0, 9001}, {kKeyLeft, 0, 4000},
                         {kKeyHome, 0, 1},         {kKeyEnd, 0, 9001},      {kKeyMediaPrevious, 0, 4000},
                         {kKeyBrowserForward, 0, 9001}, {'A', 0, -1},       {kKeyRight, kStateShift, -1}};
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.Key);
    const int32_t requests = harness.Viewer->Engine()->LatestRequestNumber();
    harness.Key(step.Key, step.Modifiers);
    if (step.Report < 0)
      EXPECT_EQ(harness.Viewer->Engine()->LatestRequestNumber(), requests);
    else
      ASSERT_TRUE(harness.WaitForReportAt(step.Report));
    EXPECT_TRUE(harness.Viewer->IsPaused());  // moving keeps the pause
  }
  harness.Key(kKeySpace);
  EXPECT_FALSE(harness.Viewer->IsPaused());
  harness.Key(kKeyP, kStateCtrl);
  EXPECT_TRUE(harness.Viewer->IsPaused());

  harness.Key(kKeyF1);  // asked of the engine, which has no overlay to show it in
  ASSERT_TRUE(harness.WaitFor([&] { return log.Contains("dialog \"help\""); }));

  EXPECT_EQ(harness.Window.Closes, 0);
  harness.Key(kKeyEscape);
  EXPECT_EQ(harness.Window.Closes, 1);
  EXPECT_TRUE(harness.Form->ExitByAction());
  EXPECT_EQ(harness.Form->ExitCode(), 0);
}

TEST(MainForm, PreviousSlideWithin300MsOfASlideBeingShownGoesTwoBackAt600MsOneBack) {
  TFormHarness harness(kThreeSlides);
  const struct {
    int32_t At, Report, Slide;
  } cases[] = {{9300, 4000, 0}, {9600, 9000, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.At);
    harness.PauseAt(c.At);  // slide 3 has been fully shown since 9000
    harness.Key(kKeyLeft);
    ASSERT_TRUE(harness.WaitForReportAt(c.Report));
    EXPECT_EQ(CurrentSlideIndex(*harness.Show, c.Report), c.Slide);
  }
}

TEST(MainForm, CtrlWheelMovesBySlidesThePlainWheelBy700MsASteps) {
  TFormHarness harness(kThreeSlides);
  const struct {
    uint32_t Modifiers;
    int32_t At, Steps, Report;
  } cases[] = {{kStateCtrl, 4500, -1, 9001}, {kStateCtrl, 4500, 1, 4000}, {0, 4500, -2, 5900},
               {0, 4500, 1, 3800},           {0, 300, 3, 0},             {kStateCtrl | kStateShift, 4500, -1, 5200}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.Modifiers) + " " + std::to_string(c.Steps));
    harness.PauseAt(c.At);
    harness.Form->OnMouseWheel(c.Modifiers, 10, c.Steps, 10);
    ASSERT_TRUE(harness.WaitForReportAt(c.Report));
  }
  // Locked by the show, or under a help page that holds the show, the wheel moves nothing;
  // the mouse's own help closes the page as F1 does.
  TFormHarness locked(kThreeSlides + "opt_lockwheel=1\n");
  TFormHarness held(kThreeSlides + "opt_rightmouse=Help\n[dialog_help]\nDialogPause=1\nobject Page: box\nend\n");
  held.Key(kKeyF1);
  ASSERT_TRUE(held.WaitForStatus([](const TEngineStatus& status) { return status.DialogHolds; }));
  for (TFormHarness* harness : {&locked, &held}) {
    const int32_t requests = harness->Viewer->Engine()->LatestRequestNumber();
    harness->Form->OnMouseWheel(0, 10, -2, 10);
    harness->Form->OnMouseWheel(kStateCtrl, 10, -1, 10);
    EXPECT_EQ(harness->Viewer->Engine()->LatestRequestNumber(), requests);
  }
  held.WaitOutQuietTime();
  held.Form->OnMouseButton(kStateRightButton, 10, TMouseEvent::Press, kRightButton, 10);
  EXPECT_TRUE(held.WaitForStatus([](const TEngineStatus& status) { return !status.DialogOpen; }));
}

TEST(MainForm, TheShowsKeysGoOnFromAStopPointWhereTheUserMayNotMoveTheShow) {
  TFormHarness harness(SlidesEndingAt(EvenSlideEnds(9, 1000)) + "opt_manualshow=1\nopt_synchpermitcontrol=0\n", {},
                       true);
  harness.Viewer->SetPaused(false);
  const int keys[] = {kKeyPause,          kKeySpace,     kKeyPageDown,      kKeyRight,
                      kKeyBrowserForward, kKeyMediaNext, kKeyMediaPlayPause};
  int32_t stop = 1000;
  for (const int key : keys) {
    SCOPED_TRACE(key);
    // Positions are reported in steps of 20 ms.
    auto atStop = [&] {
      return harness.Viewer->Status().AtStop && harness.Viewer->Position() > stop - 30 &&
             harness.Viewer->Position() <= stop;
    };
    ASSERT_TRUE(harness.WaitFor(atStop));
    harness.Key(kKeyLeft);  // not a key that goes on
    harness.RunFor(200);
    EXPECT_TRUE(atStop());
    harness.Key(key);
    ASSERT_TRUE(harness.WaitFor([&] { return harness.Viewer->Position() > stop; }));
    stop += 1000;
  }
}

TEST(MainForm, AClickOnAButtonMovesOnReleaseNotOnPress) {
  TFormHarness harness(kThreeSlides + "opt_leftmouse=Pause\n", PictureAndButton);
  harness.PauseAt(1000);
  harness.WaitOutQuietTime();
  harness.Mouse(TMouseEvent::Move, 350);
  ASSERT_TRUE(harness.WaitForStatus([](const TEngineStatus& status) { return status.HoverClass == "TKivButton"; }));
  const int32_t requests = harness.Viewer->Engine()->LatestRequestNumber();
  harness.Mouse(TMouseEvent::Press, 350);
  harness.Mouse(TMouseEvent::Move, 10);  // the engine has taken the press once it hears this
  ASSERT_TRUE(harness.WaitForStatus([](const TEngineStatus& status) { return !status.Hover; }));
  harness.RunFor(100);
  EXPECT_EQ(harness.Viewer->Engine()->LatestRequestNumber(), requests);  // pressed: nothing moved
  EXPECT_TRUE(harness.Viewer->IsPaused());  // and the mouse option did not run either
  harness.Mouse(TMouseEvent::Move, 350);
  harness.Mouse(TMouseEvent::Release, 350);
  ASSERT_TRUE(harness.WaitForReportAt(4001));
  EXPECT_TRUE(harness.Viewer->IsPaused());
}

TEST(MainForm, ThePointerIsAHandOverClickablePicturesAndHiddenPointersClickNothing) {
  TFormHarness harness(kThreeSlides, PictureAndButton);
  harness.PauseAt(1000);
  harness.WaitOutQuietTime();
  auto shapeOver = [&](int32_t x, const std::string& hoverClass) {
    harness.Mouse(TMouseEvent::Move, x);
    EXPECT_TRUE(harness.WaitForStatus([&](const TEngineStatus& status) { return status.HoverClass == hoverClass; }));
    harness.Form->CheckPointer();
    return harness.Pointer.Shape;
  };
  EXPECT_EQ(shapeOver(150, "TKivImage"), TCursorShape::Hand);
  EXPECT_EQ(shapeOver(350, "TKivButton"), TCursorShape::Arrow);  // buttons show their own looks
  EXPECT_EQ(shapeOver(150, "TKivImage"), TCursorShape::Hand);
  // Leaving the window clears what the pointer was over.
  harness.Pointer.State.Inside = false;
  harness.Form->CheckPointer();
  ASSERT_TRUE(harness.WaitForStatus([](const TEngineStatus& status) { return !status.Hover; }));
  harness.Form->CheckPointer();
  EXPECT_EQ(harness.Pointer.Shape, TCursorShape::Arrow);

  // Hidden for good: a click runs the mouse option, whatever lies under the pointer.
  TFormHarness hidden(kThreeSlides + "opt_hidecursor=1\nopt_leftmouse=Prev. slide\n", PictureAndButton);
  EXPECT_EQ(hidden.Pointer.Shape, TCursorShape::Hidden);
  hidden.PauseAt(1000);
  hidden.WaitOutQuietTime();
  hidden.Mouse(TMouseEvent::Move, 150);
  hidden.Mouse(TMouseEvent::Press, 350);
  hidden.Mouse(TMouseEvent::Release, 350);
  ASSERT_TRUE(hidden.WaitForReportAt(0));
  EXPECT_EQ(hidden.Pointer.Shape, TCursorShape::Hidden);

  // Hidden while a button is held: the release still belongs to the press.
  TFormHarness held(kThreeSlides + "opt_hidecursor=2\nopt_hc2_hideinterval=3600\n", PictureAndButton);
  held.PauseAt(1000);
  held.WaitOutQuietTime();
  held.Mouse(TMouseEvent::Move, 350);
  ASSERT_TRUE(held.WaitForStatus([](const TEngineStatus& status) { return status.HoverClass == "TKivButton"; }));
  held.Mouse(TMouseEvent::Press, 350);
  held.Clock.Advance(3601 * 1000);
  held.Form->CheckPointer();
  EXPECT_EQ(held.Pointer.Shape, TCursorShape::Hidden);
  held.Mouse(TMouseEvent::Release, 350);
  EXPECT_TRUE(held.WaitForReportAt(4001));
}

TEST(MainForm, ActionsMoveThePausedShowAndEnd) {
  TFormHarness harness(kThreeSlides + "[Slide2]\nslideid=Beach\n");
  struct TStep {
    TKivActionInfo Action;
    int32_t Report;  // -1: no seek
    bool Paused;
  };
  const TStep steps[] = {
      {{kActionGoToSlide, 3, u""}, 9001, true},        {{kActionGoToSlide, -1, u"Beach"}, 4001, true},
      {{kActionGoToSlide, -1, u"Nowhere"}, -1, true},  {{kActionGoToTime, 7000, u""}, 7000, true},
      {{kActionGoToSlide, 0, u""}, 1, true},           {{kActionPause, 0, u""}, -1, false},
      {{kActionStop, 0, u""}, 0, true},                {{kActionSaveSlide, 0, u""}, -1, true},
  };
  for (const TStep& step : steps) {
    SCOPED_TRACE(int(step.Action.Type));
    const int32_t requests = harness.Viewer->Engine()->LatestRequestNumber();
    EXPECT_TRUE(harness.Form->CarryOutAction(step.Action));
    if (step.Report < 0)
      EXPECT_EQ(harness.Viewer->Engine()->LatestRequestNumber(), requests);
    else
      ASSERT_TRUE(harness.WaitForReportAt(step.Report));
    EXPECT_EQ(harness.Viewer->IsPaused(), step.Paused);
  }
  // Closing without a dialog open ends with exit code 1.
  EXPECT_TRUE(harness.Form->CarryOutAction({kActionCloseDialog, 0, u""}));
  EXPECT_EQ(harness.Window.Closes, 1);
  EXPECT_EQ(harness.Form->ExitCode(), 1);
}

TEST(MainForm, ProgramsAndLinksGoToTheLauncherAndLinksAreNeverSplit) {
  TFormHarness harness(kThreeSlides);
  struct TCase {
    TKivActionInfo Action;
    TLaunchRequest Started;
    int Closes;
  };
  const TCase cases[] = {
      {{kActionRunApp, 0, u"notepad.exe readme.txt"}, {"notepad.exe", {"readme.txt"}, "/shows"}, 0},
      {{kActionOpenWebSite, 0, u"www.example.com/a,b"}, {"http://www.example.com/a,b", {}, "/shows"}, 0},
      {{kActionOpenWebSite, 0, u"https://example.com"}, {"https://example.com", {}, "/shows"}, 0},
      {{kActionWriteEmail, 0, u"a@x.org,b@y.org"}, {"mailto:a@x.org,b@y.org", {}, "/shows"}, 0},
      {{kActionRunAppAndExit, 0, u"viewer.exe"}, {"viewer.exe", {}, "/shows"}, 1},
  };
  int closes = 0;
  for (const TCase& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.Action.Text));
    harness.Launcher.Requests.clear();
    harness.Form->CarryOutAction(c.Action);
    EXPECT_EQ(harness.Launcher.Requests, std::vector<TLaunchRequest>{c.Started});
    closes += c.Closes;
    EXPECT_EQ(harness.Window.Closes, closes);
  }
  EXPECT_TRUE(harness.Told.empty());
  harness.Form->CarryOutAction({kActionRunApp, 0, u"cmd /c x"});
  EXPECT_EQ(harness.Told, std::vector<std::u16string>{std::u16string(kProhibitedCommandText)});

  // A program that does not start brings the window back over the others.
  harness.Launcher.Answers["gone.exe"] = {TLaunchStatus::Failed, "no"};
  const int rooms = harness.Window.RoomsMade;
  harness.Form->CarryOutAction({kActionRunApp, 0, u"viewer.exe, gone.exe"});
  EXPECT_EQ(harness.Window.RoomsMade, rooms + 2);
  EXPECT_EQ(harness.Window.LaunchFailures, 1);

  // An action arriving while one is carried out is dropped.
  harness.Launcher.During = [&] { EXPECT_FALSE(harness.Form->CarryOutAction({kActionNextSlide, 0, u""})); };
  const int32_t requests = harness.Viewer->Engine()->LatestRequestNumber();
  EXPECT_TRUE(harness.Form->CarryOutAction({kActionRunApp, 0, u"slow.exe"}));
  EXPECT_EQ(harness.Viewer->Engine()->LatestRequestNumber(), requests);
}

// What a close does, by what caused it and the show's "opt_runapponexit" options:
// run "opt_runapponexitfn", open it as a show, or return to the show this one was
// opened from; the window stays open when another show plays in it.
TEST(MainForm, TheCloseSequenceRunsTheExitProgramOrReturnsOnlyForTheRightCauses) {
  enum TCause { kEnd, kEsc, kWindowManager };
  struct TCase {
    TCause Cause;
    int OnExit;   // opt_runapponexit
    bool IfLast;  // opt_runapponexitiflastslide
    bool Runs;    // the program runs, or the show is opened (OnExit 2); else an end or
                  // an exit action returns to the show left
  };
  const TCase cases[] = {
      {kEnd, 1, true, true},   {kEsc, 1, true, false},  {kWindowManager, 1, true, false},
      {kEnd, 1, false, true},  {kEsc, 1, false, true},  {kWindowManager, 1, false, false},
      {kEnd, 0, false, false}, {kEsc, 2, false, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Cause) + " " + std::to_string(c.OnExit) + " " + std::to_string(c.IfLast));
    TFormHarness harness(SlidesEndingAt({300, 600}) + "opt_repeat=close\nopt_runapponexit=" + std::to_string(c.OnExit) +
                         "\nopt_runapponexitiflastslide=" + (c.IfLast ? "1" : "0") + "\nopt_runapponexitfn=after.exe\n");
    harness.ReturnOpens = true;
    // A show named to open on exit that cannot open, as a failed action would close it.
    harness.PresentationResult = TPresentationResult::Failed;
    if (c.Cause == kEnd) {
      harness.Viewer->SetPaused(false);
      ASSERT_TRUE(harness.WaitFor([&] { return harness.Window.Closes + harness.Returns + harness.Launcher.Requests.size() > 0; }));
    } else if (c.Cause == kEsc) {
      harness.Key(kKeyEscape);
    } else {
      harness.Form->RequestClose();
    }
    const bool ran = c.OnExit == 1 ? !harness.Launcher.Requests.empty() : !harness.Presented.empty();
    EXPECT_EQ(ran, c.Runs);
    const bool returns = !c.Runs && c.Cause != kWindowManager;
    EXPECT_EQ(harness.Returns, returns ? 1 : 0);
    EXPECT_EQ(harness.Window.Closes, returns ? 0 : 1);
    EXPECT_EQ(harness.Form->ExitByAction(), !returns && c.Cause != kWindowManager);
  }
}

// Only a show that cannot be opened without return ends the show that was to give way.
TEST(MainForm, AShowThatCannotOpenEndsTheShowThatWasToGiveWayOnlyWithoutReturn) {
  TFormHarness harness(kThreeSlides);
  using R = TPresentationResult;
  for (const auto& [type, result] : {std::pair{kActionRunPresentationAndReturn, R::Failed},
                                     {kActionRunPresentation, R::Stopped}, {kActionRunPresentation, R::Failed}}) {
    harness.PresentationResult = result;
    EXPECT_TRUE(harness.Form->CarryOutAction({type, 0, u"b"}));
  }
  EXPECT_EQ(harness.Window.Closes, 1);
  harness.Form->SetBusy(true);  // closing waits for a child program
  harness.Form->RequestClose();
  EXPECT_EQ(harness.Window.Closes, 1);
}

}  // namespace
}  // namespace kiv

namespace kiv {
namespace {

TEST(MainForm, ThePrintActionsOpenThePrintDialogForTheSlideOnScreenWithTheShowStandingStill) {
  TFormHarness harness(kThreeSlides + "CanRestore=1\n");
  harness.PauseAt(5000);  // on the second slide
  harness.Viewer->SetPaused(false);
  const struct {
    TKivActionInfo Action;
    TPrintDialogStart Start;
  } steps[] = {{{kActionPrint, 0, u""}, TPrintDialogStart::Print},
               {{kActionSaveSlide, 0, u""}, TPrintDialogStart::Save},
               {{kActionChangePrinter, 0, u""}, TPrintDialogStart::ChangePrinter}};
  for (const auto& step : steps) {
    harness.PrintDialogs.clear();
    EXPECT_TRUE(harness.Form->CarryOutAction(step.Action));
    harness.Snapshot();
    ASSERT_EQ(harness.PrintDialogs.size(), 1u);
    EXPECT_EQ(harness.PrintDialogs[0].Start, step.Start);
    EXPECT_EQ(harness.PrintDialogs[0].SlideIndex, 1);
    EXPECT_TRUE(harness.PrintDialogs[0].ShowPaused) << "the show ran under the dialog";
    EXPECT_TRUE(harness.PrintDialogs[0].HasSnapshot);
    EXPECT_FALSE(harness.Viewer->IsPaused()) << "the show did not go on after the dialog";
  }
  // A paused show stays paused.
  harness.Viewer->SetPaused(true);
  harness.Snapshot();
  EXPECT_TRUE(harness.Viewer->IsPaused());
}

TEST(MainForm, SavingNeedsTheShowsLeaveAndAShowWithoutSlidesHasNoSlideOnScreen) {
  TFormHarness harness("[main]\nopt_slidescount=0\n");
  EXPECT_TRUE(harness.Form->CarryOutAction({kActionSaveSlide, 0, u""}));
  harness.Snapshot();  // the one a print action would have asked for
  ASSERT_EQ(harness.PrintDialogs.size(), 1u);
  EXPECT_EQ(harness.PrintDialogs[0].Start, TPrintDialogStart::Print);
  EXPECT_EQ(harness.PrintDialogs[0].SlideIndex, -1);
}

}  // namespace
}  // namespace kiv
