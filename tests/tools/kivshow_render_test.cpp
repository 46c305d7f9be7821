// kivshow render on the demo show (packed as the README does): the frames at one time
// per slide, one inside an animation and one inside each slide change match the
// pictures kept in tests/tools/golden
// within a small tolerance, two renders give the same frames byte for byte (the second
// one with the environment naming a display that cannot be reached, which a render
// never uses), and a frame rendered alone (the show opened right there) matches too.
//
// To make the golden pictures anew (after a change that is meant to change the frames),
// run this test with KIV_UPDATE_GOLDEN=1 and look at the pictures before committing them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>
#include <sstream>
#include <tuple>

#include "kivshow/kivshow_command.h"
#include "support/bytes.h"
#include "support/pixels.h"
#include "support/test_folder.h"
#include "tools/show_frames.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;
using testing::LoadFrame;
using testing::RunKivShowBinary;

// Slide 1 at its start and half way through its zoom, then slides 2, 3 and 4, and the
// three slide changes: an opening circle, a push from the right and a page roll. The
// panel hides after 3 s without pointer moves: half gone at 3500, gone from 4000 on.
const std::vector<std::string> kTimes = {"0", "2500", "3500", "7500", "12500", "17500", "5500", "10400", "15700"};
// Slide 3 (a masked viewport and a button) rendered on its own.
const std::string kAloneTime = "12500";
// The help dialog open over the first slide.
const std::string kHelpTime = "2500";
const fs::path kGolden = fs::path(KIV_SOURCE_DIR) / "tests" / "tools" / "golden";
// A pixel counts as different when a channel moves by more than this; a few such pixels
// (edges drawn a little differently by another rasteriser version) are allowed.
constexpr int kChannelTolerance = 24;
constexpr double kDifferentShare = 0.002;

// How many pixels differ by more than the tolerance in some channel.
int DifferentPixels(const TBitmap& a, const TBitmap& b) { return testing::DifferentPixels(a, b, kChannelTolerance); }

class DemoRenderTest : public ::testing::Test {
 protected:
  static inline fs::path folder;
  static inline std::string failure;  // why the renders could not be made

