// Slide changes played end to end by kivshow render, on shows of coloured slides packed
// by kivshow pack.
#include <gtest/gtest.h>
#include <unistd.h>

#include <utility>

#include "tools/show_frames.h"

namespace kiv {
namespace {

using namespace testing;

// Cards sample their slide up to its edge: at odd sizes, and with the pictures drawn from
// reduced detail levels, the overturn, the two slides and the roll show only the red and
// blue of their slides over the black around them, never the grey the slide pictures are
// cleared to.
TEST(CardEdges, TurnedSwappedAndRolledSlidesShowOnlyTheirOwnColours) {
  const fs::path folder = fs::temp_directory_path() / ("kiv_card_edges_" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  ASSERT_EQ(std::system(("cd '" + folder.string() + "' && convert -size 1000x600 xc:'#FF0000' red.png && " +
                         "convert -size 1000x600 xc:'#0000FF' blue.png")
                            .c_str()),
            0);
  const std::pair<int, int> changes[] = {{16, 1}, {16, 4}, {17, 1}, {17, 3}, {14, 2}, {15, 1}, {15, 3}};
  std::vector<TColourSlide> slides{{0, {}, "red.png", ""}};
  std::vector<int> times;
  for (const auto& [effectClass, effectType] : changes) {
    const int start = int(slides.size()) * 1000;
    times.insert(times.end(), {start + 125, start + 375});  // a quarter and three quarters through
    slides.push_back({0, {}, slides.size() % 2 ? "blue.png" : "red.png",
                      ChangeKeys(effectClass, effectType, 500, "EffectRollDiameter=150\nEffectRoll3D=1\n")});
  }
  const std::string project = ColourShow(1000, 600, 1000, slides);
  for (const std::string size : {"333x199", "167x101"}) {
    ASSERT_EQ(PackAndRender(folder, project, size, TimeList(times), size), "");
    for (int time : times) {
      const std::shared_ptr<const TBitmap> frame = LoadFrame(folder / size / FrameName(time));
      ASSERT_TRUE(frame) << time;
      int foreign = 0;
      for (int y = 0; y < frame->Height(); ++y)
        for (int x = 0; x < frame->Width(); ++x) foreign += (RgbAt(*frame, x, y) >> 8 & 0xFF) > 8;
      EXPECT_EQ(foreign, 0) << "grey at the card edges at " << time << " ms, " << size;
    }
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace kiv
