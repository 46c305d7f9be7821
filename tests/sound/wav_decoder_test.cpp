// PCM, float and MS ADPCM WAV files made by sox, decoded against sox's own decode.
#include <gtest/gtest.h>

#include "sound/pcm_resampler.h"
#include "sound_test_support.h"

namespace kiv::test {
namespace {

class WavDecoderTest : public SoundFolderTest {};

struct TWavCase {
  const char* Name;
  const char* Encoding;  // sox's options for the file
  TMediaType Type;
  const char* Reference;  // sox's options for the expected raw PCM
  int Tolerance;          // in 16-bit steps
};

// sox rounds to 16 bits where the decoder takes the top bits (24-bit) or scales by
// 32767 (float): those differ from sox's by at most one step.
const TWavCase kWavCases[] = {
    {"u8_mono", "-c 1 -b 8 -e unsigned", TMediaType::PcmWav, "-e unsigned -b 8", 0},
    {"s16_stereo", "-c 2 -b 16", TMediaType::PcmWav, "-e signed -b 16", 0},
    {"s16_six", "-c 6 -b 16", TMediaType::PcmWav, "-e signed -b 16", 0},
    {"s24_stereo", "-c 2 -b 24", TMediaType::PcmWav, "-e signed -b 16", 1},
    {"s24_mono", "-c 1 -b 24", TMediaType::PcmWav, "-e signed -b 16 -c 2", 1},
    {"f32_stereo", "-c 2 -b 32 -e float", TMediaType::FloatWav, "-e signed -b 16", 1},
    {"adpcm_mono", "-c 1 -e ms-adpcm", TMediaType::AdpcmWav, "-e signed -b 16", 0},
    {"adpcm_stereo", "-c 2 -e ms-adpcm", TMediaType::AdpcmWav, "-e signed -b 16", 0},
};

TEST_F(WavDecoderTest, DecodesAsSoxDoes) {
  for (const TWavCase& c : kWavCases) {
    SCOPED_TRACE(c.Name);
    const std::string name = std::string(c.Name) + ".wav";
    ASSERT_TRUE(Ran("sox -D -n -r 44100 " + std::string(c.Encoding) + " " + In(name) +
                    " synth 0.7 sine 440 sine 1000 sine 300 sine 2000 sine 90 sine 5000 gain -1"));
    TOpened sound = OpenSound(File(name).string());
    ASSERT_TRUE(sound.Converter);
    EXPECT_EQ(sound.Media->Type, c.Type);
    EXPECT_EQ(sound.Media->Duration, 700u);
    const std::vector<uint8_t> decoded = ReadToEnd(*sound.Converter);
    const std::vector<uint8_t> expected = CommandOutput("sox -D " + In(name) + " -t raw " + c.Reference + " -");
    ASSERT_FALSE(expected.empty());
    if (c.Type == TMediaType::AdpcmWav) {
      // sox goes on to the end of the last block; the file's sample count stops earlier.
      ASSERT_EQ(decoded.size(), size_t(30870) * 2 * sound.Media->Format.Channels);
      ASSERT_GE(expected.size(), decoded.size());
      EXPECT_TRUE(SamplesMatch(Samples16(decoded), Samples16({expected.begin(), expected.begin() + ptrdiff_t(decoded.size())})));
    } else if (sound.Converter->OutputFormat().Bits == 8) {
      EXPECT_EQ(decoded, expected);
    } else {
      EXPECT_TRUE(SamplesMatch(Samples16(decoded), Samples16(expected), c.Tolerance));
    }
  }
}

// Six channels in the WAV order mix down as left = FL + FC + LFE + BL and right = FR +
// FC + LFE + BR, clipped; sox's remix sums the same channels. The 24-bit file is made
// from the 16-bit one, so its top 16 bits are the reference's samples.
TEST_F(WavDecoderTest, SixChannelsMixDownInWavOrder) {
  ASSERT_TRUE(Ran("sox -D -n -r 44100 -c 6 -b 16 " + In("six16.wav") +
                  " synth 0.3 sine 200 sine 700 sine 1500 sine 60 sine 3000 sine 5000 gain -3"));
  ASSERT_TRUE(Ran("sox -D " + In("six16.wav") + " -b 24 " + In("six24.wav")));
  ASSERT_TRUE(Ran("sox -D -n -r 44100 -c 6 -b 8 -e unsigned " + In("six8.wav") +
                  " synth 0.3 sine 200 sine 700 sine 1500 sine 60 sine 3000 sine 5000 gain -3"));
  for (const char* name : {"six16.wav", "six24.wav", "six8.wav"}) {
    SCOPED_TRACE(name);
    const TWaveFormat mix = MixFormat();
    TOpened sound = OpenSound(File(name).string(), &mix);
    ASSERT_TRUE(sound.Converter);
    EXPECT_EQ(sound.Converter->OutputFormat(), mix);
    const std::vector<uint8_t> decoded = ReadToEnd(*sound.Converter);
    const std::string source = name == std::string("six24.wav") ? "six16.wav" : name;
    const std::vector<uint8_t> expected =
        CommandOutput("sox -D " + In(source) + " -t raw -e signed -b 16 - remix -m 1,3,4,5 2,3,4,6");
    ASSERT_EQ(decoded.size(), 13230u * 4);
    EXPECT_TRUE(SamplesMatch(Samples16(decoded), Samples16(expected)));
  }
}

TEST_F(WavDecoderTest, SixChannelsPlayInTheirOwnFormatWithoutATarget) {
  ASSERT_TRUE(Ran("sox -n -r 48000 -c 6 -b 16 " + In("six.wav") + " synth 0.5 sine 440"));
  TOpened own = OpenSound(File("six.wav").string());
  ASSERT_TRUE(own.Converter);
  EXPECT_EQ(own.Converter->OutputFormat(), PcmFormat(48000, 6, 16));
  EXPECT_EQ(ReadToEnd(*own.Converter).size(), 24000u * 12);
  const TWaveFormat mix = MixFormat();
  TOpened mixed = OpenSound(File("six.wav").string(), &mix);
  ASSERT_TRUE(mixed.Converter);
  EXPECT_EQ(mixed.Converter->OutputFormat(), mix);
  // One input frame is held back by the interpolation.
  EXPECT_NEAR(double(ReadToEnd(*mixed.Converter).size()) / 4, 22050, 2);
}

// Other channel layouts are not read by the WAV decoder; the media library mixes them
// down to stereo as ffmpeg does.
TEST_F(WavDecoderTest, OtherChannelLayoutsGoToTheMediaLibrary) {
  for (int channels : {3, 4, 5, 8}) {
    SCOPED_TRACE(channels);
    const std::string name = "c" + std::to_string(channels) + ".wav";
    ASSERT_TRUE(Ran("sox -D -n -r 44100 -c " + std::to_string(channels) + " -b 16 " + In(name) +
                    " synth 0.1 sine 440 sine 1000 sine 3000 sine 200 sine 5000 sine 90 sine 700 sine 4000 gain -6"));
    TOpened sound = OpenSound(File(name).string());
    ASSERT_TRUE(sound.Converter);
    EXPECT_EQ(sound.Media->Type, TMediaType::MediaLibrary);
    EXPECT_EQ(sound.Converter->OutputFormat(), MixFormat());
    const std::vector<uint8_t> expected = CommandOutput("ffmpeg -v quiet -i " + In(name) + " -ac 2 -f s16le -");
    EXPECT_TRUE(SamplesMatch(Samples16(ReadToEnd(*sound.Converter)), Samples16(expected)));
  }
}

// Seeking lands on the sample nearest the time, and the position says where it landed.
TEST_F(WavDecoderTest, SeeksToTheMillisecond) {
  for (const char* encoding : {"-b 16", "-e ms-adpcm"}) {
    SCOPED_TRACE(encoding);
    ASSERT_TRUE(Ran("sox -D -n -r 44100 -c 2 " + std::string(encoding) + " " + In("s.wav") + " synth 1 sine 440 sine 1300"));
    const std::vector<int16_t> whole = Samples16(DecodeFile(File("s.wav")));
    TOpened sound = OpenSound(File("s.wav").string());
    ASSERT_TRUE(sound.Converter);
    for (double ms : {333.0, 250.5, 0.0, 999.0}) {
      sound.Converter->Seek(ms);
      const size_t frame = size_t(std::llround(ms * 44.1));
      EXPECT_DOUBLE_EQ(sound.Converter->Position(), frame / 44.1) << ms;
      ASSERT_TRUE(sound.Converter->Read(400));
      const std::vector<int16_t> got = Samples16({sound.Converter->Output().Data(), sound.Converter->Output().Data() + 400});
      const size_t available = std::min<size_t>(200, whole.size() - frame * 2);
      EXPECT_TRUE(SamplesMatch({got.begin(), got.begin() + ptrdiff_t(available)},
                               {whole.begin() + ptrdiff_t(frame * 2), whole.begin() + ptrdiff_t(frame * 2 + available)}))
          << ms;
    }
  }
}

// Blocks larger than a read piece (96 kHz stereo gives 4096-byte blocks) decode whole.
TEST_F(WavDecoderTest, AdpcmBlocksAboveTwoKilobytes) {
  ASSERT_TRUE(Ran("sox -D -n -r 96000 -c 2 -e ms-adpcm " + In("big.wav") + " synth 0.5 sine 440"));
  TOpened sound = OpenSound(File("big.wav").string());
  ASSERT_TRUE(sound.Converter);
  EXPECT_EQ(sound.Media->Format.BlockAlign, 4096);
  const std::vector<uint8_t> decoded = ReadToEnd(*sound.Converter);
  const std::vector<uint8_t> expected = CommandOutput("sox -D " + In("big.wav") + " -t raw -e signed -b 16 -");
  ASSERT_EQ(decoded.size(), 48000u * 4);
  EXPECT_TRUE(SamplesMatch(Samples16(decoded), Samples16({expected.begin(), expected.begin() + ptrdiff_t(decoded.size())})));
}

// A file cut inside its last block still gives the samples that block holds.
TEST_F(WavDecoderTest, AdpcmShortFinalBlockIsDecoded) {
  ASSERT_TRUE(Ran("sox -D -n -r 8000 -c 1 -e ms-adpcm " + In("a.wav") + " synth 0.3 sine 440"));
  std::vector<uint8_t> bytes = FileBytes(File("a.wav"));
  TOpened whole = OpenSound(File("a.wav").string());
  ASSERT_TRUE(whole.Converter);
  const uint32_t block = whole.Media->Format.BlockAlign;
  const uint32_t end = whole.Media->DataOffset + whole.Media->DataSize;
  const std::vector<int16_t> all = Samples16(ReadToEnd(*whole.Converter));
  // Keep the header of the last block and 10 bytes of its codes: 2 + 20 samples.
  const uint32_t lastBlock = whole.Media->DataOffset + (whole.Media->DataSize - 1) / block * block;
  bytes.resize(lastBlock + 7 + 10);
  ASSERT_LT(bytes.size(), end);
  PutFileBytes(File("cut.wav"), bytes);
  const std::vector<int16_t> cut = Samples16(DecodeFile(File("cut.wav")));
  const size_t blocksBefore = (lastBlock - whole.Media->DataOffset) / block;
  const size_t perBlock = 2 + (block - 7) * 2;
  ASSERT_EQ(cut.size(), blocksBefore * perBlock + 22);
  EXPECT_TRUE(SamplesMatch(cut, {all.begin(), all.begin() + ptrdiff_t(cut.size())}));
}

// Read on the last bytes gives them and silence and answers true; the next answers false.
TEST_F(WavDecoderTest, EndPadsWithSilence) {
  for (const char* encoding : {"-b 16 -e signed", "-b 8 -e unsigned"}) {
    SCOPED_TRACE(encoding);
    ASSERT_TRUE(Ran("sox -n -r 8000 -c 1 " + std::string(encoding) + " " + In("e.wav") + " synth 1050s sine 440"));
    TOpened sound = OpenSound(File("e.wav").string());
    ASSERT_TRUE(sound.Converter);
    const size_t bytes = sound.Media->DataSize;
    const uint8_t silence = sound.Converter->OutputFormat().Bits == 8 ? 128 : 0;
    ASSERT_TRUE(sound.Converter->Read(bytes - 100));
    TLocalBuffer& out = sound.Converter->Output();
    out.Consume(bytes - 100);
    ASSERT_EQ(out.Size(), 100u);
    const std::vector<uint8_t> last(out.Data(), out.Data() + 100);
    EXPECT_TRUE(sound.Converter->Read(4096));
    ASSERT_EQ(out.Size(), 4096u);
    EXPECT_TRUE(std::equal(last.begin(), last.end(), out.Data()));
    EXPECT_TRUE(std::all_of(out.Data() + 100, out.Data() + 4096, [&](uint8_t b) { return b == silence; }));
    out.Clear();
    EXPECT_FALSE(sound.Converter->Read(4096));
    EXPECT_EQ(out.Size(), 4096u);
    EXPECT_TRUE(std::all_of(out.Data(), out.Data() + 4096, [&](uint8_t b) { return b == silence; }));
  }
}

// A sound of a few hertz becomes tens of thousands of mix frames per frame: each read
// converts a bounded piece, and all of it still comes out, as one conversion makes it.
TEST_F(WavDecoderTest, VeryLowRatesConvertInBoundedPieces) {
  for (const char* encoding : {"-b 32 -e float", "-b 8 -e unsigned"}) {
    SCOPED_TRACE(encoding);
    ASSERT_TRUE(Ran("sox -n -r 5 -c 1 " + std::string(encoding) + " " + In("low.wav") + " synth 4 sine 1"));
    const TWaveFormat mix = MixFormat();
    TOpened sound = OpenSound(File("low.wav").string(), &mix);
    ASSERT_TRUE(sound.Converter);
    std::vector<uint8_t> decoded;
    size_t largest = 0;
    while (sound.Converter->Read(4096)) {
      TLocalBuffer& out = sound.Converter->Output();
      largest = std::max(largest, out.Size());
      decoded.insert(decoded.end(), out.Data(), out.Data() + out.Size());
      out.Clear();
    }
    EXPECT_LE(largest, size_t(300000));
    const std::vector<uint8_t> file = FileBytes(File("low.wav"));
    TPcmResampler resampler;
    ASSERT_TRUE(resampler.Setup(sound.Converter->Media().Format, mix));
    TLocalBuffer whole;
    const size_t data = sound.Media->DataSize;
    resampler.Convert(file.data() + sound.Media->DataOffset, data, whole);
    ASSERT_GT(whole.Size(), size_t(600000));
    // The last read ends on silence after the data.
    ASSERT_GE(decoded.size(), whole.Size());
    EXPECT_TRUE(std::equal(whole.Data(), whole.Data() + whole.Size(), decoded.begin()));
  }
}

// The sound files of the ALSA installation, made elsewhere, decode as sox reads them.
TEST_F(WavDecoderTest, InstalledAlsaSounds) {
  int checked = 0;
  for (const auto& entry : fs::directory_iterator("/usr/share/sounds/alsa")) {
    if (entry.path().extension() != ".wav") continue;
    SCOPED_TRACE(entry.path().string());
    const std::vector<uint8_t> expected = CommandOutput("sox '" + entry.path().string() + "' -t raw -");
    EXPECT_EQ(DecodeFile(entry.path()), expected);
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace kiv::test
