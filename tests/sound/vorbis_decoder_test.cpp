// Ogg Vorbis made by oggenc and the sound-theme files of the system, decoded against
// oggdec's own decode.
#include <gtest/gtest.h>

#include "sound_test_support.h"

namespace kiv::test {
namespace {

class VorbisDecoderTest : public SoundFolderTest {
 protected:
  std::vector<uint8_t> Reference(const fs::path& path) {
    return CommandOutput("oggdec -Q -R -b 16 -e 0 -s 1 -o - '" + path.string() + "'");
  }
};

TEST_F(VorbisDecoderTest, DecodesAsOggdecDoes) {
  for (const auto& [rate, channels] : {std::pair{44100, 2}, {22050, 1}, {48000, 2}}) {
    const std::string name = "v" + std::to_string(rate) + "_" + std::to_string(channels);
    SCOPED_TRACE(name);
    ASSERT_TRUE(Ran("sox -D -n -r " + std::to_string(rate) + " -c " + std::to_string(channels) + " -b 16 " +
                    In(name + ".wav") + " synth 1.5 sine 440 sine 3000 gain -3"));
    ASSERT_TRUE(Ran("oggenc -Q -q 3 " + In(name + ".wav") + " -o " + In(name + ".ogg")));
    TOpened sound = OpenSound(File(name + ".ogg").string());
    ASSERT_TRUE(sound.Converter);
    EXPECT_EQ(sound.Media->Type, TMediaType::OggVorbis);
    EXPECT_EQ(sound.Media->Duration, 1500u);
    EXPECT_EQ(sound.Converter->OutputFormat(), PcmFormat(uint32_t(rate), uint16_t(channels), 16));
    EXPECT_TRUE(SamplesMatch(Samples16(ReadToEnd(*sound.Converter)), Samples16(Reference(File(name + ".ogg")))));
  }
}

TEST_F(VorbisDecoderTest, SeeksToTheMillisecond) {
  ASSERT_TRUE(Ran("sox -D -n -r 44100 -c 2 -b 16 " + In("s.wav") + " synth 2 sine 440 sine 3000 gain -3"));
  ASSERT_TRUE(Ran("oggenc -Q " + In("s.wav") + " -o " + In("s.ogg")));
  const std::vector<int16_t> whole = Samples16(Reference(File("s.ogg")));
  TOpened sound = OpenSound(File("s.ogg").string());
  ASSERT_TRUE(sound.Converter);
  for (double ms : {1234.0, 10.0, 777.7, 0.0}) {
    SCOPED_TRACE(ms);
    sound.Converter->Seek(ms);
    const size_t frame = size_t(std::llround(ms * 44.1));
    EXPECT_NEAR(sound.Converter->Position(), frame / 44.1, 1e-6);
    ASSERT_TRUE(sound.Converter->Read(4000));
    const uint8_t* got = sound.Converter->Output().Data();
    EXPECT_TRUE(SamplesMatch(Samples16({got, got + 4000}),
                             {whole.begin() + ptrdiff_t(frame * 2), whole.begin() + ptrdiff_t(frame * 2 + 2000)}));
  }
}

// The sound-theme files, made elsewhere, whatever their rate and channels.
TEST_F(VorbisDecoderTest, InstalledThemeSounds) {
  int checked = 0;
  for (const auto& entry : fs::directory_iterator("/usr/share/sounds/freedesktop/stereo")) {
    if (entry.path().extension() != ".oga") continue;
    SCOPED_TRACE(entry.path().string());
    TOpened sound = OpenSound(entry.path().string());
    ASSERT_TRUE(sound.Converter);
    const std::vector<int16_t> decoded = Samples16(ReadToEnd(*sound.Converter));
    EXPECT_TRUE(SamplesMatch(decoded, Samples16(Reference(entry.path()))));
    const TWaveFormat& format = sound.Converter->OutputFormat();
    EXPECT_NEAR(sound.Media->Duration, decoded.size() * 1000.0 / format.Channels / format.Rate, 0.5);
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace kiv::test
