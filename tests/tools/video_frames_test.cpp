// kivshow render on shows of video clips whose pictures carry their frame numbers: the
// frame drawn at show time t is round(t × rate ÷ 1000) of the clip, for every codec and
// container the player meets, at NTSC rates too, and a clip of the registry shown on two
// slides runs on across them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
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

TEST_F(VideoShowTest, AVideoThatIsAPictureShowsAsAStillAndAMissingOneShowsNothing) {
  ASSERT_EQ(std::system(("convert -size " + kSize + " xc:red '" + (folder / "still.png").string() + "'").c_str()), 0);
  const std::string slides[] = {"object Still: Video\n  FileName=still.png\nend\n",
                                "object Gone: Video\n  FileName=gone.avi\nend\n"};
  std::ofstream(folder / "Project.kiv") << VideoShow(1000, {slides[0], slides[1]});
  // The pack says the clip is missing and packs the rest.
  RunKivShowBinary(folder, "pack Project.kiv --data -o show.KvShow", folder / "pack.txt");
  ASSERT_EQ(RunKivShowBinary(folder, "render show.KvShow -o render --size " + kSize + " --at 500,1500", folder / "render.txt"),
            0)
      << ReadAll(folder / "render.txt");
  const auto still = LoadFrame(folder / "render" / FrameName(500));
  const auto gone = LoadFrame(folder / "render" / FrameName(1500));
  ASSERT_TRUE(still && gone);
  EXPECT_GT(still->Row(32)[3 * 80 + 2], 200);  // red
  EXPECT_LT(still->Row(32)[3 * 80 + 1], 50);
  EXPECT_LT(gone->Row(32)[3 * 80 + 2], 50);  // the slide's own black
}

TEST_F(VideoShowTest, ExportedClipIsHeardInStepWithItsPictures) {
  // The clip is silent for its first second, then sounds: its sound starts with frame 25.
  ASSERT_EQ(std::system(("cd '" + folder.string() +
                         "' && ffmpeg -v error -y -f lavfi -i 'color=c=black:s=" + kSize +
                         ":r=25:d=3' -f lavfi -i 'sine=frequency=440:sample_rate=44100:d=3' -vf \"geq=lum='if(bitand(N\\,"
                         "pow(2\\,floor(X/16)))\\,235\\,16)':cb=128:cr=128\" -af \"volume=0:enable='lt(t,1)'\" "
                         "-c:v libx264 -pix_fmt yuv420p -c:a aac clip.mp4 >/dev/null 2>&1")
                            .c_str()),
            0);
  std::ofstream(folder / "Project.kiv")
      << VideoShow(4000, {"object Clip: Video\n  FileName=clip.mp4\n  StartKIVTime=500\nend\n"}, "object Music: Music\nend\n");
  ASSERT_EQ(RunKivShowBinary(folder, "pack Project.kiv --data -o show.KvShow", folder / "pack.txt"), 0);
  ASSERT_EQ(RunKivShowBinary(folder, "export show.KvShow -o out.mp4", folder / "export.txt"), 0)
      << ReadAll(folder / "export.txt");
  const std::string decode = "cd '" + folder.string() +
                             "' && ffmpeg -v error -y -i out.mp4 -map 0:a -f s16le -ac 1 -ar 44100 sound.raw -map 0:v "
                             "-f rawvideo -pix_fmt gray frames.raw";
  ASSERT_EQ(std::system(decode.c_str()), 0);
  const std::string sound = ReadAll(folder / "sound.raw"), frames = ReadAll(folder / "frames.raw");
  int64_t onset = -1;
  for (size_t i = 0; 2 * i + 1 < sound.size() && onset < 0; ++i) {
    int16_t sample;
    std::memcpy(&sample, sound.data() + 2 * i, 2);
    if (std::abs(sample) > 1000) onset = int64_t(i);
  }
  ASSERT_GE(onset, 0) << "the clip's sound is missing";
  EXPECT_NEAR(double(onset) / 44.1, 1500, 40);
  // The exported picture at the onset is the clip's frame 25.
  const size_t frameBytes = size_t(kClipWidth * kClipHeight), at = size_t(onset * 25 / 44100);
  ASSERT_LE((at + 1) * frameBytes, frames.size());
  const int shown = test::ReadFrameNumber(
      [&](int x, int y) { return int(uint8_t(frames[at * frameBytes + size_t(y * kClipWidth + x)])); });
  EXPECT_NEAR(shown, 25, 1);
}

}  // namespace
}  // namespace kiv
