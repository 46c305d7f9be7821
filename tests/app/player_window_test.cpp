// The built player on an X server of its own (Xvfb): where its window goes for the
// show's window options, and that the window shows the frame the drawing controller
// draws offscreen for the same show and time. Skipped where Xvfb or the X tools are
// not installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <string>
#include <thread>
#include <utility>

#include "base/text.h"
#include "engine/drawing_controller.h"
#include "model/show_locator.h"
#include "render/device/device_test_support.h"
#include "render/drawer/drawer_3d.h"
#include "support/build_folder.h"
#include "support/bytes.h"
#include "support/pixels.h"
#include "support/print_server.h"
#include "support/project_slides.h"
#include "support/test_folder.h"
#include "support/x_display.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr const char* kCaption = "window test show";

using TWindowInfo = TXWindow;

class PlayerWindowTest : public TempFolderTest {
 protected:
  PlayerWindowTest() : TempFolderTest("kiv_player_window_") {}
  void SetUp() override {
    if (std::system("command -v Xvfb xwininfo import >/dev/null 2>&1") != 0)
      GTEST_SKIP() << "Xvfb, xwininfo or ImageMagick's import is not installed";
    Server = std::make_unique<TXServer>(kScreenWidth, kScreenHeight);
    if (!Server->Running()) GTEST_SKIP() << "no X server could be started";
    fs::create_directories(folder / "pics");
    ASSERT_EQ(std::system(("convert -size 80x60 xc:'#FFC000' '" + (folder / "pics" / "sun.png").string() + "'").c_str()), 0);
  }
  void TearDown() override {
    if (Player) {
      EXPECT_TRUE(Player->Stop()) << "the player did not end when asked to";
    }
  }

  // Plays a one-slide show (a picture over the slide, a red box over its middle) of
  // main's options with the player's arguments; the window once it is shown.
  TWindowInfo Play(const std::string& main, const std::string& arguments = "") {
    return PlayProject("[main]\r\nopt_scr_caption=" + std::string(kCaption) +
                           "\r\nopt_slidescount=1\r\nopt_synchpos1=600000\r\nopt_scr_hidercolor=3368601\r\n" + main +
                           "[Slide1]\r\nobject Sun: image\r\n  ImageName=pics\\sun.png\r\nend\r\n"
                           "object Middle: box\r\n  Size=400,300\r\n  Color1=255,0,0\r\n  object K: keypoint\r\n"
                           "    ScaleX=50\r\n    ScaleY=50\r\n  end\r\nend\r\n",
                       arguments);
  }

  // Plays the project text with the player's arguments, packed by kivshow pack first when
  // packed (the player then finds the show file beside the program it is named as); the
  // window of that caption once it is shown.
  TWindowInfo PlayProject(const std::string& project, const std::string& arguments = "",
                          const std::string& caption = kCaption, bool packed = false) {
    std::ofstream(folder / "Project.kiv") << project;
    const fs::path build = testing::BuildFolder();
    const fs::path show = folder / (packed ? "show.KvShow" : "Project.kiv");
    if (packed && std::system(("'" + (build / "kivshow").string() + "' pack '" + (folder / "Project.kiv").string() +
                               "' --data -o '" + show.string() + "' >/dev/null")
                                  .c_str()) != 0)
      return {};
    Player.reset();
    Player = std::make_unique<TChild>("env " + Environment + " SDL_VIDEODRIVER=x11 DISPLAY=" + Server->Name() + " XDG_STATE_HOME='" +
                                      (folder / "state").string() + "' '" + (build / "kivplayer").string() +
                                      (packed ? "' -exename '" + (folder / "show").string() : "' -filename '" + show.string()) +
                                      "' " + arguments);
    TWindowInfo window;
    WaitUntil([&] { return (window = Window(caption)).Viewable; }, std::chrono::seconds(60));
    return window;
  }

  // The colour of the screen at (x, y) as "RRGGBB"; empty when it cannot be read.
  std::string ColourAt(int x, int y) const {
    const std::string text = Output("timeout 10 import -display " + Server->Name() + " -window root -crop 1x1+" +
                                    std::to_string(x) + "+" + std::to_string(y) + " -depth 8 txt:- 2>/dev/null");
    std::smatch colour;
    return std::regex_search(text, colour, std::regex("#([0-9A-F]{6})")) ? colour[1].str() : "";
  }

