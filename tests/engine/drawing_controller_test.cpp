// The drawing controller on an offscreen window: frames of real slides read back
// through the frame-drawn observer, the colour around the slide area, empty frames,
// transitions (a show's own one made with its slide), snapshots and a device that
// changes its size.
#include "engine/drawing_controller.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/text.h"
#include "container/file_accessor.h"
#include "container/file_source.h"
#include "engine/kiv_third_slide.h"
#include "model/kiv_source.h"
#include "model/nav_test_support.h"
#include "render/device/device_test_support.h"
#include "render/drawer/draw_filter.h"
#include "render/drawer/drawer_3d.h"
#include "render/drawer/kiv_filter.h"
#include "render/transitions/transition_factory.h"
#include "support/pixels.h"
#include "support/project_slides.h"
#include "support/project_text.h"
#include "support/show_text.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;
using testing::MakeTestWindow;
using testing::TestEngine;

constexpr int kWidth = 320;
constexpr int kHeight = 200;
constexpr uint32_t kHider = 0xFF336699;
constexpr TFrameStyle kStyle{kHider};

// A 400 x 300 show: slide 1 until 4000 ms (blue with a red middle), slide 2 until 8000
// ms (green) coming in through a transition of 1000 ms, slide 3 named but missing.
const std::string kShow =
    SlidesEndingAt({4000, 8000, 9000}) + "opt_scr_width=400\nopt_scr_height=300\n[Slide1]\n" +
    BoxSlide("0,0,255", "255,0,0") +
    "[Slide2]\nUsePersonal=1\nPers_Effect=1\nEffect_Class=2\nEffect_Type=3\nEffectTime=1000\n" + BoxSlide("0,255,0");

// Stands for a transition: draws nothing itself and remembers the time it was given.
class TQuietEffect : public TDrawFilter {
 public:
  explicit TQuietEffect(double* time) : FTime(time) {}
  void SetTime(double t) override { *FTime = t; }
  void DrawEffect(T3DDrawer&, TEffectSlide) override {}

 private:
  double* FTime;
};

// Files on disk that write down every name asked for, found or not.
class TRecordingFiles : public TRealFileSource {
 public:
  using TRealFileSource::TRealFileSource;
  std::unique_ptr<TStream> OpenStream(std::u16string_view name) override {
    Asked.push_back(Utf16ToUtf8(name));
    return TRealFileSource::OpenStream(name);
  }
  std::vector<std::string> Asked;
};

class DrawingControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Controller.SetFrameDrawn([this](double time, T3DDrawer& drawer) {
      Times.push_back(time);
      LastFrame = drawer.CaptureFrame();
    });
    Controller.EnsureDrawer();
  }
  void TearDown() override { SetTransitionFactory(nullptr); }

  // Composes and draws the frame of time; the frame read back, null when none was drawn.
  const TBitmap* FrameAt(const TSlideList& slides, double time) {
    LastFrame.reset();
    if (Controller.Compose(slides, time, nullptr)) Controller.Draw({kWidth, kHeight}, kStyle);
    return LastFrame.get();
  }

  testing::TTestWindow Window = MakeTestWindow(kWidth, kHeight);
  TProjectSlides Show{kShow, {kWidth, kHeight}};
  TDrawingController Controller{TestEngine(), *Window.Device};
  std::vector<double> Times;
  std::unique_ptr<TBitmap> LastFrame;
};

