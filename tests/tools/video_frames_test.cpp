// kivshow render on shows of video clips whose pictures carry their frame numbers: the
// frame drawn at show time t is round(t × rate ÷ 1000) of the clip, for every codec and
// container the player meets, at NTSC rates too, and a clip of the registry shown on two
// slides runs on across them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/numbered_clip.h"
#include "support/test_folder.h"
#include "tools/show_frames.h"

namespace kiv {
namespace {

using namespace kiv::testing;
using test::kClipHeight;
using test::kClipWidth;

const std::string kSize = std::to_string(kClipWidth) + "x" + std::to_string(kClipHeight);

// A show of the clip's size; slides of slideMs, each holding the objects given.
std::string VideoShow(int slideMs, const std::vector<std::string>& slides, const std::string& mainExtra = "") {
  std::string text = "[main]\nopt_scr_width=" + std::to_string(kClipWidth) +
                     "\nopt_scr_height=" + std::to_string(kClipHeight) +
                     "\nopt_repeat=close\nopt_slidescount=" + std::to_string(slides.size()) + "\n";
  for (size_t i = 1; i <= slides.size(); ++i)
    text += "opt_synchpos" + std::to_string(i) + "=" + std::to_string(int(i) * slideMs) + "\n";
  text += mainExtra;
  for (size_t i = 0; i < slides.size(); ++i)
    text += "\n[Slide" + std::to_string(i + 1) + "]\nUsePersonal=1\nPers_Effect=0\n" + slides[i];
  return text;
}

int FrameNumberAt(const fs::path& folder, int time) {
  auto frame = LoadFrame(folder / "render" / FrameName(time));
  if (!frame) return -1;
  return test::ReadFrameNumber([&](int x, int y) { return int(frame->Row(y)[3 * x + 1]); });
}

struct TRenderCase {
  const char* File;
  test::TClipRecipe Recipe;
  double Rate;
  int Frames;
};

class VideoFramesTest : public TempFolderTest, public ::testing::WithParamInterface<TRenderCase> {};

TEST_P(VideoFramesTest, FrameAtShowTimeIsRoundedTimeTimesRate) {
  const TRenderCase& clip = GetParam();
  ASSERT_TRUE(test::MakeNumberedClip(folder / clip.File, clip.Recipe));
  const std::vector<int> times = {0, 19, 21, 1000, 1034, 520, 33, 1960, 2900};
  ASSERT_EQ(PackAndRender(folder,
                          VideoShow(3000, {"object Clip: Video\n  FileName=" + std::string(clip.File) + "\nend\n"}),
                          kSize, TimeList(times)),
            "");
  for (int time : times) {
    const int expected = std::min(int(std::lround(time * clip.Rate / 1000)), clip.Frames - 1);
    EXPECT_EQ(FrameNumberAt(folder, time), expected) << "at " << time << " ms";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Clips, VideoFramesTest,
    ::testing::Values(TRenderCase{"mpeg4.avi", {.Encoder = "mpeg4", .Sound = true}, 25, 50},
                      TRenderCase{"h264.mp4", {}, 25, 50}, TRenderCase{"mjpeg.mkv", {.Encoder = "mjpeg"}, 25, 50},
                      TRenderCase{"ntsc.mp4", {.Rate = "30000/1001"}, 30000.0 / 1001, 60},
                      TRenderCase{"fields.mkv", {.Interlaced = true}, 25, 50}),
    [](const auto& info) { return std::string(info.param.File).substr(0, std::string(info.param.File).find('.')); });

using VideoShowTest = TempFolderTest;

TEST_F(VideoShowTest, ClipOfTheRegistryRunsOnAcrossSlidesAndAClipOfItsOwnStartsWithItsSlide) {
  ASSERT_TRUE(test::MakeNumberedClip(folder / "clip.mp4", {.Seconds = 4}));
  const std::string registry =
      "object Videos: VideoBoss\n  object One: videoclip\n    ClipGUID={C1}\n    FileName=clip.mp4\n  end\nend\n";
  const std::string clip = "object Clip: Video\n  ClipGUID={c1}\nend\n";
  const std::string own = "object Own: Video\n  FileName=clip.mp4\n  StartKIVTime=400\nend\n";
  ASSERT_EQ(PackAndRender(folder, VideoShow(1000, {clip, clip, own}, registry), kSize, "500,1500,1960,2200,2600"), "");
  EXPECT_EQ(FrameNumberAt(folder, 500), 13);
  EXPECT_EQ(FrameNumberAt(folder, 1500), 38);  // not 13: the clip did not start again
  EXPECT_EQ(FrameNumberAt(folder, 1960), 49);
  EXPECT_EQ(FrameNumberAt(folder, 2200), 0);  // before its start time the clip's first frame shows
  EXPECT_EQ(FrameNumberAt(folder, 2600), 5);
}

}  // namespace
}  // namespace kiv