  // Runs xdotool's commands on the server.
  void Pointer(const std::string& commands) const { Server->XdoTool(commands); }

  // How many pixels of the pointer's current image can be seen (0: hidden); -1 when the
  // probe is missing or fails.
  int VisiblePointerPixels() const {
    const fs::path probe = fs::path(testing::BuildFolder()) / "tests" / "app" / "x_cursor_probe";
    if (!fs::exists(probe)) return -1;
    const std::string seen = Output("DISPLAY=" + Server->Name() + " '" + probe.string() + "' 2>/dev/null");
    return seen.empty() ? -1 : std::atoi(seen.c_str());
  }

  // Sends keys (xdotool's names) to the window, which takes the focus first.
  void Keys(const TWindowInfo& window, const std::string& keys) const { Server->XdoTool("key " + keys, window.Id); }

  TWindowInfo Window(const std::string& caption = kCaption) const { return Server->FindWindow(caption); }

  // The window's pixels as rows of red, green, blue bytes; empty when it cannot be read.
  std::string Screenshot(const TWindowInfo& window) const {
    const fs::path shot = folder / "shot.rgb";
    fs::remove(shot);
    // Bounded: a screenshot waits on the X server, which a window going full screen may
    // hold for a while.
    std::system(("timeout 10 import -display " + Server->Name() + " -window " + window.Id + " -depth 8 'rgb:" +
                 shot.string() + "' 2>/dev/null")
                    .c_str());
    return ReadAll(shot);
  }

  // The frame the drawing controller draws offscreen for the show at 1000 ms.
  std::unique_ptr<TBitmap> OffscreenFrame(TPixelSize size) const {
    std::unique_ptr<TKivShowLocator> show = OpenFromProject((folder / "Project.kiv").u16string());
    TKivSource& source = show->Source(u"kivplayer");
    TProjectSlides slides(source, size);
    testing::TTestWindow window = testing::MakeTestWindow(size.Width, size.Height);
    std::unique_ptr<TBitmap> frame;
    TDrawingController controller(testing::TestEngine(), *window.Device);
    controller.SetFrameDrawn([&frame](double, T3DDrawer& drawer) { frame = drawer.CaptureFrame(); });
    controller.EnsureDrawer();
    if (controller.Compose({slides.Entry(0)}, 1000, nullptr))
      controller.Draw(size, {source.HiderColor(), source.UnsharpAmount(), source.UnsharpThreshold()});
    return frame;
  }

  std::unique_ptr<TXServer> Server;
  std::unique_ptr<TChild> Player;
  std::string Environment;  // more variables for the player ("NAME=value ...")
};

// How many pixels of the screenshot differ from frame by more than a few levels in
// some channel; all of them when the sizes differ.
int DifferingPixels(const std::string& shot, const TBitmap& frame) {
  const int count = frame.Width() * frame.Height();
  if (shot.size() != size_t(count) * 3) return count;
  int differing = 0;
  for (int y = 0; y < frame.Height(); ++y)
    for (int x = 0; x < frame.Width(); ++x) {
      const uint8_t* bgr = frame.Row(y) + 3 * x;
      const auto* rgb = reinterpret_cast<const uint8_t*>(shot.data()) + 3 * (size_t(y) * frame.Width() + x);
      for (int c = 0; c < 3; ++c)
        if (std::abs(int(rgb[c]) - int(bgr[2 - c])) > 4) {
          ++differing;
          break;
        }
    }
  return differing;
}

TEST_F(PlayerWindowTest, AWindowedShowIsCentredAndShrunkToFitTheScreen) {
  TWindowInfo window = Play("opt_scr_full=0\r\nopt_scr_width=400\r\nopt_scr_height=300\r\n");
  ASSERT_TRUE(window.Viewable) << "the player's window was not shown";
  EXPECT_EQ(window.Bounds, (TRect{200, 150, 600, 450}));

  // Too large for the screen: scaled to its height, then centred. The monitor given
  // does not exist, so the primary one is taken.
  window = Play("opt_scr_full=0\r\nopt_scr_width=1000\r\nopt_scr_height=800\r\nopt_withoutborder=0\r\n", "-display 3");
  ASSERT_TRUE(window.Viewable) << "the player's window was not shown";
  EXPECT_EQ(window.Bounds, (TRect{25, 0, 775, 600}));
}

