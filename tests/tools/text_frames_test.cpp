// Texts as the built programs draw them: a packed show keeps its texts' looks on a
// machine without their fonts, macros show the facts of their slide and its picture as
// the same text written out would, and texts differing only in case are stored apart.
#include <gtest/gtest.h>

#include "support/test_folder.h"
#include "tools/show_frames.h"

namespace kiv::testing {
namespace {

class TextFramesTest : public TempFolderTest {
 protected:
  TextFramesTest() : TempFolderTest("kiv_text_frames_") {}

  // A show of slideCount one-second slides on dark grey; slide 3 holds texts (one line
  // each, in DejaVu Serif) and a main picture when one is named.
  static std::string TextShow(int slideCount, const std::vector<std::string>& texts, const std::string& picture = "") {
    std::vector<TColourSlide> slides(size_t(slideCount), TColourSlide{0x202020, {}, "", ""});
    std::string project = ColourShow(320, 240, 1000, slides);
    std::string objects;
    if (!picture.empty())
      objects += "object Photo: MainImage\n  ImageName=" + picture +
                 "\n  object K: keypoint\n    ScaleX=10\n    ScaleY=10\n  end\nend\n";
    for (size_t i = 0; i < texts.size(); ++i)
      objects += "object T" + std::to_string(i) + ": text\n  Text=\"" + texts[i] +
                 "\"\n  FontName=DejaVu Serif\n  TextAlign=Left\n  BlackBoxSize=600,40\n  object K: keypoint\n"
                 "    Position=0," + std::to_string(int(i) * 25 - 40) + "\n    ScaleX=45\n    ScaleY=45\n  end\nend\n";
    return project.insert(project.find("\n[Slide4]"), "\n" + objects);
  }

  // Packs project in its own folder and renders slide 3, with environment before the
  // render; answers the frame.
  std::shared_ptr<const TBitmap> Render(const std::string& name, const std::string& project,
                                        const std::string& packOptions = "", const std::string& environment = "") {
    const fs::path show = folder / name;
    fs::create_directories(show);
    for (const fs::path& file : {fs::path("photo.jpg")})
      if (fs::exists(folder / file)) fs::copy_file(folder / file, show / file, fs::copy_options::overwrite_existing);
    std::ofstream(show / "Project.kiv") << project;
    EXPECT_EQ(RunKivShowBinary(show, "pack Project.kiv --data -o show.KvShow " + packOptions, show / "pack.txt"), 0)
        << ReadAll(show / "pack.txt");
    EXPECT_EQ(RunKivShowBinary(show, "render show.KvShow -o frames --size 320x240 --at 2500", show / "render.txt",
                               environment),
              0)
        << ReadAll(show / "render.txt");
    return LoadFrame(show / "frames" / FrameName(2500));
  }

  // Runs with a font configuration that knows no font at all.
  std::string WithoutFonts() {
    const fs::path conf = folder / "no-fonts.conf";
    std::ofstream(conf) << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig><dir>"
                        << (folder / "no-fonts").string() << "</dir><cachedir>" << (folder / "font-cache").string()
                        << "</cachedir></fontconfig>\n";
    return "env FONTCONFIG_FILE='" + conf.string() + "'";
  }
};

TEST_F(TextFramesTest, PackedTextsDrawTheSameWithoutTheirFonts) {
  const std::string project = TextShow(4, {"Stored glyphs: Ωμέγα, Жук", "Second line"});
  const auto installed = Render("installed", project);
  const auto missing = Render("missing", project, "", WithoutFonts());
  ASSERT_TRUE(installed && missing);
  const auto bare = Render("bare", TextShow(4, {}));
  EXPECT_GT(DifferentPixels(*installed, *bare, 40), 500);  // the texts are there
  EXPECT_EQ(DifferentPixels(*installed, *missing, 0), 0);
  // Unstored, a machine without fonts shows the slide without its texts, and says nothing worse.
  const auto unstored = Render("unstored", project, "--no-text-cache", WithoutFonts());
  ASSERT_TRUE(unstored);
  EXPECT_EQ(DifferentPixels(*unstored, *bare, 0), 0);
}

TEST_F(TextFramesTest, MacrosDrawAsTheirValuesWrittenOut) {
  ASSERT_EQ(std::system(("cd '" + folder.string() +
                         "' && convert -size 640x480 xc:teal photo.jpg && exiftool -q -overwrite_original "
                         "-DateTimeOriginal='2010:05:01 12:30:00' -ImageDescription='Harbour at dawn' "
                         "-IPTC:City='Lisboa' photo.jpg")
                            .c_str()),
            0);
  const auto macros = Render("macros", TextShow(10, {"<%SlideIndex%>/<%SlidesCount%>",
                                                     "<%MainImg.Exif.Date%> <%MainImg.Exif.Time%>",
                                                     "<%MainImg.Exif.Description%>, <%MainImg.IPTC.City%>",
                                                     "<%MainImg.FileName%> <%MainImg.Width%>x<%MainImg.Height%>"},
                                             "photo.jpg"));
  const auto literal = Render("literal", TextShow(10, {"3/10", "2010:05:01 12:30:00", "Harbour at dawn, Lisboa",
                                                      "photo 640x480"},
                                              "photo.jpg"));
  ASSERT_TRUE(macros && literal);
  EXPECT_EQ(DifferentPixels(*macros, *literal, 0), 0);
}

TEST_F(TextFramesTest, TextsDifferingInCaseAreNotTakenForEachOther) {
  const fs::path show = folder / "case";
  fs::create_directories(show);
  std::ofstream(show / "Project.kiv") << TextShow(4, {"Hello", "HELLO"});
  ASSERT_EQ(RunKivShowBinary(show, "pack Project.kiv --data -o show.KvShow", show / "pack.txt"), 0);
  ASSERT_EQ(RunKivShowBinary(show, "info show.KvShow", show / "info.txt"), 0);
  std::string info = ReadAll(show / "info.txt");
  info.erase(std::remove_if(info.begin(), info.end(), [](char c) { return c == ' ' || c == '\n'; }), info.end());
  // The second cannot be stored beside the first (show entries ignore case): it is drawn
  // from the installed fonts, never from the first one's glyphs.
  EXPECT_NE(info.find("\"text\":\"Hello\",\"stored\":true"), std::string::npos) << info;
  EXPECT_NE(info.find("\"text\":\"HELLO\",\"stored\":false"), std::string::npos) << info;
}

}  // namespace
}  // namespace kiv::testing
