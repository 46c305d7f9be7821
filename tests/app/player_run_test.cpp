// Runs the built player from a folder of its own and checks what it leaves behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/build_folder.h"
#include "support/bytes.h"
#include "support/test_folder.h"

namespace {

namespace fs = std::filesystem;
using kiv::ReadAll;

const std::string kDate = R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d\.\d{3})";

// The banners with the given line end.
std::string BannersPattern(const std::string& program, const std::string& end) {
  return end + std::string(64, '=') + end + "Program : " + program + end + "started : " + kDate + end +
         std::string(64, '=') + end + end + std::string(64, '-') + end + "Program stoped : " + kDate +
         R"( \(work time : \d+ ms\))" + end + std::string(64, '-') + end;
}

// The engine's log line for each slide list it takes, followed by the slides' times.
constexpr const char* kSlideListLine = ">>>>>>>>>>>>> slide list synched : ";

// The rest of the last log line that holds prefix, without the blanks at its end.
std::string LastLogLine(const std::string& log, const std::string& prefix) {
  const size_t found = log.rfind(prefix);
  if (found == std::string::npos) return "<none>";
  const size_t start = found + prefix.size();
  std::string rest = log.substr(start, log.find("\r\n", start) - start);
  return rest.substr(0, rest.find_last_not_of(' ') + 1);
}

// True when every piece occurs in text, each after the one before.
bool InOrder(const std::string& text, const std::vector<std::string>& pieces) {
  size_t from = 0;
  for (const std::string& piece : pieces) {
    from = text.find(piece, from);
    if (from == std::string::npos) return false;
    from += piece.size();
  }
  return true;
}

std::string CantLoadShow(const std::string& program) {
  return "Slideshow Error: Can`t Load Show\n\"" + program + "\" or \"" + program + ".KvShow\"\n";
}

class PlayerRunTest : public kiv::TempFolderTest {
 protected:
  PlayerRunTest() : TempFolderTest("kiv_player_run_") {}

  std::string program;
  std::string errors;

  void SetUp() override {
    const char* buildDir = kiv::testing::BuildFolder();
    ASSERT_NE(buildDir, nullptr) << "KIV_BUILD_DIR is not set";
    fs::create_directories(folder / "bin");
    program = (folder / "bin" / "kivplayer").string();
    fs::copy_file(fs::path(buildDir) / "kivplayer", program);
    fs::create_directories(folder / "tmp");
  }
  // A test may have closed the program folder; it opens again so that it can go.
  void TearDown() override { fs::permissions(folder / "bin", fs::perms::owner_all); }

