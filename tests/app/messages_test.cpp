// Messages the player puts before the user, and what it prints when asked for help or
// its version instead of a show.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/message_box.h"
#include "app/recording_message_box.h"
#include "app/show_opening.h"
#include "base/text.h"
#include "support/build_folder.h"
#include "support/bytes.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

// Sets (or with no value unsets) an environment variable for the life of the object.
class TEnvironment {
 public:
  TEnvironment(const char* name, std::optional<std::string> value) : FName(name) {
    if (const char* old = std::getenv(name)) FOld = old;
    if (value)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }
  ~TEnvironment() {
    if (FOld)
      ::setenv(FName, FOld->c_str(), 1);
    else
      ::unsetenv(FName);
  }

 private:
  const char* FName;
  std::optional<std::string> FOld;
};

class MessagesTest : public TempFolderTest {};

TEST_F(MessagesTest, ShowThatCannotBeOpenedIsAnErrorBox) {
  std::ofstream(folder / "empty.exe") << "not a show";
  const std::u16string exe = Utf8ToUtf16((folder / "empty.exe").string());
  const std::u16string project = Utf8ToUtf16((folder / "none" / "Project.kiv").string());
  const struct {
    TShowRequest Request;
    std::u16string Text;
  } cases[] = {
      {{exe, true}, u"Can`t Load Show\n\"" + exe + u"\" or \"" + LooseShowPath(exe) + u"\""},
      {{project, false}, u"Can`t Load .kiv File\n\"" + project + u"\""},
  };
  for (const auto& c : cases) {
    TRecordingMessageBox box;
    EXPECT_EQ(OpenShow(c.Request, u"/opt/x/kivplayer"), nullptr);
    ASSERT_EQ(box.Shown.size(), 1u) << Utf16ToUtf8(c.Request.Path);
    EXPECT_EQ(box.Shown[0].Title, u"Slideshow Error");
    EXPECT_EQ(box.Shown[0].Text, c.Text);
    EXPECT_TRUE(box.Shown[0].Warning);
  }
}

TEST(MessageBox, DisplayIsNeededForABox) {
  const struct {
    std::optional<std::string> X, Wayland, Driver;
    bool Available;
  } cases[] = {
      {std::nullopt, std::nullopt, std::nullopt, false},
      {"", std::nullopt, std::nullopt, false},
      {":0", std::nullopt, std::nullopt, true},
      {std::nullopt, "wayland-0", std::nullopt, true},
      {":0", std::nullopt, "x11", true},
      {":0", std::nullopt, "offscreen", false},
      {":0", "wayland-0", "dummy", false},
  };
  for (const auto& c : cases) {
    TEnvironment x("DISPLAY", c.X), wayland("WAYLAND_DISPLAY", c.Wayland), driver("SDL_VIDEODRIVER", c.Driver);
    EXPECT_EQ(DisplayAvailable(), c.Available) << c.X.value_or("-") << " " << c.Wayland.value_or("-") << " "
                                               << c.Driver.value_or("-");
  }
}

TEST(MessageBox, WithoutDisplayOnlyStandardErrorHearsOfIt) {
  TEnvironment x("DISPLAY", std::nullopt), wayland("WAYLAND_DISPLAY", std::nullopt);
  ::testing::internal::CaptureStderr();
  ShowError(u"Can`t Load Show\n\"/a\" or \"/a.KvShow\"");  // would wait for OK if a box came up
  ShowNotice(u"Command line contains prohibited command and will not be performed.");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Slideshow Error: Can`t Load Show\n\"/a\" or \"/a.KvShow\"\n"
            "Command line contains prohibited command and will not be performed.\n");
}

// The built player run without a display; its exit code, standard output and error.
struct TRun {
  int Code = -1;
  std::string Out, Err;
};

TRun RunPlayer(const fs::path& folder, const std::string& arguments) {
  const char* buildDir = testing::BuildFolder();
  if (!buildDir) ADD_FAILURE() << "KIV_BUILD_DIR is not set";
  const std::string command = "cd '" + folder.string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY XDG_STATE_HOME='" +
                              (folder / "state").string() + "' timeout 60 '" + (fs::path(buildDir ? buildDir : "") / "kivplayer").string() +
                              "' " + arguments + " >out.txt 2>err.txt";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(folder / "out.txt"), ReadAll(folder / "err.txt")};
}

// Without a display every start that cannot play says why on standard error, with an
// exit status a script can test: 1 for a show that cannot play, 2 for a command line the
// player cannot follow. Asked for its usage or version, the player prints it and ends
// well.
TEST_F(MessagesTest, StartsThatCannotPlayAreToldOnStandardError) {
  WriteAll(folder / "ok.kiv", "[main]\r\nopt_slidescount=1\r\nopt_synchpos1=2000\r\n");
  WriteAll(folder / "empty.kiv", "");
  fs::create_directories(folder / "a folder");
  const std::string gone = (folder / "gone.kiv").string();
  struct TCase {
    std::string Arguments;
    int Code;
    std::string Err;  // the line standard error ends with (libraries may note more before it)
    std::string Out = "";
  };
  const std::string usage = "-filename -exename -slide -time -display -filelog -log -nosound --version Esc Right Space";
  const TCase cases[] = {
      {"--help", 0, "", usage},
      {"-h", 0, "", usage},
      {"-slide 2 --help", 0, "", usage},
      {"--version", 0, "", "kivplayer (KivViewer) 5.6\n"},
      {"-filename '" + gone + "'", 1, "Slideshow Error: Can`t Load .kiv File\n\"" + gone + "\"\n"},
      {"-filename empty.kiv", 1, "Slideshow Error: Can`t Load .kiv File"},
      {"-filename 'a folder'", 1, "Slideshow Error: Can`t Load"},
      {"-filename ok.kiv", 1, "Slideshow Error: No display to show the slideshow on"},
      {"-filename ok.kiv -slide 5", 2, "kivplayer: -slide 5: the show has 1 slides"},
      {"-frobnicate -filename ok.kiv", 2, "kivplayer: unknown option \"-frobnicate\""},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.Arguments);
    const TRun run = RunPlayer(folder, test.Arguments);
    EXPECT_EQ(run.Code, test.Code);
    if (test.Err.empty()) {
      EXPECT_EQ(run.Err, "");
    } else {
      EXPECT_NE(run.Err.find(test.Err), std::string::npos) << run.Err;
    }
    if (test.Out.empty() || test.Out.ends_with("\n")) {
      EXPECT_EQ(run.Out, test.Out);
    } else {  // the usage names every option and the keys
      std::istringstream words(test.Out);
      for (std::string word; words >> word;) EXPECT_NE(run.Out.find(word), std::string::npos) << "lacks " << word;
    }
  }
}

}  // namespace
}  // namespace kiv
