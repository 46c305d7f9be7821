// How the player runs: as a screen saver or not, behind a show's password, after its
// start-up window.
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/screen_saver_mode.h"
#include "app/show_password.h"
#include "app/startup_window.h"
#include "base/text.h"
#include "support/project_text.h"

namespace kiv {
namespace {

TEST(ScreenSaverMode, FollowsTheProgramsNameAndItsArguments) {
  using enum TScreenSaverMode;
  const struct {
    const char16_t* Program;
    const char16_t* Arguments;
    TScreenSaverMode Mode;
  } cases[] = {
      {u"/opt/kivplayer", u"", None},
      {u"/opt/kivplayer", u"-exename show /s", Show},
      {u"/opt/kivplayer", u"/S", Show},
      {u"/opt/kivplayer", u"/p 1234", Preview},
      {u"/opt/Show.SCR", u"/s", Show},
      {u"/opt/show.scr", u"/p 1234", Preview},
      {u"/opt/show.scr", u"", Refused},     // the desktop's settings or a double click
      {u"/opt/show.scr", u"/c:99", Refused},
      {u"/opt/show.scr", u"-S", Refused},   // tokens are compared whole, case included
      {u"/opt/show.scr", u"-startup -exename /opt/show.scr", None},  // the start-up window
      {u"/opt/kivplayer", u"-startup /s", None},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ScreenSaverModeFor(c.Program, TCommandLine::FromText(std::u16string(c.Program) + u" " + c.Arguments)),
              c.Mode)
        << Utf16ToUtf8(c.Program) << " " << Utf16ToUtf8(c.Arguments);
}

TEST(ScreenSaverMode, ShowsReadTheirRunModeFromTheProgramPathGiven) {
  EXPECT_EQ(RunModeProgramPath(TScreenSaverMode::Show, u"/opt/kivplayer"), u"/opt/kivplayer.scr");
  EXPECT_EQ(RunModeProgramPath(TScreenSaverMode::Show, u"/opt/a.Scr"), u"/opt/a.Scr");
  EXPECT_EQ(RunModeProgramPath(TScreenSaverMode::None, u"/opt/a.scr"), u"/opt/a");
  EXPECT_EQ(RunModeProgramPath(TScreenSaverMode::None, u"/opt/kivplayer"), u"/opt/kivplayer");
  // Each program has a lock of its own.
  EXPECT_NE(InstanceLockKey(u"/a/show.scr"), InstanceLockKey(u"/b/show.scr"));
  EXPECT_TRUE(InstanceLockKey(u"/a/show.scr").ends_with("show.scr"));
}

TEST(ShowPassword, OpensTheShowOnlyForTheRightTextConfirmed) {
  const struct {
    const char* Main;
    bool Confirmed;
    const char16_t* Entered;
    bool Admitted;
  } cases[] = {
      {"opt_usepass=0\r\nopt_pass=x\r\n", false, u"", true},  // no password asked
      {"opt_usepass=1\r\nopt_pass=Se cret\r\n", true, u"Se cret", true},
      {"opt_usepass=1\r\nopt_pass=Se cret\r\n", true, u"se cret", false},
      {"opt_usepass=1\r\nopt_pass=Se cret\r\n", false, u"Se cret", false},  // cancelled
      {"opt_usepass=1\r\nopt_pass=\r\n", true, u"", true},                  // empty is a password
      {"opt_usepass=1\r\n", true, u"", false},
      {"opt_usepass=1\r\n", true, u"rtpx83bnvqmzcyes41Ufkaw", true},
  };
  for (const auto& c : cases) {
    const auto project = ParseProject("[main]\r\n" + std::string(c.Main));
    bool asked = false;
    EXPECT_EQ(CheckShowPassword(*project,
                                [&](const TPasswordTexts&) -> std::optional<std::u16string> {
                                  asked = true;
                                  if (!c.Confirmed) return std::nullopt;
                                  return c.Entered;
                                }),
              c.Admitted)
        << c.Main << Utf16ToUtf8(c.Entered);
    EXPECT_EQ(asked, TShowPassword(*project).Required());
  }
}

TEST(ShowPassword, TakesTheShowsTextsAndRefusesWhenAskingFails) {
  const TPasswordTexts defaults = TShowPassword(*ParseProject("[main]\r\nopt_usepass=1\r\n")).Texts();
  EXPECT_EQ(defaults.Caption + u"|" + defaults.Label + u"|" + defaults.Ok + u"|" + defaults.Cancel,
            u"Password required|Enter password:|OK|Cancel");
  const auto project = ParseProject(
      "[main]\r\nopt_usepass=1\r\nopt_pass=a\r\nopt_lng_password_caption=Kennwort\r\nopt_lng_password_label=Bitte:\r\n"
      "opt_lng_button_ok=Ja\r\nopt_lng_button_cancel=Nein\r\n");
  const TPasswordTexts texts = TShowPassword(*project).Texts();
  EXPECT_EQ(texts.Caption + texts.Label + texts.Ok + texts.Cancel, u"KennwortBitte:JaNein");
  EXPECT_FALSE(CheckShowPassword(*project, [](const TPasswordTexts&) -> std::optional<std::u16string> {
    throw std::runtime_error("no window");
  }));
}

TEST(StartupWindow, RunsTheChildForTheSameShowAndMonitor) {
  const TCommandLine commandLine = TCommandLine::FromText(u"/opt/kivplayer -exename x -display 2");
  EXPECT_EQ(StartupWindowArguments(u"/opt/kivplayer", {u"/shows/a b.exe", true}, commandLine),
            (std::vector<std::string>{"/opt/kivplayer", "-exename", "/shows/a b.exe", "-startup", "-display", "2"}));
  EXPECT_EQ(StartupWindowArguments(u"/opt/kivplayer", {u"/shows/p.kiv", false}, TCommandLine::FromText(u"k")),
            (std::vector<std::string>{"/opt/kivplayer", "-filename", "/shows/p.kiv", "-startup"}));
  // Only a show that asks for it, and never from the start-up window itself.
  const auto asks = ParseProject("[main]\r\nstw_show=1\r\n");
  EXPECT_TRUE(WantsStartupWindow(*asks, TCommandLine::FromText(u"k")));
  EXPECT_FALSE(WantsStartupWindow(*asks, TCommandLine::FromText(u"k -startup")));
  EXPECT_FALSE(WantsStartupWindow(*ParseProject("[main]\r\nstw_show=0\r\n"), TCommandLine::FromText(u"k")));
}

TEST(StartupWindow, TheChildsExitCodeDecides) {
  EXPECT_EQ(RunStartupWindow({"/bin/sh", "-c", "exit 1"}), 1);
  int looks = 0;
  EXPECT_EQ(RunStartupWindow({"/bin/sh", "-c", "sleep 0.2; exit 0"}, [&looks] { ++looks; }), 0);
  EXPECT_GT(looks, 0);  // the caller's window kept taking its events meanwhile
  EXPECT_EQ(RunStartupWindow({"/nonexistent/program"}), std::nullopt);
}

}  // namespace
}  // namespace kiv