  // One pack and three renders serve every test.
  static void SetUpTestSuite() {
    folder = fs::temp_directory_path() / ("kiv_render_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path show = folder / "demo.KvShow";
    std::string times;
    for (const std::string& time : kTimes) times += (times.empty() ? "" : ",") + time;
    if (RunKivShowBinary(fs::path(KIV_SOURCE_DIR) / "examples" / "demo",
                         "pack Project.kiv --data -o '" + show.string() + "'",  // the button's skin comes by itself
                         folder / "pack.txt") != 0) {
      failure = "pack failed: " + ReadAll(folder / "pack.txt");
      return;
    }
    // The second render is told of an X display that does not exist: drawing offscreen is
    // the tool's own choice, so it renders all the same.
    const std::string noDisplay = "env SDL_VIDEODRIVER=x11 DISPLAY=:4711";
    using TRender = std::tuple<std::string, std::string, std::string>;  // folder, times, environment
    for (const auto& [render, at, environment] :
         {TRender{"first", times, ""}, TRender{"second", times, noDisplay}, TRender{"alone", kAloneTime, ""},
          TRender{"help", kHelpTime + " --dialog help", ""}})
      if (RunKivShowBinary(folder, "render '" + show.string() + "' -o " + render + " --size 320x180 --at " + at,
                           folder / "render.txt", environment) != 0) {
        failure = render + " render failed: " + ReadAll(folder / "render.txt");
        return;
      }
  }
  static void TearDownTestSuite() { fs::remove_all(folder); }

  void SetUp() override {
    if (!failure.empty()) FAIL() << failure;
  }

  static fs::path Frame(const std::string& render, const std::string& time) {
    return folder / render / testing::FrameName(std::stoi(time));
  }
  // Each frame compared with a golden picture: those of the first render, the one
  // rendered alone and the one with the help dialog open.
  static std::vector<std::pair<std::string, std::string>> Renders() {
    std::vector<std::pair<std::string, std::string>> renders;
    for (const std::string& time : kTimes) renders.emplace_back("first", time);
    renders.emplace_back("alone", kAloneTime);
    renders.emplace_back("help", kHelpTime);
    return renders;
  }
  static fs::path Golden(const std::string& render, const std::string& time) {
    return kGolden / ((render == "help" ? "demo_help_" : "demo_") + time + ".png");
  }
};

TEST_F(DemoRenderTest, FramesMatchTheGoldenPictures) {
  if (std::getenv("KIV_UPDATE_GOLDEN")) {
    fs::create_directories(kGolden);
    for (const auto& [render, time] : Renders())
      if (render != "alone") fs::copy_file(Frame(render, time), Golden(render, time), fs::copy_options::overwrite_existing);
    GTEST_SKIP() << "golden pictures written to " << kGolden;
  }
  for (const auto& [render, time] : Renders()) {
    const std::shared_ptr<const TBitmap> golden = LoadFrame(Golden(render, time));
    const std::shared_ptr<const TBitmap> frame = LoadFrame(Frame(render, time));
    ASSERT_TRUE(golden) << "no golden picture for " << time << " ms";
    ASSERT_TRUE(frame) << "no frame at " << time << " ms in the " << render << " render";
    ASSERT_EQ(frame->Width(), golden->Width());
    ASSERT_EQ(frame->Height(), golden->Height());
    const int allowed = int(kDifferentShare * frame->Width() * frame->Height());
    EXPECT_LE(DifferentPixels(*frame, *golden), allowed)
        << "the frame at " << time << " ms of the " << render << " render differs from its golden picture";
  }
  // The time reaches the frame: the zoom has moved the picture half way through.
  EXPECT_GT(DifferentPixels(*LoadFrame(Frame("first", "0")), *LoadFrame(Frame("first", "2500"))), 1000);
  EXPECT_GT(DifferentPixels(*LoadFrame(Frame("first", kHelpTime)), *LoadFrame(Frame("help", kHelpTime))), 5000)
      << "the help dialog is not seen";
}

TEST_F(DemoRenderTest, TwoRendersGiveTheSameFrames) {
  for (const std::string& time : kTimes) {
    const std::string first = ReadAll(Frame("first", time));
    EXPECT_FALSE(first.empty()) << time;
    EXPECT_EQ(first, ReadAll(Frame("second", time))) << "the frames at " << time << " ms differ";
  }
}

TEST_F(DemoRenderTest, BadCommandLinesAreExplained) {
  const std::string show = (folder / "demo.KvShow").string();
  const std::string out = (folder / "bad").string();
  const auto run = [](std::vector<std::string> args, int expected, const std::string& message) {
    std::ostringstream output, errors;
    EXPECT_EQ(RunKivShow(args, output, errors), expected) << errors.str();
    EXPECT_NE(errors.str().find(message), std::string::npos) << errors.str();
  };
  run({"render"}, 2, "kivshow render: name exactly one show or project file");
  run({"render", show, "--at", "0"}, 2, "name the output folder with -o");
  run({"render", show, "-o", out}, 2, "give either --at or --fps");
  run({"render", show, "-o", out, "--at", "0", "--fps", "5"}, 2, "give either --at or --fps");
  run({"render", show, "-o", out, "--at", "0", "--to", "50"}, 2, "--from and --to go with --fps");
  run({"render", show, "-o", out, "--fps", "5", "--from", "900", "--to", "100"}, 2, "--from lies after --to");
  run({"render", show, "-o", out, "--at", "0", "--size", "big"}, 2, "size \"big\" is not written WxH");
  run({"render", show, "-o", out, "--at", "0,20001"}, 1, "the show ends at 20000 ms; there is no frame at 20001 ms");
  run({"render", out + "/none.kiv", "-o", out, "--at", "0"}, 1, "none.kiv: not found");
  run({"render", show, "-o", out, "--at", "0", "--dialog", "Credits"}, 1, "the show has no dialog \"Credits\"");
  EXPECT_FALSE(fs::exists(out)) << "no folder is made for a render that cannot start";
}

// A show's own transition end to end: kivshow render plays a project whose second
// slide comes in through an effect file among its files (the incoming slide growing
// from the middle over the outgoing one); a missing effect file cross-fades.
TEST(CustomTransitionRender, TheEffectSlideShowsBothSlidesOfTheChange) {
  const TTestFolder files("kiv_custom_fx_");
  const fs::path& folder = files.Path();
  fs::create_directories(folder / "fx");
  ASSERT_EQ(std::system(("cd '" + folder.string() + "' && convert -size 320x180 xc:'#FF0000' a.png && " +
                         "convert -size 320x180 xc:'#0000FF' b.png")
                            .c_str()),
            0);
  const auto project = [](const std::string& effectFile) {
    return "[main]\nopt_scr_width=320\nopt_scr_height=180\nopt_slidescount=2\nopt_synchpos1=2000\n"
           "opt_synchpos2=4000\nopt_fx_enable=1\nopt_fx_time=1000\nopt_fx_custom_count=1\nopt_fx_custom0=" +
           effectFile +
           "\n\n[Slide1]\nobject A: image\n  ImageName=a.png\nend\n\n"
           "[Slide2]\nUsePersonal=1\nPers_Effect=1\nEffect_Class=18\nEffect_Type=0\nEffectTime=1000\n"
           "object B: image\n  ImageName=b.png\nend\n";
  };
  std::ofstream(folder / "Project.kiv") << project("fx\\Grow.kiv");
  std::ofstream(folder / "Missing.kiv") << project("fx\\Gone.kiv");
  std::ofstream(folder / "fx" / "Grow.kiv")
      << "[main]\nopt_scr_width=320\nopt_scr_height=180\nopt_slidescount=1\nopt_synchpos1=1000\n\n"
         "[Slide1]\nobject Out: image\n  ReplaceWithEffectBuffer=1\nend\n"
         "object In: image\n  ReplaceWithEffectBuffer=2\n"
         "  object K0: keypoint\n    Time=0\n    ScaleX=0\n    ScaleY=0\n  end\n"
         "  object K1: keypoint\n    Time=1000\n    ScaleX=100\n    ScaleY=100\n  end\n"
         "end\n";
  for (const std::string name : {"Project", "Missing"})
    ASSERT_EQ(RunKivShowBinary(folder, "render " + name + ".kiv -o " + name + " --at 2500", folder / "render.txt"), 0)
        << ReadAll(folder / "render.txt");
  const auto pixel = [&](const std::string& render, int x, int y) {
    return PixelAt(*LoadFrame(folder / render / testing::FrameName(2500)), x, y) & 0xFFFFFFu;
  };
  ASSERT_TRUE(LoadFrame(folder / "Project" / testing::FrameName(2500)));
  EXPECT_EQ(pixel("Project", 160, 90), 0x0000FFu);  // the incoming slide, half grown
  EXPECT_EQ(pixel("Project", 20, 20), 0xFF0000u);   // the outgoing one around it
  // Without its effect file the change cross-fades: half of each everywhere.
  ASSERT_TRUE(LoadFrame(folder / "Missing" / testing::FrameName(2500)));
  for (const auto& [x, y] : {std::pair{160, 90}, {20, 20}}) {
    const uint32_t mixed = pixel("Missing", x, y);
    EXPECT_NEAR(int(mixed >> 16), 128, 3);
    EXPECT_NEAR(int(mixed & 0xFF), 127, 3);
  }
}

// A change longer than its slide is cut to the slide: a 1000 ms cross-fade into a slide
// of 600 ms is half way at 300 ms and over by the slide's end, and the outgoing slide has
// left by then. The slides are solid colours of a show built by kivshow pack.
TEST(CutTransitionRender, AChangeLongerThanItsSlideFadesOverTheSlidesLength) {
  const TTestFolder folder("kiv_cut_fx_");
  // Red, blue and green slides of 600 ms each; blue and green fade in for 1000 ms.
  const std::string fade = testing::ChangeKeys(2, 1, 1000);
  const std::string project =
      testing::ColourShow(320, 180, 600, {{0xFF0000, {}, "", ""}, {0x0000FF, {}, "", fade}, {0x00FF00, {}, "", fade}});
  ASSERT_EQ(testing::PackAndRender(folder.Path(), project, "320x180", "900,1199"), "");
  // Half way through the blue slide the fade is half way, and complete at its end.
  for (const auto& [time, colour] : {std::pair{900, 0x80007Fu}, {1199, 0x0000FFu}}) {
    const std::shared_ptr<const TBitmap> frame = LoadFrame(folder.Path() / "render" / testing::FrameName(time));
    ASSERT_TRUE(frame) << time;
    EXPECT_TRUE(ColoursNear(PixelAt(*frame, 160, 90), colour, 3)) << std::hex << PixelAt(*frame, 160, 90) << " at "
                                                                    << std::dec << time << " ms";
  }
}

// A border lies over its picture's edge: around a turned red picture with a white border
// on blue, no pixel mixes the picture's red with the background's blue.
TEST(BorderRender, TheBorderCoversItsPicturesEdge) {
  const TTestFolder files("kiv_border_");
  const fs::path& folder = files.Path();
  ASSERT_EQ(std::system(("cd '" + folder.string() + "' && convert -size 400x300 xc:'#FF0000' red.png").c_str()), 0);
  std::ofstream(folder / "Project.kiv")
      << "[main]\nopt_scr_width=640\nopt_scr_height=360\nopt_slidescount=1\nopt_synchpos1=5000\n"
         "[Slide1]\nobject Back: box\n  Size=640,360\n  Color1=0,0,128\nend\n"
         "object Red: image\n  ImageName=red.png\n  EnableBorder=1\n  BorderWidth=6\n"
         "  object K: keypoint\n    ScaleX=70\n    ScaleY=70\n    Angle=3\n  end\nend\n";
  ASSERT_EQ(RunKivShowBinary(folder, "render Project.kiv -o out --at 1000", folder / "render.txt"), 0)
      << ReadAll(folder / "render.txt");
  const std::shared_ptr<const TBitmap> frame = LoadFrame(folder / "out" / testing::FrameName(1000));
  ASSERT_TRUE(frame);
  int fringe = 0, red = 0;
  for (int y = 0; y < frame->Height(); ++y)
    for (int x = 0; x < frame->Width(); ++x) {
      const uint32_t pixel = PixelAt(*frame, x, y);
      const int r = int(pixel >> 16) & 0xFF, g = int(pixel >> 8) & 0xFF, b = int(pixel) & 0xFF;
      red += r > 200 && g < 30;
      fringe += r > g + 24 && b > g + 24;  // red over blue: the picture seen outside its border
    }
  EXPECT_GT(red, 10000);
  EXPECT_EQ(fringe, 0);
}

}  // namespace
}  // namespace kiv
