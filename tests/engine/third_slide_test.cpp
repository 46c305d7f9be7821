#include "engine/kiv_third_slide.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <vector>

#include "base/clock.h"
#include "base/text.h"
#include "engine/engine_test_support.h"
#include "engine/frame_interpolator.h"
#include "model/logo_scale.h"
#include "model/slide_pointer.h"
#include "model/nav_test_support.h"
#include "support/show_source.h"
#include "support/show_text.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

// A show on disk with the test skin as its panel, on an 800 x 1000 layer, on a virtual clock.
class ThirdSlideTest : public TempFolderTest {
 protected:
  ThirdSlideTest() : FPrevious(SetClock(&Time)) {}
  ~ThirdSlideTest() override { SetClock(FPrevious); }

  void SetUp() override {
    std::filesystem::create_directories(folder / "nav");
    ASSERT_TRUE(MakeNavTextures(folder / "nav"));
    std::ofstream(folder / "nav" / "panel.ini") << kNavTestSkin;
  }

  std::unique_ptr<TThirdSlide> Layer(std::string main, bool onShowTime = false) {
    FSource = std::make_unique<TKivSource>(&Files, ParseProject("[main]\nopt_slidescount=0\n" + main).release(), true,
                                           u"show.exe", &ZeroRandom());
    TThirdSlideParams params;
    params.Source = FSource.get();
    params.Size = {800, 1000};
    params.IsPlaying = [] { return true; };
    params.PanelOnShowTime = onShowTime;
    return std::make_unique<TThirdSlide>(params);
  }

  TVirtualClock Time{1000000};
  TFileAccessor Files{std::make_shared<TRealFileSource>(Utf8ToUtf16(folder.string() + "/")), u""};

 private:
  IClock* FPrevious;
  std::unique_ptr<TKivSource> FSource;
};

constexpr std::string_view kHidingPanel =
    "opt_fcp=1\nopt_nav_inifile=nav/panel.ini\nopt_cp=Bottom\nopt_hidenavbar=1\nopt_nav_hideinterval=3\n"
    "opt_nav_hidefadeout=1000\nopt_nav_fadein=500\n";

TEST_F(ThirdSlideTest, TheLogoIsHalvedThenScaledAndPlacedInTheCentre) {
  ASSERT_EQ(std::system(("convert -size 2000x1000 xc:blue '" + (folder / "logo.png").string() + "'").c_str()), 0);
  const auto layer = Layer("opt_logo=1\nopt_logo_fn=logo.png\nopt_logo_pos=4\nopt_logo_opacity=40\n");
  ASSERT_TRUE(layer->Logo().Picture);
  EXPECT_EQ(layer->Logo().Rect, (TRect{300, 450, 500, 550}));  // 10 % of 1000 high, in the middle
  EXPECT_EQ(layer->Logo().Opacity, 40);
  EXPECT_EQ(layer->Item(), layer.get());

  EXPECT_EQ(Layer("opt_logo=1\nopt_logo_fn=missing.png\n")->Item(), nullptr) << "no placeholder for a missing logo";

  TBitmap wide(2000, 1000, TPixelFormat::Bgr24);
  const TScaledLogo scaled = ScaleLogo(wide, 100);
  EXPECT_EQ(scaled.Halvings, 3);  // 1000, 500, 250 wide: the last one under twice 200
  EXPECT_EQ(scaled.Picture->Width(), 200);
  EXPECT_FALSE(ScaleLogo(wide, 0).Picture) << "a target of no pixels ends at once";
}

