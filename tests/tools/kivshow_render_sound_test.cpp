// kivshow render --wav: a packed show whose second slide carries a tone made by sox as
// its sound, rendered at 25 frames per second; the WAV written beside the frames holds
// the tone from the slide's start, within one frame, for the tone's length.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/bytes.h"
#include "support/test_folder.h"
#include "tools/show_frames.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;
using testing::RunKivShowBinary;

constexpr int kFrameMs = 40;  // 25 frames per second
constexpr int kSlideMs = 2000;
constexpr int kToneMs = 1000;

class RenderSoundTest : public TempFolderTest {
 protected:
  RenderSoundTest() : TempFolderTest("kiv_render_wav_") {}
};

uint32_t Le(const std::string& bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | uint8_t(bytes[at + size_t(i)]);
  return value;
}

// The first frame from from whose left sample is louder than level, or -1.
int64_t LoudFrom(const std::vector<int16_t>& samples, size_t from, int level) {
  for (size_t frame = from; 2 * frame < samples.size(); ++frame)
    if (std::abs(samples[2 * frame]) > level) return int64_t(frame);
  return -1;
}

TEST_F(RenderSoundTest, TheSlidesToneStartsInTheWavWithItsSlide) {
  ASSERT_EQ(std::system(("cd '" + folder.string() +
                         "' && sox -n -r 44100 -c 2 -b 16 tone.wav synth 1.0 sine 440 vol 0.5 >/dev/null 2>&1")
                            .c_str()),
            0)
      << "sox made no tone";
  std::string project = testing::ColourShow(
      64, 48, kSlideMs,
      {{0x2040A0, {}, "", ""},
       {0xA04020, {}, "", testing::ChangeKeys(0, 0, 0, "Sound=tone.wav\nSoundLength=1000\n")},
       {0x20A040, {}, "", ""}});
  project.replace(project.find("[main]\n"), 7, "[main]\nopt_usemusic=1\n");
  std::ofstream(folder / "Project.kiv") << project;
  ASSERT_EQ(RunKivShowBinary(folder, "pack Project.kiv --data -o show.KvShow", folder / "pack.txt"), 0)
      << ReadAll(folder / "pack.txt");
  fs::remove(folder / "tone.wav");  // the sound can only come from the packed show
  ASSERT_EQ(RunKivShowBinary(folder, "render show.KvShow -o frames --size 64x48 --fps 25 --to 4000 --wav frames/show.wav",
                             folder / "render.txt"),
            0)
      << ReadAll(folder / "render.txt");

  const std::string wav = ReadAll(folder / "frames" / "show.wav");
  ASSERT_GE(wav.size(), 44u);
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(Le(wav, 22, 2), 2u);
  EXPECT_EQ(Le(wav, 24, 4), 44100u);
  EXPECT_EQ(Le(wav, 34, 2), 16u);
  ASSERT_EQ(Le(wav, 40, 4), wav.size() - 44);
  std::vector<int16_t> samples((wav.size() - 44) / 2);
  std::memcpy(samples.data(), wav.data() + 44, samples.size() * 2);
  EXPECT_NEAR(double(samples.size() / 2) / 44.1, 4000, kFrameMs) << "the WAV spans the rendered times";

  const int64_t onset = LoudFrom(samples, 0, 1000);
  ASSERT_GE(onset, 0) << "the tone is not in the WAV";
  EXPECT_NEAR(double(onset) / 44.1, kSlideMs, kFrameMs);
  // It lasts its length and no longer.
  const int64_t lastLoud = [&] {
    int64_t last = -1;
    for (size_t frame = 0; 2 * frame < samples.size(); ++frame)
      if (std::abs(samples[2 * frame]) > 1000) last = int64_t(frame);
    return last;
  }();
  EXPECT_NEAR(double(lastLoud - onset) / 44.1, kToneMs, kFrameMs);
}

}  // namespace
}  // namespace kiv
