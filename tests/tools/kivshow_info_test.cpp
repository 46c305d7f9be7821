// kivshow info: the report of a built show and of a loose project.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "kivshow/json_writer.h"
#include "kivshow/kivshow_command.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

TEST(JsonString, EscapesWhatJsonMustAndKeepsTheRest) {
  EXPECT_EQ(JsonString(u"plain"), "\"plain\"");
  EXPECT_EQ(JsonString(u"a\"b\\c\td\x01"), "\"a\\\"b\\\\c\\u0009d\\u0001\"");
  EXPECT_EQ(JsonString(u"\u00E9\U0001F600"), "\"\xC3\xA9\xF0\x9F\x98\x80\"");
  // A lone surrogate cannot be UTF-8: it is escaped.
  EXPECT_EQ(JsonString(std::u16string{u'x', char16_t(0xD83D)}), "\"x\\ud83d\"");
}

class KivShowInfoTest : public ::testing::Test {
 protected:
  fs::path folder;
  void SetUp() override {
    folder = fs::canonical(fs::temp_directory_path()) / ("kiv_info_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "Project.kiv")
        << "[main]\r\nKivVersion=5.6\r\nopt_scr_caption=Trip \"2026\"\r\nopt_scr_width=1024\r\nopt_scr_height=768\r\n"
           "opt_repeat=stop\r\nopt_slidescount=3\r\nopt_synchpos1=4000\r\nopt_synchpos2=9000\r\n"
           "opt_synchpos3=15000\r\nopt_fx_enable=1\r\nopt_fx_time=1000\r\nopt_fx_eff2=1\r\n"
           "[Slide1]\r\npicture=C:\\Pics\\Beach.jpg\r\n[Slide2]\r\nslideid=Intro\r\n";
  }
  void TearDown() override { fs::remove_all(folder); }

  std::string Info(const fs::path& path, int expectedCode = 0) {
    std::ostringstream out, err;
    EXPECT_EQ(RunKivShow(std::vector<std::string>{"info", path.string()}, out, err), expectedCode) << err.str();
    return expectedCode == 0 ? out.str() : err.str();
  }
};

TEST_F(KivShowInfoTest, PrintsOptionsAndTheTimingTableOfABuiltShow) {
  std::ostringstream out, err;
  ASSERT_EQ(RunKivShow(std::vector<std::string>{"pack", (folder / "Project.kiv").string(), "--data", "-o",
                                                (folder / "trip.KvShow").string()},
                       out, err),
            0)
      << err.str();
  const std::string expected = "{\n  \"path\": \"" + (folder / "trip.KvShow").string() +
                               "\",\n"
                               "  \"version\": \"5.6\",\n"
                               "  \"caption\": \"Trip \\\"2026\\\"\",\n"
                               "  \"width\": 1024,\n"
                               "  \"height\": 768,\n"
                               "  \"fullScreen\": false,\n"
                               "  \"endMode\": \"stop\",\n"
                               "  \"manualShow\": false,\n"
                               "  \"random\": false,\n"
                               "  \"screenSaver\": false,\n"
                               "  \"slideCount\": 3,\n"
                               "  \"duration\": 15000,\n"
                               "  \"slides\": [\n"
                               "    {\n      \"index\": 0,\n      \"section\": \"Slide1\",\n      \"id\": \"Beach\",\n"
                               "      \"start\": 0,\n      \"end\": 4000,\n      \"transitionIn\": 1000,\n"
                               "      \"transitionOut\": 1000,\n      \"totalEnd\": 5000\n    },\n"
                               "    {\n      \"index\": 1,\n      \"section\": \"Slide2\",\n      \"id\": \"Intro\",\n"
                               "      \"start\": 4000,\n      \"end\": 9000,\n      \"transitionIn\": 1000,\n"
                               "      \"transitionOut\": 1000,\n      \"totalEnd\": 10000\n    },\n"
                               "    {\n      \"index\": 2,\n      \"section\": \"Slide3\",\n      \"id\": \"\",\n"
                               "      \"start\": 9000,\n      \"end\": 15000,\n      \"transitionIn\": 1000,\n"
                               "      \"transitionOut\": 0,\n      \"totalEnd\": 15000\n    }\n"
                               "  ]\n}\n";
  EXPECT_EQ(Info(folder / "trip.KvShow"), expected);
}

TEST_F(KivShowInfoTest, ReadsLooseProjectsAndExplainsFailures) {
  EXPECT_NE(Info(folder / "Project.kiv").find("\"slideCount\": 3"), std::string::npos);
  // A ".scr" show runs as a screen saver, which also forces repeating.
  fs::copy_file(folder / "Project.kiv", folder / "saver.scr");
  const std::string saver = Info(folder / "saver.scr");
  EXPECT_NE(saver.find("\"screenSaver\": true"), std::string::npos) << saver;
  EXPECT_NE(saver.find("\"endMode\": \"repeat\""), std::string::npos) << saver;

  std::ofstream(folder / "broken.kiv") << "[main]\r\nopt_slidescount=2\r\nopt_synchpos1=5000\r\nopt_synchpos2=100\r\n";
  EXPECT_NE(Info(folder / "broken.kiv", 1).find("Incorrect time"), std::string::npos);
  EXPECT_NE(Info(folder / "missing.kiv", 1).find("neither a show container nor a readable project file"),
            std::string::npos);
}

}  // namespace
}  // namespace kiv
