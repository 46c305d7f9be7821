// Runs the built player from a folder of its own and checks what it leaves behind.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

const std::string kDate = R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d\.\d{3})";

// The banners with the given line end.
std::string BannersPattern(const std::string& program, const std::string& end) {
  return end + std::string(64, '=') + end + "Program : " + program + end + "started : " + kDate + end +
         std::string(64, '=') + end + end + std::string(64, '-') + end + "Program stoped : " + kDate +
         R"( \(work time : \d+ ms\))" + end + std::string(64, '-') + end;
}

std::string CantLoadShow(const std::string& program) {
  return "Slideshow Error: Can`t Load Show\n\"" + program + "\" or \"" + program + ".KvShow\"\n";
}

class PlayerRunTest : public ::testing::Test {
 protected:
  fs::path folder;
  std::string program;
  std::string errors;

  void SetUp() override {
    const char* buildDir = std::getenv("KIV_BUILD_DIR");
    ASSERT_NE(buildDir, nullptr) << "KIV_BUILD_DIR is not set";
    folder = fs::canonical(fs::temp_directory_path()) / ("kiv_player_run_" + std::to_string(::getpid()));
    fs::create_directories(folder / "bin");
    program = (folder / "bin" / "kivplayer").string();
    fs::copy_file(fs::path(buildDir) / "kivplayer", program);
  }
  void TearDown() override {
    fs::permissions(folder / "bin", fs::perms::owner_all);
    fs::remove_all(folder);
  }

  // Runs the copy from the temporary folder itself (not from the program's folder), with
  // the state folder inside it. Returns the exit code and keeps standard error.
  int Run(const std::string& arguments) {
    const fs::path errorFile = folder / "stderr.txt";
    const std::string command = "cd '" + folder.string() + "' && XDG_STATE_HOME='" + (folder / "state").string() +
                                "' '" + program + "' " + arguments + " 2>'" + errorFile.string() + "'";
    const int status = std::system(command.c_str());
    errors = ReadAll(errorFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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

// A three-slide project with a picture in a subfolder, packed by kivshow.
class ShowOpeningRunTest : public PlayerRunTest {
 protected:
  std::string kivshow;
  int output = 0;

  void SetUp() override {
    PlayerRunTest::SetUp();
    kivshow = (fs::path(std::getenv("KIV_BUILD_DIR")) / "kivshow").string();
    fs::create_directories(folder / "project" / "Pics");
    std::ofstream(folder / "project" / "Pics" / "a.jpg") << "picture";
    std::ofstream(folder / "project" / "Project.kiv")
        << "[main]\r\nopt_slidescount=3\r\nopt_synchpos1=4000\r\nopt_synchpos2=9000\r\nopt_synchpos3=15000\r\n"
           "opt_exefn=C:\\Shows\\trip.exe\r\n[Slide1]\r\npicture=pics\\A.JPG\r\n";
  }
  int Pack(const std::string& arguments) {
    return std::system(("'" + kivshow + "' pack '" + (folder / "project" / "Project.kiv").string() + "' " +
                        arguments + " >/dev/null")
                           .c_str());
  }
  // The opened show's summary line on standard output.
  std::string Summary(const std::string& arguments) {
    const std::string outFile = (folder / "stdout.txt").string();
    output = Run(arguments + " >'" + outFile + "'");
    return ReadAll(outFile);
  }
};

TEST_F(ShowOpeningRunTest, TheShowAppendedToTheProgramIsFound) {
  ASSERT_EQ(Pack("--player '" + program + "' -o '" + program + "'"), 0);
  EXPECT_EQ(Summary(""), program + ": 3 slides, 15000 ms; nothing plays them yet\n");
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
    const std::string summary = Summary("-exename ../show");
    if (allowed) {
      EXPECT_EQ(summary, (folder / "show").string() + ": 3 slides, 15000 ms; nothing plays them yet\n");
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
  EXPECT_EQ(Summary(""), program + ": 3 slides, 15000 ms; nothing plays them yet\n");
  EXPECT_EQ(output, 0);

  EXPECT_EQ(Summary("-filename ../project/Project.kiv"),
            (folder / "project" / "Project.kiv").string() + ": 3 slides, 15000 ms; nothing plays them yet\n");
  EXPECT_EQ(output, 0);
  EXPECT_EQ(errors, "");
}

TEST_F(ShowOpeningRunTest, TheStartupWindowPlaysTheStartupDialogAlone) {
  std::ofstream(folder / "project" / "Project.kiv", std::ios::app)
      << "[FileMap]\r\n[dialog_startup]\r\nobject Go:button\r\nend\r\n";
  ASSERT_EQ(Pack("--player '" + program + "' -o '" + (folder / "show").string() + "'"), 0);
  EXPECT_EQ(Summary("-exename ../show -startup"),
            (folder / "show").string() + ": 1 slides, 1000 ms; nothing plays them yet\n");
  EXPECT_EQ(Summary("-exename ../show"), (folder / "show").string() + ": 3 slides, 15000 ms; nothing plays them yet\n");
}

TEST_F(ShowOpeningRunTest, AProjectWithoutItsMainSectionIsReported) {
  std::ofstream(folder / "project" / "Project.kiv") << "[Slide1]\r\npicture=a.jpg\r\n";
  EXPECT_EQ(Run("-filename ../project/Project.kiv"), 1);
  EXPECT_NE(errors.find("Slideshow Error: Assertion failure"), std::string::npos) << errors;
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
