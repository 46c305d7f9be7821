// The mouse, the overlay's dialogs and timed slide actions, as the engine handles them
// and publishes them to the main thread.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "engine/engine_test_support.h"
#include "support/show_text.h"

namespace kiv {
namespace {

const std::string kShowA = SlidesEndingAt({4000, 9000, 15000});

TKivMouseRecord Mouse(TMouseEvent event, int x, int y = 50) {
  TKivMouseRecord mouse;
  mouse.Event = event;
  mouse.Button = event == TMouseEvent::Move ? 0 : 1;
  mouse.X = x;
  mouse.Y = y;
  return mouse;
}

// Each slide has one object between x 100 and 200: a next-slide button on the first, a
// text without action on the second, a picture that goes to slide 1 on the third.
THitResult ObjectsOfSlides(int slide, const TKivMouseRecord& mouse) {
  if (mouse.X < 100 || mouse.X >= 200) return {};
  switch (slide % 3) {
    case 0:
      return ObjectHit("TKivButton", {kActionNextSlide, 0, u""});
    case 1:
      return ObjectHit("TKivText");
    default:
      return ObjectHit("TKivPicture", {kActionGoToSlide, 1, u""});
  }
}

TEST(KivEngineInput, ClicksRunOnReleaseAndPressesTakenByObjectsSkipTheMouseAction) {
  TEngineHarness harness(ObjectsOfSlides);
  harness.Open(kShowA, 1000);
  harness.Engine->Start();
  ASSERT_TRUE(harness.WaitForSlidesAt(1000));
  auto hovering = [&](bool hover, const std::string& hoverClass) {
    return harness.WaitFor([&] {
      const TEngineStatus status = harness.Engine->Status();
      return status.Hover == hover && status.HoverClass == hoverClass;
    });
  };
  TKivEngine& engine = *harness.Engine;
  const TKivActionInfo pause{kActionPause, 0, u""};
  const TKivActionInfo exit{kActionExit, 0, u""};

  engine.RequestMouse(Mouse(TMouseEvent::Move, 150));
  ASSERT_TRUE(hovering(true, "TKivButton"));
  engine.RequestMouse(Mouse(TMouseEvent::Press, 150), pause);  // the button takes the press
  engine.RequestMouse(Mouse(TMouseEvent::Release, 150));       // and runs on release
  engine.RequestMouse(Mouse(TMouseEvent::Press, 10), pause);   // nothing there: the mouse's own action
  engine.RequestMouse(Mouse(TMouseEvent::Release, 10));
  engine.RequestMouse(Mouse(TMouseEvent::Press, 150));
  engine.RequestMouse(Mouse(TMouseEvent::Release, 10));              // dragged off: nothing
  engine.RequestMouse(Mouse(TMouseEvent::DoubleClick, 150), exit);   // presses the button, nothing more
  engine.RequestMouse(Mouse(TMouseEvent::Release, 150));
  engine.RequestMouse(Mouse(TMouseEvent::Move, 10), exit);  // a move that ends the show
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Actions.size() == 4; }));
  EXPECT_EQ(harness.Actions, (std::vector<TKivActionInfo>{
                                 {kActionNextSlide, 0, u""}, pause, {kActionNextSlide, 0, u""}, exit}));
  ASSERT_TRUE(hovering(false, ""));

  // A resting pointer follows what moves under it: the text of slide 2 has no action,
  // the picture of slide 3 has one.
  engine.RequestMouse(Mouse(TMouseEvent::Move, 150));
  engine.RequestPause(false);
  ASSERT_TRUE(harness.WaitFor([&] { return harness.LastPosition() > 4100; }));
  ASSERT_TRUE(hovering(false, ""));
  ASSERT_TRUE(harness.WaitFor([&] { return harness.LastPosition() > 9100; }));
  ASSERT_TRUE(hovering(true, "TKivPicture"));
}

// An overlay whose dialogs hold the show, with the navigation panel at the bottom.
class TFakeOverlay : public IThirdSlide {
 public:
  explicit TFakeOverlay(TThirdSlideParams params) : FParams(std::move(params)) {}

  void Update(double) override {
    if (GoToTimeOnNextUpdate.exchange(false)) FParams.GoToTime(12345);
  }
  bool HoldsShow() const override { return DialogOpen; }
  bool IsDialogOpen() const override { return DialogOpen; }
  void OpenDialog(std::u16string_view name) override {
    std::lock_guard lock(FLock);
    FDialog = name;
    DialogOpen = true;
  }
  void CloseDialog(int result) override {
    LastResult = result;
    DialogOpen = false;
  }
  void CloseDialogsOnMove() override { ++MoveCloses; }
  THitResult HitTest(const TKivMouseRecord& mouse) override {
    THitResult panel;
    panel.Kind = THitKind::NavPanel;
    return mouse.Y >= 400 ? panel : THitResult{};
  }
  std::u16string Dialog() {
    std::lock_guard lock(FLock);
    return FDialog;
  }

  std::atomic<bool> DialogOpen{false};
  std::atomic<int> LastResult{0};
  std::atomic<int> MoveCloses{0};
  std::atomic<bool> GoToTimeOnNextUpdate{false};