// The panel starts fading once the pointer rested longer than the interval, is gone a
// fade-out later, and only a move of 6 pixels or more brings it back.
TEST_F(ThirdSlideTest, ThePanelHidesWhileThePointerRests) {
  const auto layer = Layer(std::string(kHidingPanel));
  ASSERT_TRUE(layer->Panel());
  layer->HitTest({TMouseEvent::Move, 0, 10, 10});
  struct TStep {
    uint32_t Advance;  // ms
    int32_t X, Y;      // pointer position after it
    double Opacity;
    int32_t State;
  };
  const TStep steps[] = {
      {3000, 10, 10, 100, 1}, {1, 10, 10, 100, 1}, {500, 10, 10, 50, 1}, {500, 10, 10, 0, 0},
      {100, 13, 12, 0, 0},    // |dx| + |dy| = 5: still resting
      {0, 16, 15, 0, 1},      // 6: back, fading in
      {250, 16, 15, 50, 1},   {250, 16, 15, 100, 1},
  };
  for (const TStep& step : steps) {
    Time.Advance(step.Advance);
    layer->HitTest({TMouseEvent::Move, 0, step.X, step.Y});
    layer->Update(0);
    EXPECT_NEAR(layer->PanelOpacity(), step.Opacity, 0.01) << step.Advance << " ms to " << step.X;
    EXPECT_EQ(layer->PanelState(), step.State) << step.Advance << " ms to " << step.X;
  }
  // The pointer over the panel keeps it, and a click there carries out its button.
  const TRect panel = layer->Panel()->Rect();
  const TKivMouseRecord onHome{TMouseEvent::Press, 1, panel.Left + 24 * panel.Width() / 71, panel.Top + 20 * panel.Height() / 41};
  layer->HitTest({TMouseEvent::Move, 0, onHome.X, onHome.Y});
  Time.Advance(10000);
  layer->Update(0);
  EXPECT_EQ(layer->PanelOpacity(), 100);
  EXPECT_EQ(layer->PanelState(), 2);
  EXPECT_EQ(layer->HitTest(onHome).Kind, THitKind::NavPanel);
  TKivMouseRecord release = onHome;
  release.Event = TMouseEvent::Release;
  EXPECT_EQ(layer->HitTest(release).Fire, (TKivActionInfo{kActionGoToSlide, 0, {}}));
}

TEST_F(ThirdSlideTest, APanelHiddenOnStartUpFadesOutAtOnce) {
  const auto layer = Layer(std::string(kHidingPanel) + "opt_nav_hideonstartup=1\n");
  layer->Update(0);
  EXPECT_EQ(layer->PanelOpacity(), 0) << "seen on the first frame";
  Time.Advance(1000);
  layer->Update(0);
  EXPECT_EQ(layer->PanelState(), 0);
}

// Timed on the show, the panel at a show time is the same whatever time came before:
// shown until the 3 s interval, half gone 500 ms later, gone after the fade-out, or
// hidden from the start; the process clock does not count.
TEST_F(ThirdSlideTest, OnTheShowTimeThePanelDependsOnlyOnTheTime) {
  const struct {
    bool OnStartUp;
    std::vector<double> Times;  // the last one is looked at
    double Opacity;
  } cases[] = {{false, {0, 2500}, 100},    {false, {0, 3500}, 50},  {false, {3500}, 50}, {false, {0, 2500, 3500}, 50},
               {false, {12500}, 0},       {false, {0, 3200, 3700}, 30}, {true, {0}, 0},   {true, {2500}, 0}};
  for (const auto& c : cases) {
    const auto layer = Layer(std::string(kHidingPanel) + (c.OnStartUp ? "opt_nav_hideonstartup=1\n" : ""), true);
    for (double time : c.Times) {
      Time.Advance(777);
      layer->Update(time);
    }
    EXPECT_NEAR(layer->PanelOpacity(), c.Opacity, 0.2) << c.Times.back() << (c.OnStartUp ? " hidden on start-up" : "");
  }
}

// A fade turned round half-way goes back from the opacity reached, in the part of its
// own time that is left.
TEST_F(ThirdSlideTest, AReversedFadeGoesOnFromItsOpacity) {
  TPanelFader fader(500, 1000);
  fader.Update(true);
  Time.Advance(500);
  fader.Update(true);
  EXPECT_NEAR(fader.Opacity(), 50, 0.01);
  fader.Update(false);
  Time.Advance(125);
  fader.Update(false);
  EXPECT_NEAR(fader.Opacity(), 75, 0.01);
  Time.Advance(125);
  fader.Update(false);
  EXPECT_EQ(fader.Opacity(), 100);
}