TEST_F(DrawingControllerTest, ASlideShowsItsBoxesInTheSlideAreaAndTheHiderColourAround) {
  const TRect area = Show.Area();
  ASSERT_GT(area.Left, 4);  // the 4:3 show leaves bars left and right of it
  const TBitmap* frame = FrameAt({Show.Entry(0)}, 1000);
  ASSERT_TRUE(frame);
  const int middle = (area.Top + area.Bottom) / 2;
  EXPECT_EQ(PixelAt(*frame, (area.Left + area.Right) / 2, middle), 0xFFFF0000);
  EXPECT_EQ(PixelAt(*frame, area.Left + 3, middle), 0xFF0000FF);
  EXPECT_EQ(PixelAt(*frame, area.Right - 4, area.Top + 2), 0xFF0000FF);
  EXPECT_EQ(PixelAt(*frame, area.Left - 3, middle), kHider);
  EXPECT_EQ(PixelAt(*frame, area.Right + 2, middle), kHider);
  EXPECT_EQ(Times, std::vector<double>{1000});

  // The same slides at the same time need no new frame; another time does.
  const TSlideList slides{Show.Entry(0)};
  FrameAt(slides, 1500);
  ASSERT_TRUE(Controller.Compose(slides, 1500, nullptr));
  EXPECT_FALSE(Controller.FrameChanged());
  ASSERT_TRUE(Controller.Compose(slides, 1600, nullptr));
  EXPECT_TRUE(Controller.FrameChanged());

  // A snapshot is the frame of the time asked, the slide area alone: no hider bars.
  std::unique_ptr<TBitmap> snapshot = Controller.RenderSnapshot(slides, 2000);
  ASSERT_TRUE(snapshot);
  EXPECT_EQ(snapshot->Width(), area.Width());
  EXPECT_EQ(snapshot->Height(), area.Height());
  EXPECT_EQ(PixelAt(*snapshot, area.Width() / 2, middle - area.Top), 0xFFFF0000);
  EXPECT_EQ(PixelAt(*snapshot, 1, middle - area.Top), 0xFF0000FF);
  EXPECT_EQ(Times.back(), 2000);
}

TEST_F(DrawingControllerTest, WithoutSlidesOnScreenTheFrameIsEmpty) {
  EXPECT_FALSE(Controller.Compose({}, 1000, nullptr));
  EXPECT_FALSE(Controller.Compose({Show.Entry(1)}, 1000, nullptr));  // slide 2 has not begun
  EXPECT_FALSE(Controller.RenderSnapshot({}, 1000));
  Controller.DrawEmpty(kHider);
  ASSERT_TRUE(LastFrame);
  EXPECT_EQ(PixelAt(*LastFrame, kWidth / 2, kHeight / 2), kHider);

  // A slide that could not be built leaves its place empty, in the hider colour.
  const TBitmap* frame = FrameAt({Show.Entry(2)}, 8500);
  ASSERT_TRUE(frame);
  EXPECT_EQ(PixelAt(*frame, kWidth / 2, kHeight / 2), kHider);
}

TEST_F(DrawingControllerTest, TheIncomingSlideChangesInThroughItsTransitionAndThenShowsAlone) {
  int made = 0;
  double effectTime = -1;
  SetTransitionFactory([&](const TKivFilter& filter, const TRect&) {
    ++made;
    EXPECT_EQ(filter.EffectClass(), 2);
    EXPECT_EQ(filter.EffectType(), 3);
    EXPECT_EQ(filter.Duration(), 1000);
    return std::make_unique<TQuietEffect>(&effectTime);
  });
  const TSlideList slides{Show.Entry(0), Show.Entry(1)};
  const int x = Show.Area().Left + 5, y = kHeight / 2;  // beside slide 1's middle box
  EXPECT_EQ(PixelAt(*FrameAt(slides, 3900), x, y), 0xFF0000FF);
  EXPECT_EQ(made, 0);
  // While the change runs the outgoing slide is drawn plainly and the effect (which
  // draws nothing here) is given the time since the change began.
  EXPECT_EQ(PixelAt(*FrameAt(slides, 4400), x, y), 0xFF0000FF);
  EXPECT_EQ(effectTime, 400);
  EXPECT_EQ(PixelAt(*FrameAt(slides, 4900), x, y), 0xFF0000FF);
  EXPECT_EQ(PixelAt(*FrameAt(slides, 5000), x, y), 0xFF00FF00);
  EXPECT_EQ(PixelAt(*FrameAt(slides, 7000), x, y), 0xFF00FF00);
  EXPECT_EQ(made, 1);  // one transition object for the whole change
}

