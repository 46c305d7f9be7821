// The show's sound as kivshow writes it: a packed show whose slides each start a tone of
// their own made by sox. kivshow render --wav writes the WAV beside the frames; kivshow
// export puts the sound in the video file, read back here with ffmpeg. Either way each
// tone sounds from its slide's start, within one frame, for the tone's length, and in
// the export it starts with the frame where the slide's colour appears.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
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

// Zero crossings of the left channel per second over ms from frame at.
double Pitch(const std::vector<int16_t>& samples, int64_t at, int ms) {
  int crossings = 0;
  const int64_t end = std::min<int64_t>(at + ms * 44100 / 1000, int64_t(samples.size() / 2));
  for (int64_t frame = at + 1; frame < end; ++frame)
    crossings += (samples[size_t(2 * frame - 2)] < 0) != (samples[size_t(2 * frame)] < 0);
  return crossings / 2.0 * 1000 / ms;
}

// Tones of 440 and 880 Hz for the slides to start (1 s each), made by sox.
void MakeTones(const fs::path& folder) {
  for (const char* tone : {"a 440", "b 880"}) {
    const std::string name = std::string(tone).substr(0, 1), pitch = std::string(tone).substr(2);
    ASSERT_EQ(std::system(("cd '" + folder.string() + "' && sox -n -r 44100 -c 2 -b 16 " + name +
                           ".wav synth 1.0 sine " + pitch + " vol 0.5 >/dev/null 2>&1")
                              .c_str()),
              0)
        << "sox made no tone";
  }
}

testing::TColourSlide ToneSlide(uint32_t colour, const char* tone) {
  return {colour, {}, "", testing::ChangeKeys(0, 0, 0, "Sound=" + std::string(tone) + "\nSoundLength=1000\n")};
}

// The show is packed without the tones beside it, so the sound can only come from it.
void PackShowWithTones(const fs::path& folder, int slideMs, const std::vector<testing::TColourSlide>& slides) {
  MakeTones(folder);
  std::string project = testing::ColourShow(64, 48, slideMs, slides);
  project.replace(project.find("[main]\n"), 7, "[main]\nopt_usemusic=1\n");
  std::ofstream(folder / "Project.kiv") << project;
  ASSERT_EQ(RunKivShowBinary(folder, "pack Project.kiv --data -o show.KvShow", folder / "pack.txt"), 0)
      << ReadAll(folder / "pack.txt");
  fs::remove(folder / "a.wav");
  fs::remove(folder / "b.wav");
}

// Slides 2 and 3 start tones of 440 and 880 Hz.
void PackShowWithTones(const fs::path& folder) {
  PackShowWithTones(folder, kSlideMs,
                    {{0x2040A0, {}, "", ""}, ToneSlide(0xA04020, "a.wav"), ToneSlide(0x20A040, "b.wav")});
}

// An exported file read back with ffmpeg: its sound, and its frames as RGB pictures of
// width × height.
struct TDecodedExport {
  std::vector<int16_t> Samples;
  std::string Frames;
  int Width = 0, Height = 0;

  // The first frame from frame on whose centre shows colour, or the frame count.
  size_t FirstFrameShowing(size_t frame, uint32_t colour) const {
    const size_t frameBytes = size_t(Width * Height * 3), centre = size_t((Height / 2 * Width + Width / 2) * 3);
    for (; (frame + 1) * frameBytes <= Frames.size(); ++frame) {
      int distance = 0;
      for (int channel = 0; channel < 3; ++channel)
        distance += std::abs(int(uint8_t(Frames[frame * frameBytes + centre + size_t(channel)])) -
                             int(colour >> (16 - 8 * channel) & 0xFF));
      if (distance <= 48) return frame;
    }
    return frame;
  }
};

TDecodedExport DecodeExport(const fs::path& folder, const std::string& file, int width, int height) {
  TDecodedExport decoded{{}, {}, width, height};
  const std::string command = "ffmpeg -v error -y -i '" + (folder / file).string() +
                              "' -map 0:a -f s16le -ac 2 -ar 44100 '" + (folder / "sound.raw").string() +
                              "' -map 0:v -s " + std::to_string(width) + "x" + std::to_string(height) +
                              " -f rawvideo -pix_fmt rgb24 '" + (folder / "frames.raw").string() + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  const std::string raw = ReadAll(folder / "sound.raw");
  decoded.Samples.resize(raw.size() / 2);
  std::memcpy(decoded.Samples.data(), raw.data(), decoded.Samples.size() * 2);
  decoded.Frames = ReadAll(folder / "frames.raw");
  return decoded;
}

