// MPEG audio made by lame and ffmpeg, decoded against mpg123's own decode (without
// gapless trimming, as the player decodes every frame).
#include <gtest/gtest.h>

#include "base/file_stream.h"
#include "sound/mpeg_info.h"
#include "sound_test_support.h"

namespace kiv::test {
namespace {

class MpegDecoderTest : public SoundFolderTest {
 protected:
  // A 2-second source at rate on channels, for the encoders.
  std::string Source(int rate, int channels) {
    const std::string name = "src" + std::to_string(rate) + "_" + std::to_string(channels) + ".wav";
    EXPECT_TRUE(Ran("sox -D -n -r " + std::to_string(rate) + " -c " + std::to_string(channels) + " -b 16 " + In(name) +
                    " synth 2 sine 440 sine 1250 gain -3"));
    return In(name);
  }
  std::vector<uint8_t> Reference(const std::string& name) {
    return CommandOutput("mpg123 --no-gapless -q -s " + In(name));
  }
};

struct TMpegCase {
  const char* Name;
  int Rate, Channels;
  const char* Encoder;  // %s the source, %o the file
  bool Xing;
  uint32_t Frames;      // of sound, when the file counts them
};

const TMpegCase kMpegCases[] = {
    {"cbr.mp3", 44100, 2, "lame --quiet -b 128 -t %s %o", false, 0},
    {"vbr.mp3", 44100, 2, "lame --quiet -V 4 %s %o", true, 0},
    {"vbr_mono.mp3", 22050, 1, "lame --quiet -V 6 -m m %s %o", true, 0},
    {"low.mp3", 8000, 1, "lame --quiet -b 16 -t %s %o", false, 0},
    {"layer2.mp2", 48000, 2, "ffmpeg -v quiet -i %s -c:a mp2 -b:a 192k -f mp2 %o", false, 0},
    {"tagged.mp3", 44100, 2, "lame --quiet -b 160 -t --tt Title --ta Artist --add-id3v2 --pad-id3v2-size 4096 %s %o", false, 0},
};

std::string Command(std::string pattern, const std::string& source, const std::string& out) {
  pattern.replace(pattern.find("%s"), 2, source);
  pattern.replace(pattern.find("%o"), 2, out);
  return pattern;
}

TEST_F(MpegDecoderTest, DecodesAsMpg123Does) {
  for (const TMpegCase& c : kMpegCases) {
    SCOPED_TRACE(c.Name);
    ASSERT_TRUE(Ran(Command(c.Encoder, Source(c.Rate, c.Channels), In(c.Name))));
    TOpened sound = OpenSound(File(c.Name).string());
    ASSERT_TRUE(sound.Converter);
    EXPECT_EQ(sound.Media->Type, TMediaType::Mpeg);
    EXPECT_EQ(sound.Media->Xing, c.Xing);
    EXPECT_EQ(sound.Converter->OutputFormat(), PcmFormat(uint32_t(c.Rate), uint16_t(c.Channels), 16));
    const std::vector<uint8_t> expected = Reference(c.Name);
    ASSERT_FALSE(expected.empty());
    const std::vector<uint8_t> decoded = ReadToEnd(*sound.Converter);
    EXPECT_TRUE(SamplesMatch(Samples16(decoded), Samples16(expected)));
    // A constant bit rate gives the duration to within a frame.
    EXPECT_NEAR(sound.Media->Duration, decoded.size() * 1000.0 / (2 * c.Channels * c.Rate), c.Xing ? 0.5 : 1152000.0 / c.Rate);
  }
}

// A 4 KB ID3v2 tag and an ID3v1 trailer: the data starts after the one and ends before
// the other.
TEST_F(MpegDecoderTest, TagsAreLeftOut) {
  ASSERT_TRUE(Ran("lame --quiet -b 128 -t --tt Title --add-id3v2 --pad-id3v2-size 4096 " + Source(44100, 2) + " " +
                  In("t.mp3")));
  const std::vector<uint8_t> bytes = FileBytes(File("t.mp3"));
  ASSERT_EQ(std::string(bytes.end() - 128, bytes.end() - 125), "TAG");
  const size_t tagSize = 10 + (size_t(bytes[6]) << 21 | size_t(bytes[7]) << 14 | size_t(bytes[8]) << 7 | bytes[9]);
  ASSERT_GT(tagSize, 4096u);
  TOpened sound = OpenSound(File("t.mp3").string());
  ASSERT_TRUE(sound.Media);
  EXPECT_EQ(sound.Media->DataOffset, tagSize);
  EXPECT_EQ(sound.Media->DataSize, bytes.size() - tagSize - 128);
  EXPECT_EQ(sound.Media->BitRate, 128000u);
}

// The Xing header's frame count gives the duration; the header frame is no sound.
TEST_F(MpegDecoderTest, XingFrameCountGivesTheDuration) {
  ASSERT_TRUE(Ran("lame --quiet -V 2 " + Source(44100, 2) + " " + In("v.mp3")));
  TOpened sound = OpenSound(File("v.mp3").string());
  ASSERT_TRUE(sound.Converter);
  const size_t frames = ReadToEnd(*sound.Converter).size() / 4 / 1152;
  EXPECT_EQ(sound.Media->FrameCount, frames);
  EXPECT_EQ(sound.Media->Duration, uint32_t(std::llround(frames * 1152 * 1000.0 / 44100)));
}

// After a seek the samples are those of the whole decode from the sought time on.
TEST_F(MpegDecoderTest, SeeksToTheMillisecond) {
  ASSERT_TRUE(Ran("lame --quiet -b 128 -t " + Source(44100, 2) + " " + In("c.mp3")));
  ASSERT_TRUE(Ran("lame --quiet -V 3 " + Source(44100, 2) + " " + In("v.mp3")));
  for (const char* name : {"c.mp3", "v.mp3"}) {
    SCOPED_TRACE(name);
    const std::vector<int16_t> whole = Samples16(DecodeFile(File(name)));
    TOpened sound = OpenSound(File(name).string());
    ASSERT_TRUE(sound.Converter);
    for (double ms : {50.0, 1234.0, 0.0, 777.7, 1500.0}) {
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
}

// MPEG audio inside a RIFF file plays from a view that starts at its data.
TEST_F(MpegDecoderTest, InsideRiff) {
  ASSERT_TRUE(Ran("ffmpeg -v quiet -i " + Source(44100, 2) + " -c:a libmp3lame -b:a 128k -f wav " + In("m.wav")));
  const std::vector<uint8_t> bytes = FileBytes(File("m.wav"));
  const std::string text(bytes.begin(), bytes.end());
  const size_t data = text.find("data") + 8;
  ASSERT_EQ(bytes[20], 0x55);
  WriteAll(File("inner.mp3"), text.substr(data));
  TOpened sound = OpenSound(File("m.wav").string());
  ASSERT_TRUE(sound.Converter);
  EXPECT_TRUE(sound.Media->LeadingData);
  EXPECT_EQ(sound.Media->DataOffset, 0u);
  EXPECT_EQ(sound.Stream->GetSize(), int64_t(bytes.size() - data));
  EXPECT_EQ(sound.Media->BitRate, 128000u);
  EXPECT_TRUE(SamplesMatch(Samples16(ReadToEnd(*sound.Converter)), Samples16(Reference("inner.mp3"))));
}

// A free-format stream (no bit rate in its headers) still has a duration.
TEST_F(MpegDecoderTest, FreeFormatHasADuration) {
  ASSERT_TRUE(Ran("lame --quiet --freeformat -b 500 -t " + Source(44100, 2) + " " + In("f.mp3")));
  TOpened sound = OpenSound(File("f.mp3").string());
  ASSERT_TRUE(sound.Converter);
  EXPECT_NEAR(sound.Media->BitRate, 500000, 1000);
  const std::vector<uint8_t> expected = Reference("f.mp3");
  const std::vector<uint8_t> decoded = ReadToEnd(*sound.Converter);
  EXPECT_TRUE(SamplesMatch(Samples16(decoded), Samples16(expected)));
  EXPECT_NEAR(sound.Media->Duration, decoded.size() / 4 / 44.1, 26.2);
}

}  // namespace
}  // namespace kiv::test