TEST_F(PlayerWindowTest, AFullScreenShowFillsTheScreenWithTheFrameDrawnOffscreen) {
  // A 16:9 show on the 4:3 screen: bars of the hider colour above and below.
  const TWindowInfo window = Play("opt_scr_full=1\r\nopt_scr_width=640\r\nopt_scr_height=360\r\n");
  ASSERT_TRUE(window.Viewable) << "the player's window was not shown";
  EXPECT_EQ(window.Bounds, (TRect{0, 0, kScreenWidth, kScreenHeight}));

  const std::unique_ptr<TBitmap> expected = OffscreenFrame({kScreenWidth, kScreenHeight});
  ASSERT_TRUE(expected);
  // The picture, the box and the bars are where they belong in the offscreen frame.
  const auto at = [&expected](int x, int y) { return PixelAt(*expected, x, y) & 0xFFFFFFu; };
  EXPECT_EQ(at(400, 300), 0xFF0000u);
  EXPECT_EQ(at(150, 300), 0xFFC000u);  // the 4:3 picture fitted into the middle of the slide area
  EXPECT_EQ(at(400, 20), 0x336699u);
  // The window shows that frame once its first frames are through.
  std::string shot;
  WaitUntil([&] { return DifferingPixels(shot = Screenshot(window), *expected) == 0; }, std::chrono::seconds(30));
  EXPECT_LE(DifferingPixels(shot, *expected), kScreenWidth * kScreenHeight / 1000);
}

// Slides of slideMs (4 s) in red and green, then a long blue one, filling a window in
// the middle of the screen.
std::string ColouredSlides(int slideMs = 4000, const std::string& mainKeys = "", const std::string& boxKeys = "") {
  std::string text = "[main]\r\nopt_scr_caption=" + std::string(kCaption) +
                     "\r\nopt_scr_full=0\r\nopt_scr_width=320\r\nopt_scr_height=240\r\nopt_repeat=stop\r\n" + mainKeys +
                     "opt_slidescount=3\r\nopt_synchpos1=" + std::to_string(slideMs) +
                     "\r\nopt_synchpos2=" + std::to_string(2 * slideMs) +
                     "\r\nopt_synchpos3=" + std::to_string(std::max(600000, 3 * slideMs)) + "\r\n";
  const char* colours[] = {"255,0,0", "0,255,0", "0,0,255"};
  for (int n = 0; n < 3; ++n)
    text += "[Slide" + std::to_string(n + 1) + "]\r\nobject Fill: box\r\n  Size=400,300\r\n" + boxKeys + "  Color1=" +
            colours[n] + "\r\nend\r\n";
  return text;
}

TEST_F(PlayerWindowTest, KeysMoveThroughTheShowAndSpacePausesAndResumes) {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is not installed";
  const TWindowInfo window = PlayProject(ColouredSlides());
  ASSERT_TRUE(window.Viewable) << "the player's window was not shown";
  const auto colourBecomes = [&](const std::string& colour, int seconds) {
    return WaitUntil([&] { return ColourAt(400, 300) == colour; }, std::chrono::seconds(seconds));
  };
  ASSERT_TRUE(colourBecomes("FF0000", 30));
  Keys(window, "space");  // paused on the first slide: it would have moved on after 4 s
  std::this_thread::sleep_for(std::chrono::seconds(5));
  EXPECT_EQ(ColourAt(400, 300), "FF0000");
  Keys(window, "space");  // playing again
  EXPECT_TRUE(colourBecomes("00FF00", 10));
  Keys(window, "Right");
  EXPECT_TRUE(colourBecomes("0000FF", 10));
  Keys(window, "Left");   // at once back past the start of the last slide
  EXPECT_TRUE(WaitUntil([&] { return ColourAt(400, 300) != "0000FF"; }, std::chrono::seconds(10)));
  Keys(window, "Escape");
  EXPECT_TRUE(WaitUntil([&] { return !Player->Running(); }, std::chrono::seconds(20))) << "Esc did not close the show";
}

