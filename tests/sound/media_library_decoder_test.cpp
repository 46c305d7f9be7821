// WMA and the sound of a video file, made by ffmpeg, decoded against ffmpeg's own
// decode after the same conversion to the mix format.
#include <gtest/gtest.h>

#include "sound/pcm_resampler.h"
#include "sound_test_support.h"

namespace kiv::test {
namespace {

class MediaLibraryDecoderTest : public SoundFolderTest {
 protected:
  // ffmpeg's 16-bit decode of audio stream number of the file, at its own rate and
  // channels, converted to the mix format as the player converts unless toMix is false.
  std::vector<int16_t> Reference(const std::string& name, int number, uint32_t rate, uint16_t channels,
                                 bool toMix = true) {
    const std::vector<uint8_t> own =
        CommandOutput("ffmpeg -v quiet -i " + In(name) + " -map 0:a:" + std::to_string(number) + " -f s16le -");
    if (!toMix || (rate == 44100 && channels == 2)) return Samples16(own);
    TPcmResampler resampler;
    EXPECT_TRUE(resampler.Setup(PcmFormat(rate, channels, 16), MixFormat()));
    TLocalBuffer mixed;
    resampler.Convert(own.data(), own.size(), mixed);
    return Samples16({mixed.Data(), mixed.Data() + mixed.Size()});
  }
};

TEST_F(MediaLibraryDecoderTest, WmaDecodesAsFfmpegDoes) {
  ASSERT_TRUE(Ran("ffmpeg -v quiet -f lavfi -i sine=frequency=440:duration=1.5 -f lavfi -i sine=frequency=1200:duration=1.5 "
                  "-filter_complex amerge -c:a wmav2 -b:a 128k " + In("a.wma")));
  TOpened sound = OpenSound(File("a.wma").string());
  ASSERT_TRUE(sound.Converter);
  EXPECT_EQ(sound.Media->Type, TMediaType::Wma);
  EXPECT_NEAR(sound.Media->Duration, 1500, 50);
  EXPECT_EQ(sound.Converter->OutputFormat(), MixFormat());
  const std::vector<int16_t> expected = Reference("a.wma", 0, 44100, 2);
  EXPECT_TRUE(SamplesMatch(Samples16(ReadToEnd(*sound.Converter)), expected));
}

// Seeking lands on the sample, in the WMA file (whose decoder holds back its first
// frames and whose timestamps count milliseconds) and in the film's second audio stream,
// at times before and after the first half second and inside and between frames. The
// sounds are read in their own format so that the comparison is exact, but for the
// layer II decoder's float synthesis, which may round a sample the other way after a
// jump (a sample's shift moves the 880 Hz tone by hundreds of steps).
TEST_F(MediaLibraryDecoderTest, SeeksToTheSample) {
  ASSERT_TRUE(Ran("ffmpeg -v quiet -f lavfi -i sine=frequency=440:duration=2.5 -f lavfi -i sine=frequency=1200:duration=2.5 "
                  "-filter_complex amerge -c:a wmav2 -b:a 128k " + In("a.wma")));
  ASSERT_TRUE(Ran("ffmpeg -v quiet -f lavfi -i testsrc=size=64x48:rate=10:duration=2.5 "
                  "-f lavfi -i sine=frequency=440:duration=2.5:sample_rate=44100 "
                  "-f lavfi -i sine=frequency=880:duration=2.5:sample_rate=48000 "
                  "-map 0 -map 1 -map 2 -c:v mpeg4 -c:a:0 mp2 -c:a:1 mp2 -ac:a:1 2 " + In("film.mkv")));
  const struct {
    const char* Name;
    int Number;
    uint32_t Rate;
    int Tolerance;
  } cases[] = {{"a.wma", 0, 44100, 0}, {"film.mkv?1", 1, 48000, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string file = std::string(c.Name).substr(0, std::string(c.Name).find('?'));
    const TWaveFormat own = PcmFormat(c.Rate, 2, 16);
    TOpened sound = OpenSound(File(c.Name).string(), &own);
    ASSERT_TRUE(sound.Converter);
    const std::vector<int16_t> expected = Reference(file, c.Number, c.Rate, 2, false);
    for (double ms : {700.0, 123.4, 1999.99, 0.0, 1046.0, 30.0}) {
      sound.Converter->Seek(ms);
      const size_t frame = size_t(std::llround(ms * c.Rate / 1000));
      EXPECT_NEAR(sound.Converter->Position(), double(frame) * 1000 / c.Rate, 1e-6) << ms;
      ASSERT_TRUE(sound.Converter->Read(4000));
      const uint8_t* got = sound.Converter->Output().Data();
      ASSERT_LE(frame * 2 + 2000, expected.size());
      EXPECT_TRUE(SamplesMatch(Samples16({got, got + 4000}),
                               {expected.begin() + ptrdiff_t(frame * 2), expected.begin() + ptrdiff_t(frame * 2 + 2000)},
                               c.Tolerance))
          << ms;
      sound.Converter->Output().Clear();
    }
    // Past the end there is nothing left to play.
    sound.Converter->Seek(60000);
    EXPECT_FALSE(sound.Converter->Read(4000));
  }
}

// "film.mkv?N" plays the Nth audio stream of the film: a 44.1 kHz mono one and a 48 kHz
// stereo one, both delivered in the mix format.
TEST_F(MediaLibraryDecoderTest, VideoAudioStreamByNumber) {
  ASSERT_TRUE(Ran("ffmpeg -v quiet -f lavfi -i testsrc=size=64x48:rate=10:duration=1 "
                  "-f lavfi -i sine=frequency=440:duration=1:sample_rate=44100 "
                  "-f lavfi -i sine=frequency=880:duration=1:sample_rate=48000 "
                  "-map 0 -map 1 -map 2 -c:v mpeg4 -c:a:0 mp2 -c:a:1 mp2 -ac:a:1 2 " + In("film.mkv")));
  const struct {
    const char* Suffix;
    int Number;
    uint32_t Rate;
    uint16_t Channels;
  } cases[] = {{"", 0, 44100, 1}, {"?0", 0, 44100, 1}, {"?1", 1, 48000, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Suffix);
    TOpened sound = OpenSound(File("film.mkv").string() + c.Suffix);
    ASSERT_TRUE(sound.Converter);
    EXPECT_EQ(sound.Media->Type, TMediaType::MediaLibrary);
    EXPECT_NEAR(sound.Media->Duration, 1000, 60);
    EXPECT_TRUE(SamplesMatch(Samples16(ReadToEnd(*sound.Converter)), Reference("film.mkv", c.Number, c.Rate, c.Channels)));
  }
  EXPECT_FALSE(OpenSound(File("film.mkv").string() + "?2").Converter);
}

}  // namespace
}  // namespace kiv::test