 private:
  TThirdSlideParams FParams;
  std::mutex FLock;
  std::u16string FDialog;
};

TEST(KivEngineInput, DialogsStayWithTheOverlayAndHoldTheShow) {
  std::atomic<TFakeOverlay*> overlay = nullptr;
  auto helpButton = [](int, const TKivMouseRecord& mouse) {
    return mouse.X < 50 ? ObjectHit("TKivButton", {kActionHelp, 0, u""}) : THitResult{};
  };
  TEngineHarness harness(helpButton, [&](const TThirdSlideParams& params) {
    auto made = std::make_unique<TFakeOverlay>(params);
    overlay = made.get();
    return made;
  });
  harness.Play(kShowA);
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Engine->Status().Active; }));

  harness.Engine->RequestHelp();
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Engine->Status().DialogOpen && !harness.Engine->Status().Active; }));
  EXPECT_EQ(overlay.load()->Dialog(), u"help");
  harness.Pump();
  const int32_t held = harness.LastPosition();
  harness.RunFor(1000);
  EXPECT_EQ(harness.LastPosition(), held);

  harness.Engine->RequestCloseDialog();
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Engine->Status().Active && !harness.Engine->Status().DialogOpen; }));
  EXPECT_EQ(overlay.load()->LastResult, -1);

  // Dialog actions from objects and from the mouse are not posted to the main thread.
  // The press lands on a slide standing still, so it cannot fall between slide lists.
  harness.Engine->RequestPause(true);
  harness.Engine->RequestSeek(2000);
  ASSERT_TRUE(harness.WaitForSlidesAt(2000));
  harness.Engine->RequestMouse(Mouse(TMouseEvent::Press, 10));
  harness.Engine->RequestMouse(Mouse(TMouseEvent::Release, 10));
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Engine->Status().DialogOpen; }));
  harness.Engine->RequestMouse(Mouse(TMouseEvent::Press, 300), TKivActionInfo{kActionCloseDialog, 0, u""});
  ASSERT_TRUE(harness.WaitFor([&] { return !harness.Engine->Status().DialogOpen; }));
  harness.Engine->RequestMouse(Mouse(TMouseEvent::Press, 300), TKivActionInfo{kActionOpenDialog, 0, u"about"});
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Engine->Status().DialogOpen; }));
  EXPECT_EQ(overlay.load()->Dialog(), u"about");
  harness.Engine->RequestCloseDialog();

  // Closing with no dialog open ends the show; moving on closes the overlay's dialogs.
  harness.Engine->RequestMouse(Mouse(TMouseEvent::Press, 300), TKivActionInfo{kActionCloseDialog, 0, u""});
  harness.Engine->RequestMouse(Mouse(TMouseEvent::Press, 300), TKivActionInfo{kActionNextSlide, 0, u""});
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Actions.size() == 2; }));
  EXPECT_EQ(harness.Actions[0].Type, kActionCloseDialog);
  EXPECT_EQ(harness.Actions[1].Type, kActionNextSlide);
  EXPECT_EQ(overlay.load()->MoveCloses, 1);

  // The navigation panel takes presses and names itself as the hover class.
  harness.Engine->RequestMouse(Mouse(TMouseEvent::Press, 300, 450), TKivActionInfo{kActionPause, 0, u""});
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Engine->Status().HoverClass == "NavPanel"; }));
  EXPECT_FALSE(harness.Engine->Status().Hover);

  overlay.load()->GoToTimeOnNextUpdate = true;
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Actions.size() == 3; }));
  EXPECT_EQ(harness.Actions[2], (TKivActionInfo{kActionGoToTime, 12345, u""}));
}

TEST(KivEngineInput, TimedProgramOfASlideIsPostedOnceEachTimeTheSlideStarts) {
  const std::string project =
      kShowA + "opt_repeat=stop\n[Slide2]\nUsePersonal=1\nPers_RunApp=1\nRunAppFN=viewer.exe readme.txt\n";
  TEngineHarness harness;
  harness.Engine->SetStopsEnabled(true);
  harness.Play(project);
  ASSERT_TRUE(harness.WaitFor([&] { return harness.FinishedCount() == 1; }));
  ASSERT_EQ(harness.Actions.size(), 1u);
  EXPECT_EQ(harness.Actions[0], (TKivActionInfo{kActionRunApp, 0, u"viewer.exe readme.txt"}));

  harness.Engine->RequestSeek(3000);  // the slide starts again
  ASSERT_TRUE(harness.WaitFor([&] { return harness.FinishedCount() == 2; }));
  EXPECT_EQ(harness.Actions.size(), 2u);

  harness.Engine->RequestSeek(4500);  // into the slide: its start has passed
  ASSERT_TRUE(harness.WaitFor([&] { return harness.FinishedCount() == 3; }));
  EXPECT_EQ(harness.Actions.size(), 2u);

  TEngineHarness disabled;
  disabled.Play(project);
  ASSERT_TRUE(disabled.WaitFor([&] { return disabled.FinishedCount() == 1; }));
  EXPECT_TRUE(disabled.Actions.empty());
}

}  // namespace
}  // namespace kiv
