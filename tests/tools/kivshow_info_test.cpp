// kivshow info: the report of a built show and of a loose project.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "kivshow/json_writer.h"
#include "kivshow/kivshow_command.h"
#include "support/test_folder.h"

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

class KivShowInfoTest : public TempFolderTest {
 protected:
  KivShowInfoTest() : TempFolderTest("kiv_info_") {}
  void SetUp() override {
    std::ofstream(folder / "Project.kiv")
        << "[main]\r\nKivVersion=5.6\r\nopt_scr_caption=Trip \"2026\"\r\nopt_scr_width=1024\r\nopt_scr_height=768\r\n"
           "opt_repeat=stop\r\nopt_slidescount=3\r\nopt_synchpos1=4000\r\nopt_synchpos2=9000\r\n"
           "opt_synchpos3=15000\r\nopt_fx_enable=1\r\nopt_fx_time=1000\r\nopt_fx_eff2=1\r\n"
           "[Slide1]\r\npicture=C:\\Pics\\Beach.jpg\r\n[Slide2]\r\nslideid=Intro\r\n";
  }

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
                               "      \"transitionOut\": 1000,\n      \"totalEnd\": 5000,\n      \"objects\": []\n    },\n"
                               "    {\n      \"index\": 1,\n      \"section\": \"Slide2\",\n      \"id\": \"Intro\",\n"
                               "      \"start\": 4000,\n      \"end\": 9000,\n      \"transitionIn\": 1000,\n"
                               "      \"transitionOut\": 1000,\n      \"totalEnd\": 10000,\n      \"objects\": []\n    },\n"
                               "    {\n      \"index\": 2,\n      \"section\": \"Slide3\",\n      \"id\": \"\",\n"
                               "      \"start\": 9000,\n      \"end\": 15000,\n      \"transitionIn\": 1000,\n"
                               "      \"transitionOut\": 0,\n      \"totalEnd\": 15000,\n"
                               // Slide 3 has no section of its own.
                               "      \"buildError\": true,\n      \"objects\": []\n    }\n"
                               "  ]\n}\n";
  EXPECT_EQ(Info(folder / "trip.KvShow"), expected);
}

// Every object kind in a built show, its size from its picture, skin or keys, and the
// nesting; the skin and the pictures come out of the show, not from the disk.
TEST_F(KivShowInfoTest, ListsTheObjectTreeOfEachSlideOfABuiltShow) {
  const std::string magick = "cd '" + folder.string() + "' && mkdir -p skins/aqua && convert -size 64x48 xc:red photo.jpg" +
                             " && convert -size 30x20 xc:none -fill white -draw 'circle 15,10 15,2' round.png" +
                             " && convert -size 48x24 xc:blue skins/aqua/skin.png";
  ASSERT_EQ(std::system(magick.c_str()), 0);
  std::ofstream(folder / "skins/aqua/btn.ini")
      << "[NormalState]\r\nLeftTop=skin.png,0,0,8,8\r\nTop=skin.png,8,0,40,8\r\nRightTop=skin.png,40,0,48,8\r\n"
         "Right=skin.png,40,8,48,16\r\nRightBottom=skin.png,40,16,48,24\r\nBottom=skin.png,8,16,40,24\r\n"
         "LeftBottom=skin.png,0,16,8,24\r\nLeft=skin.png,0,8,8,16\r\nCenter=skin.png,8,8,40,16\r\n";
  std::ofstream(folder / "Kinds.kiv")
      << "[main]\r\nopt_scr_width=640\r\nopt_scr_height=480\r\nopt_slidescount=1\r\nopt_synchpos1=3000\r\n"
         "PathToButtons=skins\\\r\n"
         "[Slide1]\r\n"
         "object Photo: MainImage\r\n ImageName=photo.jpg\r\n"
         " object Caption: TextComment\r\n  Text=\"Two^&lines\"\r\n  BlackBoxSize=200,60\r\n end\r\nend\r\n"
         "object Plain: image\r\n ImageName=photo.jpg\r\nend\r\n"
         "object Label: TEXT\r\n BlackBoxSize=120,30\r\nend\r\n"
         "object Go: Button\r\n Theme=aqua\r\nend\r\n"
         "object Fill: Box\r\n Size=100,50\r\nend\r\n"
         "object Edge: Frame\r\n Size=300,200\r\nend\r\n"
         "object Porthole: ViewPort\r\n Size=320,240\r\n"
         " object Round: Mask\r\n  ImageName=round.png\r\n end\r\n"
         " object Inside: Image\r\n  ImageName=photo.jpg\r\n end\r\nend\r\n"
         "object Odd: Hologram\r\nend\r\n";
  std::ostringstream out, err;
  ASSERT_EQ(RunKivShow(std::vector<std::string>{"pack", (folder / "Kinds.kiv").string(), "--data", "-o",
                                                (folder / "kinds.KvShow").string(), "--add",
                                                (folder / "skins/aqua/btn.ini").string(), "--add",
                                                (folder / "skins/aqua/skin.png").string()},
                       out, err),
            0)
      << err.str();
  // Packed under their full paths: the show must not find them on the disk instead.
  fs::remove_all(folder / "skins");
  fs::remove(folder / "photo.jpg");
  std::string info = Info(folder / "kinds.KvShow");
  info.erase(std::remove_if(info.begin(), info.end(), [](char c) { return c == ' ' || c == '\n'; }), info.end());
  auto object = [](const char* kind, const char* name, int width, int height) {
    return "{\"kind\":\"" + std::string(kind) + "\",\"name\":\"" + name + "\",\"width\":" + std::to_string(width) +
           ",\"height\":" + std::to_string(height);
  };
  const std::string expected =
      "\"objects\":[" + object("mainimage", "Photo", 64, 48) + ",\"objects\":[" + object("textcomment", "Caption", 200, 60) +
      ",\"font\":\"Arial:\",\"text\":\"Two\\u000alines\",\"stored\":true}]}," + object("image", "Plain", 64, 48) + "}," + object("text", "Label", 120, 30) +
      ",\"font\":\"Arial:\",\"text\":\"Text\",\"stored\":true}," +
      object("button", "Go", 48, 24) + "}," + object("box", "Fill", 100, 50) + "}," + object("frame", "Edge", 300, 200) +
      "}," + object("viewport", "Porthole", 320, 240) + ",\"objects\":[" + object("mask", "Round", 30, 20) + "}," +
      object("image", "Inside", 64, 48) + "}]}]";
  EXPECT_NE(info.find(expected), std::string::npos) << info;
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
  EXPECT_NE(Info(folder / "missing.kiv", 1).find("missing.kiv: not found"),
            std::string::npos);
}

}  // namespace
}  // namespace kiv