// Each tone from its slide's start for its length, at its own pitch.
void ExpectTonesWithTheirSlides(const std::vector<int16_t>& samples) {
  int64_t from = 0;
  for (const auto& [slideStart, pitch] : {std::pair{kSlideMs, 440.0}, std::pair{2 * kSlideMs, 880.0}}) {
    const int64_t onset = LoudFrom(samples, size_t(from), 1000);
    ASSERT_GE(onset, 0) << "the tone of the slide at " << slideStart << " ms is missing";
    EXPECT_NEAR(double(onset) / 44.1, slideStart, kFrameMs);
    EXPECT_NEAR(Pitch(samples, onset + 4410, 500), pitch, 10);
    int64_t last = onset;
    for (int64_t frame = onset; 2 * frame < int64_t(samples.size()) && frame < onset + 44100 * 3 / 2; ++frame)
      if (std::abs(samples[size_t(2 * frame)]) > 1000) last = frame;
    EXPECT_NEAR(double(last - onset) / 44.1, kToneMs, kFrameMs);
    from = last + 1;
  }
}

TEST_F(RenderSoundTest, TheSlidesToneStartsInTheWavWithItsSlide) {
  PackShowWithTones(folder);
  ASSERT_EQ(RunKivShowBinary(folder, "render show.KvShow -o frames --size 64x48 --fps 25 --to 6000 --wav frames/show.wav",
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
  EXPECT_NEAR(double(samples.size() / 2) / 44.1, 6000, kFrameMs) << "the WAV spans the rendered times";
  ExpectTonesWithTheirSlides(samples);
}

TEST_F(RenderSoundTest, TheExportedFileSoundsEachToneWithTheFrameItsSlideAppearsIn) {
  PackShowWithTones(folder);
  ASSERT_EQ(RunKivShowBinary(folder, "export show.KvShow -o show.mp4 --size 64x48 --fps 25 --to 6000",
                             folder / "export.txt"),
            0)
      << ReadAll(folder / "export.txt");
  const TDecodedExport decoded = DecodeExport(folder, "show.mp4", 64, 48);
  // The encoder's priming is cut by the container's edit list: the sound starts at 0.
  EXPECT_NEAR(double(decoded.Samples.size() / 2) / 44.1, 6000, 2 * kFrameMs);
  ExpectTonesWithTheirSlides(decoded.Samples);

  // Where each slide's colour first fills the picture's centre.
  for (const auto& [slideStart, colour] : {std::pair{kSlideMs, 0xA04020u}, std::pair{2 * kSlideMs, 0x20A040u}}) {
    const size_t frame = decoded.FirstFrameShowing(size_t(slideStart / kFrameMs) - 5, colour);
    EXPECT_NEAR(double(frame * kFrameMs), slideStart, kFrameMs) << "the slide at " << slideStart << " ms";
  }
}

// Long: a show of ten minutes, slides of 20 s in turn blue with the low tone and orange
// with the high one, exported small. At its start, middle and last minute each tone
// sets in within one frame of the frame where its slide's colour appears: picture and
// sound do not drift apart.
TEST_F(RenderSoundTest, LongExportOfTenMinutesKeepsEveryToneWithItsSlide) {
  constexpr int kLongSlideMs = 20000, kSlides = 30, kFps = 10, kLongFrameMs = 1000 / kFps;
  constexpr uint32_t kColours[] = {0x2040A0, 0xA04020};
  std::vector<testing::TColourSlide> slides;
  for (int i = 0; i < kSlides; ++i) slides.push_back(ToneSlide(kColours[i % 2], i % 2 ? "b.wav" : "a.wav"));
  PackShowWithTones(folder, kLongSlideMs, slides);
  ASSERT_EQ(RunKivShowBinary(folder, "export show.KvShow -o show.mp4 --size 160x90 --fps " + std::to_string(kFps),
                             folder / "export.txt"),
            0)
      << ReadAll(folder / "export.txt");
  const TDecodedExport decoded = DecodeExport(folder, "show.mp4", 16, 9);
  EXPECT_NEAR(double(decoded.Samples.size() / 2) / 44.1, kSlides * kLongSlideMs, 2 * kLongFrameMs);

  for (const int slide : {1, 2, 15, 16, 28, 29}) {
    const int start = slide * kLongSlideMs;
    const int64_t onset = LoudFrom(decoded.Samples, size_t(int64_t(start - 1000) * 441 / 10), 1000);
    const size_t frame = decoded.FirstFrameShowing(size_t((start - 1000) / kLongFrameMs), kColours[slide % 2]);
    ASSERT_GE(onset, 0) << "no tone with the slide at " << start << " ms";
    EXPECT_NEAR(double(onset) / 44.1, double(frame * kLongFrameMs), kLongFrameMs) << "the slide at " << start << " ms";
    EXPECT_NEAR(double(frame * kLongFrameMs), start, kLongFrameMs) << "the slide at " << start << " ms";
  }
}

}  // namespace
}  // namespace kiv
