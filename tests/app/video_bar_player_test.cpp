// The built player on an X server of its own (Xvfb), driven with xdotool: a show whose
// navigation panel asks for the media-player bar. A drag on the time track seeks the
// show, the play button pauses and resumes it, and the sound button mutes it (its picture
// turns to the muted one). Skipped where Xvfb or the X tools are not installed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>

#include "support/build_folder.h"
#include "support/test_folder.h"
#include "support/x_display.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

// Three slides of 20 s (red, green, blue) shown full screen on an 800 × 600 server; the
// bar is 10 % of 600 high: the skin's 800 × 40 at scale 1.5. Its button strips are six
// tiles of their own colours: sound on yellow, sound off lime.
const char* const kProject =
    "[main]\r\nopt_scr_caption=video bar show\r\nopt_scr_full=1\r\nopt_scr_width=800\r\nopt_scr_height=600\r\n"
    "opt_repeat=stop\r\nopt_slidescount=3\r\nopt_synchpos1=20000\r\nopt_synchpos2=40000\r\nopt_synchpos3=60000\r\n"
    "opt_fcp=1\r\nopt_nav_inifile=nav\\video.ini\r\n";
const char* const kSkin =
    "[Common]\nVideoStyle=1\n[Pixel positions]\nBarSize=800,40\nTrackHeight=10\nBtnSize=32,32\nDigitSize=10,20\n"
    "VolumeControlLength=100\nLeftSpace=4\nButtonsTrackSpace=8\nTrackDigitsSpace=6\nDigitsSoundBtnSpace=6\n"
    "SoundBtnTrackSpace=6\nRightSpace=4\n[Trackbar]\nflnm_Line=line.png\nflnm_Polzun=slider.png\n"
    "[Buttons]\nflnm_Normal=strip.png\nflnm_Hover=strip.png\nflnm_Click=strip.png\n";
// Bar pixels at scale 1.5: the track from 60 to 406 with an 18 pixel slider, the sound
// button at 592.
constexpr int kTrackFrom = 60 + 9, kTrackLength = 406 - 60 - 18;
constexpr int kBarY = 570;

class VideoBarPlayerTest : public TempFolderTest {
 protected:
  void SetUp() override {
    if (std::system("command -v Xvfb xdotool import >/dev/null 2>&1") != 0)
      GTEST_SKIP() << "Xvfb, xdotool or ImageMagick's import is not installed";
    Server = std::make_unique<TXServer>(800, 600);
    if (!Server->Running()) GTEST_SKIP() << "no X server could be started";
    fs::create_directories(folder / "nav");
    std::ofstream(folder / "nav" / "video.ini") << kSkin;
    const std::string nav = "cd '" + (folder / "nav").string() + "' && convert ";
    ASSERT_EQ(std::system((nav + "-size 32x32 xc:red xc:orange xc:yellow xc:lime xc:cyan xc:blue +append strip.png").c_str()), 0);
    ASSERT_EQ(std::system((nav + "-size 8x10 xc:gray50 line.png && convert -size 12x20 xc:white slider.png").c_str()), 0);
    std::string project = kProject;
    const char* colours[] = {"255,0,0", "0,255,0", "0,0,255"};
    for (int n = 0; n < 3; ++n)
      project += "[Slide" + std::to_string(n + 1) + "]\r\nobject Fill: box\r\n  Size=800,600\r\n  Color1=" +
                 colours[n] + "\r\nend\r\n";
    std::ofstream(folder / "Project.kiv") << project;
  }

  std::string ColourAt(int x, int y) const {
    const std::string text = Output("timeout 10 import -display " + Server->Name() + " -window root -crop 1x1+" +
                                    std::to_string(x) + "+" + std::to_string(y) + " -depth 8 txt:- 2>/dev/null");
    std::smatch colour;
    return std::regex_search(text, colour, std::regex("#([0-9A-F]{6})")) ? colour[1].str() : "";
  }
  bool Becomes(int x, int y, const std::string& colour, int seconds) const {
    return WaitUntil([&] { return ColourAt(x, y) == colour; }, std::chrono::seconds(seconds));
  }
  // The track's x for a show time.
  static int TrackAt(double ms) { return kTrackFrom + int(kTrackLength * ms / 60000); }

  std::unique_ptr<TXServer> Server;
};

TEST_F(VideoBarPlayerTest, TheTrackSeeksPlayPausesAndTheSoundButtonMutes) {
  TChild player("env SDL_VIDEODRIVER=x11 DISPLAY=" + Server->Name() + " XDG_STATE_HOME='" + (folder / "state").string() +
                "' '" + (fs::path(testing::BuildFolder()) / "kivplayer").string() + "' -filename '" +
                (folder / "Project.kiv").string() + "'");
  ASSERT_TRUE(WaitUntil([&] { return Server->FindWindow("video bar show").Viewable; }, std::chrono::seconds(60)));
  ASSERT_TRUE(Becomes(400, 300, "FF0000", 30));
  ASSERT_TRUE(Becomes(616, kBarY, "FFFF00", 10)) << "the bar with its sound button did not show";
  // A drag of the slider to the middle of the show: the second slide.
  const std::string y = " " + std::to_string(kBarY);
  // Each step waits a moment, so that a busy player sees them one by one.
  for (const std::string& step : {"mousemove " + std::to_string(TrackAt(0)) + y, std::string("mousedown 1"),
                                 "mousemove " + std::to_string(TrackAt(15000)) + y,
                                 "mousemove " + std::to_string(TrackAt(30000)) + y, std::string("mouseup 1")}) {
    Server->XdoTool(step);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  }
  EXPECT_TRUE(Becomes(400, 300, "00FF00", 15)) << "the drag did not seek";
  // Paused, then sent to just before the third slide: it stays on the second.
  Server->XdoTool("mousemove 28" + y);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  Server->XdoTool("click 1");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  Server->XdoTool("mousemove " + std::to_string(TrackAt(39000)) + y + " click 1");
  std::this_thread::sleep_for(std::chrono::seconds(3));
  EXPECT_EQ(ColourAt(400, 300), "00FF00") << "the show did not pause";
  Server->XdoTool("mousemove 28" + y + " click 1");
  EXPECT_TRUE(Becomes(400, 300, "0000FF", 10)) << "the show did not play on";
  // The sound button shows the muted picture once clicked.
  Server->XdoTool("mousemove 616" + y + " click 1");
  EXPECT_TRUE(Becomes(616, kBarY, "00FF00", 10)) << "the sound button did not mute";
  EXPECT_TRUE(player.Stop());
}

}  // namespace
}  // namespace kiv