// "help" holds the show; "About" (named by number) and "Info" do not.
constexpr std::string_view kDialogs =
    "opt_scr_width=800\nopt_scr_height=600\nopt_customdialogscount=1\ncustom_dialog1=About\n"
    "[dialog_help]\nDialogPause=1\nobject Ok: box\n  Size=4,3\n  Action=closedialog\n"
    "  object K: keypoint\n    ScaleX=50\n    ScaleY=50\n  end\nend\n"
    "[dialog_1_]\nobject Text: box\nend\n[dialog_Info]\nDialogPause=1\nobject Text: box\nend\n";

// Each dialog fades in and out over 200 ms on its own; closing on an empty stack,
// unknown names and opening while a dialog fades out do nothing; opening an open
// dialog closes it.
TEST_F(ThirdSlideTest, DialogsStackAndFadeEachOnItsOwn) {
  const auto layer = Layer(std::string(kDialogs));
  enum TDo { Open, Close, Navigate, Wait };
  struct TStep {
    TDo Do;
    std::u16string_view Name;
    uint32_t Advance;        // ms, before the overlay is updated
    std::string Expected;    // name:fade of each dialog, from the bottom up
    bool Holds;
  };
  const TStep steps[] = {
      {Close, u"", 0, "", false},  // nothing open: harmless
      {Open, u"help", 100, "help:50 ", true},
      {Open, u"About", 100, "help:100 About:50 ", true},  // the help dialog's fade went on
      {Open, u"Nothing", 0, "help:100 About:50 ", true},
      {Close, u"", 50, "help:100 About:25 ", true},  // turns round from where it stood
      {Open, u"Info", 0, "help:100 About:25 ", true},  // ignored while About fades out
      {Wait, u"", 50, "help:100 ", true},
      {Open, u"Info", 200, "help:100 Info:100 ", true},
      {Navigate, u"", 100, "Info:50 ", true},  // the lower holding dialog goes at once
      {Wait, u"", 100, "", false},
      {Open, u"help", 200, "help:100 ", true},
      {Open, u"help", 200, "", false},  // the second time closes it
  };
  for (const TStep& step : steps) {
    if (step.Do == Open) layer->OpenDialog(step.Name);
    if (step.Do == Close) layer->CloseDialog(-1);
    if (step.Do == Navigate) layer->CloseDialogsOnMove();
    Time.Advance(step.Advance);
    layer->Update(0);
    std::string seen;
    for (size_t i = 0; i < layer->Dialogs().Count(); ++i)
      seen += Utf16ToUtf8(layer->Dialogs().At(i).DialogName()) + ":" +
              std::to_string(std::lround(layer->Dialogs().At(i).Fade())) + " ";
    EXPECT_EQ(seen, step.Expected) << "after " << int(step.Do) << " " << Utf16ToUtf8(step.Name);
    EXPECT_EQ(layer->HoldsShow(), step.Holds) << seen;
    EXPECT_EQ(layer->IsDialogOpen(), !seen.empty());
  }
}

