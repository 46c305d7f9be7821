// The built player's run modes on an X server of its own (Xvfb): one screen saver show
// at a time with the desktop's screen saver off meanwhile, the start-up window deciding
// whether the show plays, and the password typed into its prompt. Skipped where Xvfb or
// the X tools are not installed.
#include <gtest/gtest.h>

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
using std::chrono::seconds;

constexpr const char* kCaption = "run modes show";

// A long red slide in a small window.
std::string Show(const std::string& main, const std::string& sections = "") {
  return "[main]\r\nopt_scr_caption=" + std::string(kCaption) +
         "\r\nopt_slidescount=1\r\nopt_synchpos1=600000\r\nopt_scr_full=0\r\nopt_scr_width=200\r\n"
         "opt_scr_height=150\r\n" + main + sections +
         "[Slide1]\r\nobject Fill: box\r\n  Size=400,300\r\n  Color1=255,0,0\r\nend\r\n";
}

class RunModesPlayerTest : public TempFolderTest {
 protected:
  RunModesPlayerTest() : TempFolderTest("kiv_run_modes_") {}
  void SetUp() override {
    if (std::system("command -v Xvfb xwininfo xdotool xset >/dev/null 2>&1") != 0)
      GTEST_SKIP() << "Xvfb, xwininfo, xdotool or xset is not installed";
    Server = std::make_unique<TXServer>(640, 480);
    if (!Server->Running()) GTEST_SKIP() << "no X server could be started";
  }

  // The player (program: the built one) on the project with arguments.
  std::unique_ptr<TChild> Play(const std::string& project, const std::string& arguments,
                               const fs::path& program = fs::path(testing::BuildFolder()) / "kivplayer") {
    std::ofstream(folder / "Project.kiv") << project;
    return std::make_unique<TChild>(Environment() + "'" + program.string() + "' -filename '" +
                                    (folder / "Project.kiv").string() + "' " + arguments + " 2>/dev/null");
  }
  std::string Environment() const {
    return "env SDL_VIDEODRIVER=x11 DISPLAY=" + Server->Name() + " XDG_RUNTIME_DIR='" + folder.string() + "' ";
  }

  // The id of the viewable window titled name; empty when there is none.
  std::string ShownWindow(const std::string& name) const {
    const TXWindow window = Server->FindWindow(name);
    return window.Viewable ? window.Id : "";
  }
  std::string WaitForWindow(const std::string& name) const {
    std::string id;
    WaitUntil([&] { return !(id = ShownWindow(name)).empty(); }, seconds(60));
    return id;
  }
  // xdotool's command (such as "key Return") sent to the window, which takes the focus first.
  void Send(const std::string& window, const std::string& command) const { Server->XdoTool(command, window); }
  // The X server's screen saver time-out, as "xset q" tells it.
  std::string SaverTimeout() const {
    std::smatch timeout;
    const std::string text = Output("DISPLAY=" + Server->Name() + " xset q");
    return std::regex_search(text, timeout, std::regex("timeout:\\s*(\\d+)")) ? timeout[1].str() : "";
  }
  static bool Ends(TChild& player) { return WaitUntil([&] { return !player.Running(); }, seconds(20)); }

  std::unique_ptr<TXServer> Server;
};

TEST_F(RunModesPlayerTest, OneScreenSaverShowRunsWithTheDesktopSaverOffUntilThePointerMoves) {
  std::system(("DISPLAY=" + Server->Name() + " xset s 300 60").c_str());
  ASSERT_EQ(SaverTimeout(), "300");
  const std::unique_ptr<TChild> first = Play(Show(""), "/s");
  const std::string window = WaitForWindow(kCaption);
  ASSERT_FALSE(window.empty()) << "the screen saver show was not shown";
  EXPECT_EQ(SaverTimeout(), "0");

  // A second screen saver show of the same program ends at once; so do a preview and a
  // screen saver program called without "/s".
  const std::unique_ptr<TChild> second = Play(Show(""), "/s");
  EXPECT_TRUE(Ends(*second));
  EXPECT_EQ(second->ExitCode(), 0);
  EXPECT_NE(Output(Environment() + "'" + testing::BuildFolder() + "/kivplayer' /p 1234 2>&1")
                .find("preview is not available"),
            std::string::npos);
  fs::create_hard_link(fs::path(testing::BuildFolder()) / "kivplayer", folder / "show.scr");
  const std::unique_ptr<TChild> settings = Play(Show(""), "", folder / "show.scr");
  EXPECT_TRUE(Ends(*settings));
  EXPECT_EQ(settings->ExitCode(), 0);

  ASSERT_TRUE(first->Running());
  std::this_thread::sleep_for(seconds(1));  // input of the first second after the window came is not taken
  // The pointer seen first, then moved by more than 5 pixels.
  Send(window, "mousemove 100 100 sleep 0.3 mousemove 103 102");
  std::this_thread::sleep_for(seconds(1));
  EXPECT_TRUE(first->Running()) << "a move of 5 pixels ended the screen saver show";
  Send(window, "mousemove 104 102");
  EXPECT_TRUE(Ends(*first)) << "a move of 6 pixels did not end the screen saver show";
  EXPECT_EQ(first->ExitCode(), 0);
  EXPECT_EQ(SaverTimeout(), "300");  // as it was before
}

TEST_F(RunModesPlayerTest, TheStartupWindowDecidesWhetherTheShowPlays) {
  const std::string startup = "stw_show=1\r\n";
  const std::string dialog = "[FileMap]\r\n[dialog_startup]\r\nobject Fill: box\r\n  Size=400,300\r\n  Color1=0,255,0\r\nend\r\n";
  // Esc in the start-up window: the show does not play.
  std::unique_ptr<TChild> player = Play(Show(startup, dialog), "");
  std::string window = WaitForWindow("Startup Window");
  ASSERT_FALSE(window.empty()) << "the start-up window was not shown";
  std::this_thread::sleep_for(seconds(1));
  Send(window, "key Escape");
  EXPECT_TRUE(Ends(*player));
  EXPECT_EQ(player->ExitCode(), 0);

  // Enter: the show plays, also as a screen saver.
  player = Play(Show(startup, dialog), "/s");
  window = WaitForWindow("Startup Window");
  ASSERT_FALSE(window.empty()) << "the start-up window was not shown";
  EXPECT_TRUE(ShownWindow(kCaption).empty());  // the show's window waits
  Send(window, "key Return");
  EXPECT_FALSE(WaitForWindow(kCaption).empty()) << "the show did not play after Enter";
}

TEST_F(RunModesPlayerTest, ThePasswordTypedIntoThePromptOpensTheShow) {
  const std::string main = "opt_usepass=1\r\nopt_pass=Se cret\r\n";
  std::unique_ptr<TChild> player = Play(Show(main), "");
  std::string prompt = WaitForWindow("Password required");
  ASSERT_FALSE(prompt.empty()) << "the password was not asked for";
  Send(prompt, "type 'se cret'");
  Send(prompt, "key Return");
  EXPECT_TRUE(Ends(*player));
  EXPECT_EQ(player->ExitCode(), 1);

  player = Play(Show(main), "");
  prompt = WaitForWindow("Password required");
  ASSERT_FALSE(prompt.empty()) << "the password was not asked for";
  Send(prompt, "type 'Se cret'");
  Send(prompt, "key Return");
  EXPECT_FALSE(WaitForWindow(kCaption).empty()) << "the right password did not open the show";
}

}  // namespace
}  // namespace kiv
