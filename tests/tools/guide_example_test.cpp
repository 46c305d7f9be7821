// The small show of docs/project-format.md, taken from the guide as a reader would copy
// it (its picture command and its project), packed and rendered: the frames show what
// the guide says they show.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/bytes.h"
#include "support/pixels.h"
#include "support/test_folder.h"
#include "tools/show_frames.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

// The fenced block that follows the line "<!-- marker -->" in the guide, without its fences.
std::string FencedBlockAfter(const std::string& guide, const std::string& marker) {
  const size_t at = guide.find("<!-- " + marker + " -->");
  if (at == std::string::npos) return "";
  const size_t open = guide.find("```", at);
  const size_t start = guide.find('\n', open) + 1;
  return guide.substr(start, guide.find("\n```", start) + 1 - start);
}

class GuideExampleTest : public TempFolderTest {};

TEST_F(GuideExampleTest, FramesShowWhatTheGuideDescribes) {
  const std::string guide = ReadAll(fs::path(KIV_SOURCE_DIR) / "docs" / "project-format.md");
  const std::string picture = FencedBlockAfter(guide, "example picture");
  const std::string project = FencedBlockAfter(guide, "example project");
  ASSERT_FALSE(picture.empty());
  ASSERT_NE(project.find("[Slide2]"), std::string::npos);
  ASSERT_EQ(std::system(("cd '" + folder.string() + "' && " + picture).c_str()), 0);

  const std::string failure = testing::PackAndRender(folder, project, "640x360", "2000,4500,6000");
  ASSERT_EQ(failure, "");
  const auto frame = [&](int time) { return testing::LoadFrame(folder / "render" / testing::FrameName(time)); };
  const auto sky = frame(2000), fade = frame(4500), card = frame(6000);
  ASSERT_TRUE(sky && fade && card);

  struct TPoint {
    int X, Y;
    uint32_t Sky, Fade, Card;  // 0xRRGGBB at 2000, 4500 and 6000 ms
  };
  // The sky, the sun in the middle, the dark band over the sky at the bottom.
  for (const TPoint& point : {TPoint{10, 10, 0x3070C0, 0x7C4C74, 0xC82828}, TPoint{320, 180, 0xF0D040, 0xDC7C34, 0xC82828},
                              TPoint{20, 330, 0x183860, 0x703044, 0xC82828}}) {
    SCOPED_TRACE(std::to_string(point.X) + "," + std::to_string(point.Y));
    EXPECT_TRUE(ColoursNear(PixelAt(*sky, point.X, point.Y), point.Sky, 6));
    EXPECT_TRUE(ColoursNear(PixelAt(*fade, point.X, point.Y), point.Fade, 6));
    EXPECT_TRUE(ColoursNear(PixelAt(*card, point.X, point.Y), point.Card, 6));
  }
}

}  // namespace
}  // namespace kiv
