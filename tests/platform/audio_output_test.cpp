#include "platform/audio_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/virtual_audio_output.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

TEST(VirtualAudioOutput, PullsOnlyWhenRenderedAndCountsEveryFrame) {
  TVirtualAudioOutput output;
  output.Render(10);  // not started: silence, still played
  int16_t next = 1;
  ASSERT_TRUE(output.Start([&](int16_t* frames, size_t count) {
    for (size_t i = 0; i < count * 2; ++i) frames[i] = next++;
  }));
  output.Render(3);
  output.Stop();
  output.Render(2);
  EXPECT_EQ(output.FramesPlayed(), 15u);
  const auto samples = output.Samples();
  ASSERT_EQ(samples.size(), 30u);
  EXPECT_EQ(samples[19], 0);
  EXPECT_EQ(samples[20], 1);
  EXPECT_EQ(samples[25], 6);
  EXPECT_EQ(samples[26], 0);  // stopped: nothing pulled
}

class VirtualAudioOutputFile : public TempFolderTest {};

TEST_F(VirtualAudioOutputFile, WritesAWavFileWhoseHeaderCountsTheData) {
  const auto path = folder / "mix.wav";
  {
    TVirtualAudioOutput output(false, path);
    output.Start([](int16_t* frames, size_t count) {
      for (size_t i = 0; i < count * 2; ++i) frames[i] = int16_t(i);
    });
    output.Render(100);
    output.Render(50);
    EXPECT_TRUE(output.Samples().empty());
  }
  std::ifstream file(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
  ASSERT_EQ(bytes.size(), 44u + 150 * 4);
  auto le32 = [&](size_t at) { return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24; };
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
  EXPECT_EQ(le32(4), 36 + 600);
  EXPECT_EQ(le32(24), 44100);
  EXPECT_EQ(le32(40), 600);
  EXPECT_EQ(bytes[44 + 400 + 2], 1);  // the second frame of the second render: sample 1
}

TEST(AudioOutput, UnknownBackEndsAndTheDummyDriverGiveNoOutput) {
  std::string reason;
  EXPECT_EQ(OpenAudioOutput("none-such", &reason), nullptr);
  EXPECT_NE(reason.find("none-such"), std::string::npos);

  const char* before = std::getenv("SDL_AUDIODRIVER");
  const std::string saved = before ? before : "";
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  reason.clear();
  EXPECT_EQ(OpenAudioOutput("sdl", &reason), nullptr);
  EXPECT_FALSE(reason.empty());
  if (before) setenv("SDL_AUDIODRIVER", saved.c_str(), 1); else unsetenv("SDL_AUDIODRIVER");
}

TEST(AudioOutput, BackEndsAreRegisteredSideBySide) {
  RegisterAudioOutput("test-silence", [](std::string&) -> std::unique_ptr<IAudioOutput> {
    return std::make_unique<TVirtualAudioOutput>(false);
  });
  const auto names = AudioOutputNames();
  for (const char* name : {"sdl", "virtual", "test-silence"}) {
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
  }
  auto output = OpenAudioOutput("test-silence");
  ASSERT_NE(output, nullptr);
  EXPECT_EQ(output->Describe(), "virtual");
}

}  // namespace
}  // namespace kiv