// A show without slides has no frame to show, yet its window comes in the hider colour
// and Esc closes it.
TEST_F(PlayerWindowTest, ShowWithoutSlidesShowsItsWindowInTheHiderColour) {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is not installed";
  const TWindowInfo window = PlayProject("[main]\r\nopt_scr_caption=" + std::string(kCaption) +
                                         "\r\nopt_slidescount=0\r\nopt_scr_full=1\r\nopt_scr_hidercolor=3368601\r\n");
  ASSERT_TRUE(window.Viewable) << "the player's window was not shown";
  EXPECT_TRUE(WaitUntil([&] { return ColourAt(400, 300) == "336699"; }, std::chrono::seconds(20)));
  Keys(window, "Escape");
  EXPECT_TRUE(WaitUntil([&] { return !Player->Running(); }, std::chrono::seconds(20))) << "Esc did not close the show";
}

// A show that cannot be opened says so in a box titled "Slideshow Error"; Enter closes
// the box and the player ends.
TEST_F(PlayerWindowTest, AShowThatCannotOpenSaysSoInABox) {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is not installed";
  Player = std::make_unique<TChild>("env SDL_VIDEODRIVER=x11 DISPLAY=" + Server->Name() + " '" +
                                    (fs::path(testing::BuildFolder()) / "kivplayer").string() + "' -filename '" +
                                    (folder / "Missing.kiv").string() + "' 2>/dev/null");
  TWindowInfo box;
  ASSERT_TRUE(WaitUntil([&] { return (box = Window("Slideshow Error")).Viewable; }, std::chrono::seconds(30)))
      << "no error box was shown";
  Keys(box, "Return");
  EXPECT_TRUE(WaitUntil([&] { return !Player->Running(); }, std::chrono::seconds(20))) << "the player did not end";
}

// A red first slide that stays, with a button going to the green second slide in its
// middle; the pointer hides after 2 s at rest; no caption of its own.
const std::string kButtonShow =
    "[main]\r\nPathToButtons=buttons\\\r\nopt_scr_full=0\r\nopt_scr_width=320\r\nopt_scr_height=240\r\nopt_repeat=stop\r\n"
    "opt_hidecursor=2\r\nopt_hc2_hideinterval=2\r\n"
    "opt_slidescount=2\r\nopt_synchpos1=600000\r\nopt_synchpos2=1200000\r\n"
    "[Slide1]\r\nobject Fill: box\r\n  Size=400,300\r\n  Color1=255,0,0\r\nend\r\n"
    "object Go: button\r\n  Theme=aqua\r\n  Action=NextSlide\r\n  object K: keypoint\r\n    ScaleX=25\r\n"
    "    ScaleY=25\r\n  end\r\nend\r\n"
    "[Slide2]\r\nobject Fill: box\r\n  Size=400,300\r\n  Color1=0,255,0\r\nend\r\n";

TEST_F(PlayerWindowTest, AButtonActsOnReleaseThePointerHidesAtRestAndTheCaptionIsThePlayers) {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is not installed";
  fs::copy(fs::path(KIV_SOURCE_DIR) / "examples" / "demo" / "buttons", folder / "buttons", fs::copy_options::recursive);
  const TWindowInfo window = PlayProject(kButtonShow, "", "KivViewer v5.6");
  ASSERT_TRUE(window.Viewable) << "no window with the player's own caption";
  const int left = window.Bounds.Left, top = window.Bounds.Top;
  ASSERT_TRUE(WaitUntil([&] { return ColourAt(left + 10, top + 10) == "FF0000"; }, std::chrono::seconds(30)));

  if (VisiblePointerPixels() >= 0) {
    Pointer("mousemove " + std::to_string(left + 150) + " " + std::to_string(top + 20));
    EXPECT_TRUE(WaitUntil([&] { return VisiblePointerPixels() > 0; }, std::chrono::seconds(5))) << "shown on a move";
    EXPECT_TRUE(WaitUntil([&] { return VisiblePointerPixels() == 0; }, std::chrono::seconds(15))) << "never hidden";
  }

  Pointer("mousemove " + std::to_string(left + 160) + " " + std::to_string(top + 120) + " mousedown 1");
  std::this_thread::sleep_for(std::chrono::seconds(3));  // held longer than the pointer stays
  EXPECT_EQ(ColourAt(left + 10, top + 10), "FF0000") << "the press alone moved the show on";
  Pointer("mouseup 1");
  EXPECT_TRUE(WaitUntil([&] { return ColourAt(left + 10, top + 10) == "00FF00"; }, std::chrono::seconds(15)))
      << "the release over the button did not go to the next slide";
}