// The top dialog's objects take the pointer: a press there is taken, its release
// carries out the object's action.
TEST_F(ThirdSlideTest, TheTopDialogTakesThePointer) {
  const auto layer = Layer(std::string(kDialogs));
  layer->SetLayer({0, 0, 800, 600});
  layer->OpenDialog(u"help");
  Time.Advance(200);
  layer->Update(0);
  EXPECT_EQ(layer->Item(), layer.get());
  const THitResult press = layer->HitTest({TMouseEvent::Press, 1, 400, 300, kPointerLeftButton});
  EXPECT_EQ(press.Kind, THitKind::Object);
  EXPECT_TRUE(press.Taken);
  EXPECT_EQ(layer->HitTest({TMouseEvent::Release, 1, 400, 300}).Fire, (TKivActionInfo{kActionCloseDialog, 0, {}}));
  // Beside its objects a dialog that holds the show takes the press too; one that lets
  // the show run leaves it to the slides.
  const THitResult beside = layer->HitTest({TMouseEvent::Press, 1, 20, 20, kPointerLeftButton});
  EXPECT_TRUE(beside.Taken);
  EXPECT_EQ(beside.Action.Type, kActionNone);
  // On a smaller area the open dialog shrinks with it.
  layer->SetLayer({0, 0, 400, 300});
  layer->Update(0);
  EXPECT_EQ(layer->HitTest({TMouseEvent::Press, 1, 320, 240, kPointerLeftButton}).ClassName, "TKivDialog");
  EXPECT_EQ(layer->HitTest({TMouseEvent::Press, 1, 120, 90, kPointerLeftButton}).ClassName, "TKivObject");
  for (const std::u16string_view step : {u"", u"About"}) {
    step.empty() ? layer->CloseDialog(-1) : layer->OpenDialog(step);
    Time.Advance(200);
    layer->Update(0);
  }
  EXPECT_EQ(layer->Dialogs().Count(), 1u);
  EXPECT_EQ(layer->HitTest({TMouseEvent::Press, 1, 20, 20, kPointerLeftButton}).Kind, THitKind::None);
}

// A click on a panel button reaches the main thread as the player's action.
TEST(ThirdSlideEngineTest, AClickOnThePanelReachesThePlayerAsItsAction) {
  TTestFolder folder;
  std::filesystem::create_directories(folder.Path() / "nav");
  ASSERT_TRUE(MakeNavTextures(folder.Path() / "nav"));
  std::ofstream(folder.Path() / "nav" / "panel.ini") << kNavTestSkin;
  TFileAccessor files(std::make_shared<TRealFileSource>(Utf8ToUtf16(folder.Path().string() + "/")), u"");
  TKivSource show(&files, ParseProject("[main]\nopt_slidescount=0\nopt_fcp=1\nopt_nav_inifile=nav/panel.ini\n").release(),
                  true, u"show.exe", &ZeroRandom());
  std::atomic<TThirdSlide*> overlay = nullptr;
  TEngineHarness harness({}, [&](const TThirdSlideParams& params) {
    TThirdSlideParams withFiles = params;
    withFiles.Source = &show;
    auto made = std::make_unique<TThirdSlide>(withFiles);
    overlay = made.get();
    return made;
  });
  harness.Play(SlidesEndingAt({4000, 9000}));
  ASSERT_TRUE(harness.WaitFor([&] { return harness.Engine->Status().Active; }));
  const TRect panel = overlay.load()->Panel()->Rect();
  const int32_t x = panel.Left + 24 * panel.Width() / 71, y = panel.Top + 20 * panel.Height() / 41;
  harness.Engine->RequestMouse({TMouseEvent::Press, 1, x, y, 0, 0});
  harness.Engine->RequestMouse({TMouseEvent::Release, 1, x, y, 0, 0});
  ASSERT_TRUE(harness.WaitFor([&] { return !harness.Actions.empty(); }));
  EXPECT_EQ(harness.Actions[0], (TKivActionInfo{kActionGoToSlide, 0, u""}));
}

TEST(FrameInterpolatorTest, PassesTimesThroughWhileItLearnsThenSmooths) {
  TFrameInterpolator interpolator;
  double time = 0;
  for (int frame = 1; frame <= 16 + 32; ++frame) {
    time += frame % 2 ? 10 : 30;  // uneven frames
    EXPECT_EQ(interpolator.Smooth(time), time) << frame;
  }
  // The last 32 steps (the first 10 left) sum to 660: the prediction 960 + 660 / 32 is
  // pulled a sixth of the way towards 990.
  const double predicted = 960 + 660.0 / 32;
  EXPECT_NEAR(interpolator.Smooth(time + 30), predicted + (990 - predicted) / 6, 1e-9);
  interpolator.SetPassThrough(true);
  EXPECT_EQ(interpolator.Smooth(2000), 2000);
  interpolator.SetPassThrough(false);
  EXPECT_EQ(interpolator.Smooth(2010), 2010) << "one more call passes through";
  EXPECT_NE(interpolator.Smooth(2050), 2050);
}

}  // namespace
}  // namespace kiv