// A show's own transition is made with the slide it leads into, as the loader prepares
// that slide: its effect file is read and its pictures decoded then, and the change
// draws without reading a file. Without its effect file the change cross-fades.
TEST_F(DrawingControllerTest, AShowsOwnTransitionIsMadeWithItsSlideAndDrawsWithoutReadingFiles) {
  TTestFolder folder;
  ASSERT_EQ(std::system(("convert -size 8x8 xc:white '" + (folder.Path() / "dot.png").string() + "'").c_str()), 0);
  fs::create_directories(folder.Path() / "fx");
  // The incoming slide grows from the middle over the outgoing one; a hidden dot comes along.
  std::ofstream(folder.Path() / "fx" / "Grow.kiv")
      << "[main]\nopt_scr_width=400\nopt_scr_height=300\nopt_slidescount=1\nopt_synchpos1=1000\n\n"
         "[Slide1]\nobject Out: image\n  ReplaceWithEffectBuffer=1\nend\n"
         "object In: image\n  ReplaceWithEffectBuffer=2\n"
         "  object K0: keypoint\n    Time=0\n    ScaleX=0\n    ScaleY=0\n  end\n"
         "  object K1: keypoint\n    Time=1000\n    ScaleX=100\n    ScaleY=100\n  end\n"
         "end\n"
         "object Dot: image\n  ImageName=dot.png\n  object K: keypoint\n    Opacity=0\n  end\nend\n";
  SetTransitionFactory(StandardTransitions());
  struct TCase {
    std::string File;
    std::vector<std::string> Prepared;  // what making the slides read
    uint32_t Middle, Corner;            // of the slide area, half way through the change
  };
  const uint32_t red = 0xFFFF0000, blue = 0xFF0000FF, half = 0xFF80007F;
  for (const TCase& expected : {TCase{"fx\\Grow.kiv", {"fx\\Grow.kiv", "dot.png"}, blue, red},
                                TCase{"fx\\Gone.kiv", {"fx\\Gone.kiv"}, half, half}}) {
    const std::string show =
        "[main]\nopt_scr_width=400\nopt_scr_height=300\nopt_slidescount=2\nopt_synchpos1=4000\n"
        "opt_synchpos2=8000\nopt_fx_enable=1\nopt_fx_time=1000\nopt_fx_custom_count=1\nopt_fx_custom0=" +
        expected.File + "\n[Slide1]\n" + BoxSlide("255,0,0") +
        "[Slide2]\nUsePersonal=1\nPers_Effect=1\nEffect_Class=18\nEffect_Type=0\nEffectTime=1000\n" +
        BoxSlide("0,0,255");
    const std::u16string base = Utf8ToUtf16(folder.Path().string()) + u"/";
    auto files = std::make_shared<TRecordingFiles>(base);
    TFileAccessor accessor(files, base);
    TKivSource source(&accessor, ParseProject(show).release(), true, u"show.exe");
    TProjectSlides project(source, {kWidth, kHeight});
    const TSlideList slides{project.Entry(0), project.Entry(1)};
    EXPECT_EQ(files->Asked, expected.Prepared) << expected.File;
    files->Asked.clear();
    ASSERT_TRUE(FrameAt(slides, 4000));  // the change's first frame
    const TBitmap* frame = FrameAt(slides, 4500);
    ASSERT_TRUE(frame);
    EXPECT_TRUE(files->Asked.empty()) << expected.File << " read while the change is drawn: " << files->Asked.front();
    const TRect area = project.Area();
    const auto expectNear = [&](int x, int y, uint32_t colour) {
      EXPECT_TRUE(ColoursNear(PixelAt(*frame, x, y), colour, 3)) << expected.File << " at " << x;
    };
    expectNear((area.Left + area.Right) / 2, (area.Top + area.Bottom) / 2, expected.Middle);
    expectNear(area.Left + 3, area.Top + 3, expected.Corner);
    FrameAt({}, 0);  // the controller lets the slides go before their show does
  }
}