// The coloured slides with the demo's navigation panel along the bottom and a help page
// (a yellow box in the middle) that holds the show while it is open.
TEST_F(PlayerWindowTest, ThePanelMovesOnAndTheHelpPageHoldsTheShowUntilEsc) {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is not installed";
  fs::copy(fs::path(KIV_SOURCE_DIR) / "examples" / "demo" / "navbar", folder / "navbar", fs::copy_options::recursive);
  std::string project = ColouredSlides();
  project.insert(project.find("[Slide1]"),
                 "opt_fcp=1\r\nopt_nav_inifile=navbar\\panel.ini\r\nopt_nav_showbg=1\r\nopt_nav_viewscale=20\r\n"
                 "opt_cp=Bottom\r\nopt_nav_offset=4\r\n"
                 "[dialog_help]\r\nDialogPause=1\r\nobject Page: box\r\n  Size=4,3\r\n  Color1=255,255,0\r\n"
                 "  object K: keypoint\r\n    ScaleX=50\r\n    ScaleY=50\r\n  end\r\nend\r\n");
  const TWindowInfo window = PlayProject(project);
  ASSERT_TRUE(window.Viewable) << "the player's window was not shown";
  const int left = window.Bounds.Left, top = window.Bounds.Top;
  const auto colourBecomes = [&](int x, int y, const std::string& colour, int seconds) {
    return WaitUntil([&] { return ColourAt(left + x, top + y) == colour; }, std::chrono::seconds(seconds));
  };
  ASSERT_TRUE(colourBecomes(10, 10, "FF0000", 30));
  Keys(window, "F1");
  EXPECT_TRUE(colourBecomes(160, 120, "FFFF00", 10)) << "F1 did not open the help page";
  std::this_thread::sleep_for(std::chrono::seconds(5));  // the first slide lasts 4 s
  EXPECT_EQ(ColourAt(left + 10, top + 10), "FF0000") << "the show went on under the help page";
  Keys(window, "Escape");
  EXPECT_TRUE(colourBecomes(160, 120, "FF0000", 10)) << "Esc did not close the help page";
  EXPECT_TRUE(Player->Running()) << "Esc closed the show instead of the page";
  EXPECT_TRUE(colourBecomes(10, 10, "00FF00", 10)) << "the show did not go on after the page closed";

  // The panel is 272 x 56 skin pixels, 20 % of the 240-pixel window high (48), in the
  // middle of the bottom 4 % up from the edge; the fourth button, "forward", has its
  // middle 184 skin pixels from the panel's left and 28 from its top.
  const int height = 48, width = 272 * height / 56;
  const int panelLeft = (320 - width) / 2, panelTop = 235 - height;
  Pointer("mousemove " + std::to_string(left + panelLeft + 184 * height / 56) + " " +
          std::to_string(top + panelTop + 28 * height / 56) + " click 1");
  EXPECT_TRUE(colourBecomes(10, 10, "0000FF", 10)) << "the panel's forward button did not go to the next slide";
}

// Red, green and blue slides filling the window, each printed when clicked, with a
// magenta logo over them; saving allowed.
std::string PrintableSlides() {
  return ColouredSlides(4000,
                        "CanRestore=1\r\nopt_lng_print_caption=Print the slide\r\nopt_logo=1\r\n"
                        "opt_logo_fn=pics\\logo.png\r\nopt_logo_size=30\r\n",
                        "  Action=print\r\n");
}