  // Runs the copy from the temporary folder itself (not from the program's folder), with
  // the state folder inside it and a display that needs no screen; a player still running
  // after 60 s is ended (exit code 124). Returns the exit code and keeps standard error.
  int Run(const std::string& arguments) {
    const int status = std::system(Command(arguments).c_str());
    errors = ReadAll(folder / "stderr.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // Runs the copy until its file log holds text (60 s at most), then ends it as the
  // system would. Returns the log.
  std::string RunUntilLogHas(const std::string& arguments, const std::string& text) {
    const pid_t child = ::fork();
    if (child == 0) {
      ::execl("/bin/sh", "sh", "-c", Command(arguments).c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    std::string log;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while ((log = ReadAll(program + ".log")).find(text) == std::string::npos &&
           std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ::kill(child, SIGTERM);
    int status = 0;
    ::waitpid(child, &status, 0);
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return ReadAll(program + ".log");
  }
  int exitCode = -1;

 private:
  std::string Command(const std::string& arguments) const {
    return "cd '" + folder.string() + "' && export XDG_STATE_HOME='" + (folder / "state").string() +
           "' TMPDIR='" + (folder / "tmp").string() + "' SDL_VIDEODRIVER=offscreen && exec timeout 60 '" + program + "' " + arguments + " 2>'" +
           (folder / "stderr.txt").string() + "'";
  }
};

TEST_F(PlayerRunTest, FileLogHoldsExactlyTheBannersAndTheMissingShowIsReported) {
  EXPECT_EQ(Run("-filelog"), 1);
  const std::string log = ReadAll(program + ".log");
  ASSERT_TRUE(log.starts_with("\xEF\xBB\xBF"));
  EXPECT_TRUE(std::regex_match(log.substr(3), std::regex(BannersPattern(program, "\r\n")))) << log;
  EXPECT_EQ(errors, CantLoadShow(program));
}

TEST_F(PlayerRunTest, StdLogWritesTheBannersToStandardError) {
  EXPECT_NE(Run("-log"), 0);
  EXPECT_FALSE(fs::exists(program + ".log"));
  // The error message comes between the two banners.
  const size_t message = errors.find(CantLoadShow(program));
  ASSERT_NE(message, std::string::npos) << errors;
  std::string banners = errors;
  banners.erase(message, CantLoadShow(program).size());
  EXPECT_TRUE(std::regex_match(banners, std::regex(BannersPattern(program, "\n")))) << errors;
}

TEST_F(PlayerRunTest, WithoutLogOptionsNoLogIsWritten) {
  EXPECT_NE(Run("-Log -slide 2"), 0);
  EXPECT_EQ(errors, CantLoadShow(program));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder / "bin"), fs::directory_iterator()), 1);
  EXPECT_FALSE(fs::exists(folder / "state"));
}

TEST_F(PlayerRunTest, NamedShowsAreTakenFromTheProgramFolder) {
  EXPECT_NE(Run("-filename \"my show/Project.kiv\""), 0);
  EXPECT_EQ(errors, "Slideshow Error: Can`t Load .kiv File\n\"" + (folder / "bin" / "my show/Project.kiv").string() +
                        "\"\n");
  EXPECT_NE(Run("-exename ../trip.exe"), 0);
  EXPECT_EQ(errors, "Slideshow Error: Slideshow File not Found\n\"" + (folder / "trip.exe").string() + "\" or \"" +
                        (folder / "trip.KvShow").string() + "\"\n");
}

// A three-slide project with a picture in a subfolder, packed by kivshow. The show closes
// at its end; each run starts 10 ms before it, so the player opens the show, plays its
// last moment and ends.
class ShowOpeningRunTest : public PlayerRunTest {
 protected:
  std::string kivshow;
  int output = 0;

  void SetUp() override {
    PlayerRunTest::SetUp();
    kivshow = (fs::path(kiv::testing::BuildFolder()) / "kivshow").string();
    fs::create_directories(folder / "project" / "Pics");
    std::ofstream(folder / "project" / "Pics" / "a.jpg") << "picture";
    std::ofstream(folder / "project" / "Project.kiv")
        << "[main]\r\nopt_slidescount=3\r\nopt_synchpos1=4000\r\nopt_synchpos2=9000\r\nopt_synchpos3=15000\r\n"
           "opt_repeat=close\r\nopt_exefn=C:\\Shows\\trip.exe\r\n[Slide1]\r\npicture=pics\\A.JPG\r\n";
  }
  int Pack(const std::string& arguments) {
    return std::system(("'" + kivshow + "' pack '" + (folder / "project" / "Project.kiv").string() + "' " +
                        arguments + " >/dev/null")
                           .c_str());
  }
  // The slide list the engine took last, from the file log of a run near the show's end.
  std::string LastSlideList(const std::string& arguments) {
    output = Run("-filelog -time 14990 " + arguments);
    return LastLogLine(ReadAll(program + ".log"), kSlideListLine);
  }
};

TEST_F(ShowOpeningRunTest, TheShowAppendedToTheProgramIsFound) {
  ASSERT_EQ(Pack("--player '" + program + "' -o '" + program + "'"), 0);
  EXPECT_EQ(LastSlideList(""), "9000-15000");
  EXPECT_EQ(output, 0);
  EXPECT_EQ(errors, "");
}

TEST_F(ShowOpeningRunTest, AShowMovedInsideItsFileOpensOnlyWhenAllowed) {
  for (bool allowed : {false, true}) {
    ASSERT_EQ(Pack("--player '" + program + "' -o '" + (folder / "show").string() + "'" +
                   (allowed ? " --allow-modify" : "")),
              0);
    // Insert 100 bytes between the program image and the appended block.
    std::string bytes = ReadAll(folder / "show");
    bytes.insert(fs::file_size(program), std::string(100, 'x'));
    std::ofstream(folder / "show", std::ios::binary) << bytes;
    const std::string slides = LastSlideList("-exename ../show");
    if (allowed) {
      EXPECT_EQ(slides, "9000-15000");
      EXPECT_EQ(output, 0);
    } else {
      EXPECT_EQ(errors, "Slideshow Error: Slide-show File Modified\n\"" + (folder / "show").string() + "\" or \"" +
                            (folder / "show.KvShow").string() + "\"\n");
      EXPECT_EQ(output, 1);
    }
  }
}

TEST_F(ShowOpeningRunTest, ALooseShowFileAndAProjectFileOpenToo) {
  ASSERT_EQ(Pack("--data -o '" + program + ".KvShow'"), 0);
  EXPECT_EQ(LastSlideList(""), "9000-15000");
  EXPECT_EQ(output, 0);

  EXPECT_EQ(LastSlideList("-filename ../project/Project.kiv"), "9000-15000");
  EXPECT_EQ(output, 0);
  EXPECT_EQ(errors, "");
}

TEST_F(ShowOpeningRunTest, TheStartupWindowPlaysTheStartupDialogAlone) {
  std::ofstream(folder / "project" / "Project.kiv", std::ios::app)
      << "[FileMap]\r\n[dialog_startup]\r\nobject Go:button\r\nend\r\n";
  ASSERT_EQ(Pack("--player '" + program + "' -o '" + (folder / "show").string() + "'"), 0);
  // The start-up dialog stands at its end until the user answers it; the run is ended
  // once it shows.
  const std::string log = RunUntilLogHas("-filelog -exename ../show -startup", std::string(kSlideListLine) + "0-1000");
  EXPECT_EQ(LastLogLine(log, kSlideListLine), "0-1000");
  EXPECT_EQ(LastSlideList("-exename ../show"), "9000-15000");
}

TEST_F(ShowOpeningRunTest, AProjectWithoutItsMainSectionIsReported) {
  std::ofstream(folder / "project" / "Project.kiv") << "[Slide1]\r\npicture=a.jpg\r\n";
  EXPECT_EQ(Run("-filename ../project/Project.kiv"), 1);
  EXPECT_NE(errors.find("Slideshow Error: Can`t Load .kiv File"), std::string::npos) << errors;  // no internal text
}

// Three short slides of real pictures, played in real time in a window without display.
class ShowPlayingRunTest : public ShowOpeningRunTest {
 protected:
  void SetUp() override {
    ShowOpeningRunTest::SetUp();
    std::ofstream project(folder / "project" / "Project.kiv");
    project << "[main]\r\nopt_slidescount=3\r\nopt_synchpos1=300\r\nopt_synchpos2=600\r\nopt_synchpos3=900\r\n"
               "opt_repeat=close\r\nopt_scr_full=0\r\nopt_scr_width=320\r\nopt_scr_height=240\r\n"
               "opt_exefn=C:\\Shows\\colours.exe\r\n";
    for (const char* colour : {"red", "green", "blue"}) {
      ASSERT_EQ(std::system(("convert -size 64x48 xc:" + std::string(colour) + " '" +
                             (folder / "project" / "Pics" / (std::string(colour) + ".jpg")).string() + "'")
                                .c_str()),
                0);
      project << "[Slide" << (colour[0] == 'r' ? 1 : colour[0] == 'g' ? 2 : 3) << "]\r\npicture=Pics\\" << colour
              << ".jpg\r\n";
    }
  }
};

TEST_F(ShowPlayingRunTest, PlayerPlaysTheShowToItsEndAndCloses) {
  ASSERT_EQ(Pack("--player '" + program + "' -o '" + program + "'"), 0);
  EXPECT_EQ(Run("-filelog"), 0);
  EXPECT_EQ(errors, "");
  const std::string log = ReadAll(program + ".log");
  EXPECT_TRUE(InOrder(log, {"Open from new position>>>>>>>> 0", "Loader Inited To Time : ",
                            std::string(kSlideListLine) + "0-300 \r\n", "TKivEngine.MainLoop: SetActive(True) - Start by NewActive",
                            std::string(kSlideListLine) + "0-300 300-600 600-900 \r\n",
                            std::string(kSlideListLine) + "600-900 \r\n",
                            "Program stoped : "}))
      << log;
  // The window closed at the show's end, not before.
  std::smatch workTime;
  ASSERT_TRUE(std::regex_search(log, workTime, std::regex(R"(work time : (\d+) ms)")));
  EXPECT_GE(std::stoi(workTime[1]), 900);
}

// SIGTERM (as the system's shutdown sends it) closes the window as its close button
// does: the log's stop banner, no temporary folder left, exit code 0.
TEST_F(ShowPlayingRunTest, SigtermDuringPlaybackClosesThePlayerInOrder) {
  std::string project = ReadAll(folder / "project" / "Project.kiv");
  project.replace(project.find("opt_synchpos3=900"), 17, "opt_synchpos3=60000");
  std::ofstream(folder / "project" / "Project.kiv") << project;
  ASSERT_EQ(Pack("--player '" + program + "' -o '" + program + "'"), 0);
  const std::string log = RunUntilLogHas("-filelog", "SetActive(True)");
  EXPECT_TRUE(InOrder(log, {"SetActive(True)", "Stop requested by SIGTERM", "Program stoped : "})) << log;
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(fs::is_empty(folder / "tmp"));
}

TEST_F(ShowPlayingRunTest, PlayerStartsAtTheSlideOfTheCommandLine) {
  ASSERT_EQ(Pack("--player '" + program + "' -o '" + program + "'"), 0);
  EXPECT_EQ(Run("-filelog -slide 3"), 0);
  const std::string log = ReadAll(program + ".log");
  EXPECT_TRUE(InOrder(log, {"Open from new position>>>>>>>> 601", std::string(kSlideListLine) + "600-900 \r\n",
                            "TKivEngine.MainLoop: SetActive(True) - Start by NewActive", "Program stoped : "}))
      << log;
  EXPECT_EQ(log.find(std::string(kSlideListLine) + "0-300"), std::string::npos) << log;
}

TEST_F(ShowPlayingRunTest, AShowThatEndsOpensTheShowItNamesToRunOnExit) {
  fs::create_directories(folder / "Other");
  fs::create_directories(folder / "Shows");
  ASSERT_EQ(Pack("--player '" + program + "' -o '" + (folder / "Other" / "Two").string() + "'"), 0);
  std::string project = ReadAll(folder / "project" / "Project.kiv");
  project.insert(project.find("[main]\r\n") + 8, "opt_runapponexit=2\r\nopt_runapponexitfn=..\\Other\\TWO.exe\r\n");
  std::ofstream(folder / "project" / "Project.kiv") << project;
  ASSERT_EQ(Pack("--player '" + program + "' -o '" + (folder / "Shows" / "One").string() + "'"), 0);
  EXPECT_EQ(Run("-filelog -exename ../Shows/One"), 0);
  EXPECT_EQ(errors, "");
  const std::string log = ReadAll(program + ".log");
  EXPECT_TRUE(InOrder(log, {"Open show: " + (folder / "Other" / "Two").string(), "Open from new position>>>>>>>> 0",
                            std::string(kSlideListLine) + "600-900 \r\n", "Program stoped : "}))
      << log;
}

TEST_F(PlayerRunTest, ClosedProgramFolderSendsTheFileLogToTheStateFolder) {
  if (::geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind root; OpenFileLog's test covers the decision";
  fs::permissions(folder / "bin", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  EXPECT_NE(Run("-filelog"), 0);
  const fs::path log = folder / "state" / "kivplayer.log";
  EXPECT_FALSE(fs::exists(program + ".log"));
  EXPECT_TRUE(std::regex_match(ReadAll(log).substr(3), std::regex(BannersPattern(program, "\r\n"))));
  EXPECT_EQ(errors, "kivplayer: log written to " + log.string() + " (program folder not writable)\n" +
                        CantLoadShow(program));
}

}  // namespace