TEST_F(DrawingControllerTest, AResizedDeviceAsksOnceForReinitialisingAndDrawsAtItsNewSize) {
  const TSlideList slides{Show.Entry(0)};
  ASSERT_TRUE(FrameAt(slides, 1000));
  EXPECT_EQ(Controller.GetState() & (kDeviceNeedsReinit | kDrawerReady), uint32_t(kDrawerReady));
  Window.Device->SetRect({0, 0, 200, 120});
  EXPECT_EQ(Controller.DeviceSize(), (TPixelSize{200, 120}));
  const TBitmap* frame = FrameAt(slides, 1100);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->Width(), 200);
  EXPECT_EQ(Controller.GetState() & (kDeviceNeedsReinit | kDrawerReady), uint32_t(kDeviceNeedsReinit | kDrawerReady));
  EXPECT_EQ(Controller.GetState() & kDeviceNeedsReinit, 0u);

  // The window tells its activity and asks for repainting from outside.
  Controller.SetWindowActive(false);
  Controller.Refresh();
  EXPECT_EQ(Controller.GetState() & (kWindowActive | kDeviceRefreshed), uint32_t(kDeviceRefreshed));
  EXPECT_EQ(Controller.GetState() & kDeviceRefreshed, 0u);
}

}  // namespace
}  // namespace kiv

namespace kiv {
namespace {

// The show's logo and its navigation panel are drawn over the slide; the panel's picture
// is taken again when the pointer changes a button's look, even while the slides stand.
TEST_F(DrawingControllerTest, TheLogoAndThePanelAreDrawnOverTheSlide) {
  TTestFolder folder;
  fs::create_directories(folder.Path() / "nav");
  ASSERT_TRUE(MakeNavTextures(folder.Path() / "nav"));
  std::ofstream(folder.Path() / "nav" / "panel.ini") << kNavTestSkin;
  ASSERT_EQ(std::system(("convert -size 40x20 xc:yellow '" + (folder.Path() / "logo.png").string() + "'").c_str()), 0);
  TFileAccessor files(std::make_shared<TRealFileSource>(Utf8ToUtf16(folder.Path().string() + "/")), u"");
  TKivSource source(&files,
                    ParseProject("[main]\nopt_slidescount=0\nopt_logo=1\nopt_logo_fn=logo.png\nopt_logo_pos=4\n"
                                 "opt_logo_size=20\nopt_fcp=1\nopt_nav_inifile=nav/panel.ini\nopt_cp=Top\nopt_nav_showbg=1\n"
                                 "opt_nav_viewscale=41\n")
                        .release(),
                    true, u"show.exe");
  const TRect area = Show.Area();
  TThirdSlideParams params;
  params.Source = &source;
  params.Size = {area.Width(), area.Height()};
  params.IsPlaying = [] { return true; };
  TThirdSlide overlay(params);
  const TSlideList slides{Show.Entry(0)};
  ASSERT_TRUE(Controller.Compose(slides, 1000, &overlay));
  Controller.Draw({kWidth, kHeight}, kStyle);
  ASSERT_TRUE(LastFrame);
  const TRect panel = OffsetRect(overlay.Panel()->Rect(), area.Left, area.Top);
  EXPECT_EQ(PixelAt(*LastFrame, (area.Left + area.Right) / 2, (area.Top + area.Bottom) / 2), 0xFFFFFF00u);  // the logo
  EXPECT_EQ(PixelAt(*LastFrame, panel.Left + 2, panel.Top + 2), 0xFFFF0000u);  // the panel's grid
  EXPECT_EQ(PixelAt(*LastFrame, area.Left + 3, area.Bottom - 3), 0xFF0000FFu);  // the slide around them

  ASSERT_TRUE(Controller.Compose(slides, 1000, &overlay));
  EXPECT_FALSE(Controller.FrameChanged());
  // The pointer is measured from the output's corner.
  overlay.HitTest({TMouseEvent::Move, 0, panel.Left + 24 * panel.Width() / 71, panel.Top + 20 * panel.Height() / 41});
  ASSERT_TRUE(Controller.Compose(slides, 1000, &overlay));
  EXPECT_TRUE(Controller.FrameChanged()) << "the home button now hovers";
}

}  // namespace
}  // namespace kiv