TEST_F(PlayerWindowTest, ThePrintDialogHoldsTheShowPrintsTheSlidesAloneAndSavesThem) {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is not installed";
  const TPrintServer printers(folder);
  if (!printers.Failure().empty()) GTEST_SKIP() << "no print server for the test: " << printers.Failure();
  ASSERT_EQ(std::system(("convert -size 40x40 xc:'#FF00FF' '" + (folder / "pics" / "logo.png").string() + "'").c_str()), 0);
  fs::create_directories(folder / "config");
  fs::create_directories(folder / "pictures");
  std::ofstream(folder / "config" / "user-dirs.dirs") << "XDG_PICTURES_DIR=\"" << (folder / "pictures").string() << "\"\n";
  Environment = "CUPS_SERVER='" + printers.Address() + "' XDG_CONFIG_HOME='" + (folder / "config").string() + "'";
  const TWindowInfo window = PlayProject(PrintableSlides());
  ASSERT_TRUE(window.Viewable) << "the player's window was not shown";
  // Below where the dialogs open.
  const int middleX = window.Bounds.Left + 160, middleY = window.Bounds.Top + 232;
  const auto colourBecomes = [&](const std::string& colour, int seconds) {
    return WaitUntil([&] { return ColourAt(middleX, middleY) == colour; }, std::chrono::seconds(seconds));
  };
  const auto openDialog = [&](const std::string& caption) {
    TWindowInfo dialog;
    WaitUntil([&] { return (dialog = Window(caption)).Viewable; }, std::chrono::seconds(20));
    return dialog;
  };
  ASSERT_TRUE(colourBecomes("FF0000", 30));
  std::this_thread::sleep_for(std::chrono::seconds(1));  // the mouse is heard a second after the start
  Pointer("mousemove " + std::to_string(middleX) + " " + std::to_string(middleY) + " click 1");
  TWindowInfo dialog = openDialog("Print the slide");
  ASSERT_TRUE(dialog.Viewable) << "the print action opened no dialog";
  std::this_thread::sleep_for(std::chrono::seconds(5));  // the red slide would have gone after 4 s
  EXPECT_EQ(ColourAt(middleX, middleY), "FF0000") << "the show ran under the dialog";
  Keys(dialog, "Escape");
  EXPECT_TRUE(WaitUntil([&] { return !Window("Print the slide").Viewable; }, std::chrono::seconds(10)));
  ASSERT_TRUE(colourBecomes("00FF00", 10)) << "the show did not go on after the dialog";

  // Enter prints the green slide, without the logo on screen over it.
  Pointer("click 1");
  dialog = openDialog("Print the slide");
  ASSERT_TRUE(dialog.Viewable);
  Keys(dialog, "Return");
  const std::optional<TPrintServer::TJob> job = printers.WaitForJob(1, std::chrono::seconds(30));
  ASSERT_TRUE(job) << "nothing was printed";
  EXPECT_EQ(job->Title, "Slideshow");
  std::ofstream(folder / "page.png", std::ios::binary) << job->Document;
  const std::string page = Output("convert '" + (folder / "page.png").string() + "' -depth 8 -format %c histogram:info:-");
  EXPECT_NE(page.find("#00FF00"), std::string::npos) << "the slide is not on the page";
  EXPECT_EQ(page.find("#FF00FF"), std::string::npos) << "the logo was printed";
  ASSERT_TRUE(colourBecomes("0000FF", 15));

  // S saves the blue slide into the pictures folder.
  Pointer("click 1");
  dialog = openDialog("Print the slide");
  ASSERT_TRUE(dialog.Viewable);
  Keys(dialog, "s");
  const TWindowInfo save = openDialog("Save");
  ASSERT_TRUE(save.Viewable) << "no save dialog";
  Keys(save, "Return");
  const fs::path saved = folder / "pictures" / "Slide3.bmp";
  EXPECT_TRUE(WaitUntil([&] { return fs::exists(saved) && fs::file_size(saved) > 320 * 240 * 3; }, std::chrono::seconds(10)));
  EXPECT_NE(Output("convert '" + saved.string() + "' -format %c histogram:info:-").find("#0000FF"), std::string::npos);

  // Saving again over the file asks first: N goes back to the names, Esc cancels, and
  // the file stays; Y replaces it.
  for (const char* answer : {"n Escape", "y"}) {
    std::ofstream(saved) << "kept";
    Pointer("click 1");
    dialog = openDialog("Print the slide");
    ASSERT_TRUE(dialog.Viewable);
    Keys(dialog, "s");
    const TWindowInfo again = openDialog("Save");
    ASSERT_TRUE(again.Viewable);
    Keys(again, std::string("Return ") + answer);
    EXPECT_TRUE(WaitUntil([&] { return !Window("Save").Viewable; }, std::chrono::seconds(10)));
    EXPECT_EQ(ReadAll(saved) == "kept", answer[0] == 'n') << answer;
  }
}

// Every button of a packed show's panel carries out its action when clicked (the
// demo's skin with an exit button added), and F1 opens and closes the help page. The
// slides last minutes, so only the buttons move the show; the pause button shows its
// play sign (white in its middle) while the show stands.
TEST_F(PlayerWindowTest, EachPanelButtonCarriesOutItsAction) {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is not installed";
  fs::copy(fs::path(KIV_SOURCE_DIR) / "examples" / "demo" / "navbar", folder / "navbar", fs::copy_options::recursive);
  std::string skin = ReadAll(folder / "navbar" / "panel.ini");
  skin.replace(skin.find("Count=5"), 7, "Count=6");
  std::ofstream(folder / "navbar" / "panel.ini")
      << skin << "[Object6]\nShiftPressed=1\n[ACTION-EXIT]\nActionType=exit\nBtnTextureNormalBounds=0,0,24,24\n"
                 "flnm_BtnTextureNormal=back.png\nBgTextureNormalBounds=0,0,44,44\nflnm_BgTextureNormal=round.png\n";
  std::string project = ColouredSlides(300000);
  project.insert(project.find("[Slide1]"),
                 "opt_exefn=show\r\nopt_fcp=1\r\nopt_nav_inifile=navbar\\panel.ini\r\nopt_nav_showbg=1\r\nopt_nav_viewscale=20\r\n"
                 "opt_cp=Bottom\r\nopt_nav_offset=4\r\n"
                 "[dialog_help]\r\nDialogPause=1\r\nobject Page: box\r\n  Size=4,3\r\n  Color1=255,255,0\r\n"
                 "  object K: keypoint\r\n    ScaleX=50\r\n    ScaleY=50\r\n  end\r\nend\r\n");
  const TWindowInfo window = PlayProject(project, "", kCaption, true);
  ASSERT_TRUE(window.Viewable) << "the packed show's window was not shown";
  const int left = window.Bounds.Left, top = window.Bounds.Top;

  // The bar is 316 x 56 skin pixels, 48 high on the 240-pixel window, in the middle of
  // the bottom 4 % up from the edge; the buttons' middles lie 28 down and these far in.
  const std::pair<std::string, int> buttons[] = {{"home", 40},     {"backward", 88}, {"pause", 136},
                                                 {"forward", 184}, {"help", 232},    {"exit", 276}};
  const int width = int(std::lround(48.0 * 316 / 56)), panelLeft = left + 160 - int(std::lround(width / 2.0));
  const int middle = top + 187 + 28 * 48 / 56;
  const auto at = [&](const std::string& name) {
    for (const auto& [button, x] : buttons)
      if (button == name) return std::to_string(panelLeft + x * width / 316) + " " + std::to_string(middle);
    return std::string();
  };
  // The slide's colour; "play" while the pause button shows its play sign; "page" with
  // the help page (yellow) in the middle.
  const auto seen = [&] {
    const std::string sign = ColourAt(panelLeft + 136 * width / 316, middle);
    const bool play = sign.size() == 6 && (std::stoul(sign, nullptr, 16) & 0xC0C0C0) == 0xC0C0C0;
    return ColourAt(left + 10, top + 10) + (play ? " play" : "") +
           (ColourAt(left + 160, top + 120) == "FFFF00" ? " page" : "");
  };
  ASSERT_TRUE(WaitUntil([&] { return seen() == "FF0000"; }, std::chrono::seconds(30)));
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // the player hears no clicks in its first second

  struct TStep {
    std::string Do;  // a button, or keys
    std::string Seen;
  };
  const TStep steps[] = {
      {"pause", "FF0000 play"},   {"forward", "00FF00 play"},   {"backward", "FF0000 play"},
      {"forward", "00FF00 play"}, {"forward", "0000FF play"},   {"home", "FF0000 play"},
      {"pause", "FF0000"},        {"help", "FF0000 play page"},  // the page holds the show
      {"F1", "FF0000"},           {"F1", "FF0000 play page"},   {"Escape", "FF0000"},
  };
  for (const TStep& step : steps) {
    if (at(step.Do).empty())
      Keys(window, step.Do);
    else  // clicked, then the pointer goes off the panel
      Pointer("mousemove " + at(step.Do) + " click 1 mousemove " + std::to_string(left + 5) + " " +
              std::to_string(top + 5));
    EXPECT_TRUE(WaitUntil([&] { return seen() == step.Seen; }, std::chrono::seconds(10)))
        << step.Do << " gave " << seen() << " instead of " << step.Seen;
  }
  Pointer("mousemove " + at("exit") + " click 1");
  EXPECT_TRUE(WaitUntil([&] { return !Player->Running(); }, std::chrono::seconds(10))) << "exit did not end the show";
  EXPECT_EQ(Player->ExitCode(), 0);
}

}  // namespace
}  // namespace kiv
