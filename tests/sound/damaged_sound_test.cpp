// Damaged MP3, Ogg Vorbis and WMA files: a short file cut at every 97th byte, and with a
// few bytes flipped, opens or is refused, decodes to an end in a bounded number of reads
// and seeks. A cut file plays nearly as much as the format's reference decoder gets out of
// it (every fourth cut is checked so), and none plays longer than the whole file.
#include <gtest/gtest.h>

#include <random>

#include "base/memory_stream.h"
#include "sound_test_support.h"

namespace kiv::test {
namespace {

class DamagedSoundTest : public SoundFolderTest {
 protected:
  // How a damaged copy of the file decodes: not at all, or its length in ms read from
  // the start, and whether it and a read after a seek into its middle ended.
  struct TDecode {
    bool Opened = false;
    double Ms = 0;
    bool Ended = false;
  };
  static TDecode Decode(const std::vector<uint8_t>& bytes, const std::string& name, double maxMs) {
    TDecode result;
    const TSoundOpener open = [&bytes](std::u16string_view) { return std::make_unique<TMemoryStream>(bytes); };
    std::optional<TOpenedSound> sound = kiv::OpenSound(Utf8ToUtf16(name), open);
    if (!sound) return result;
    result.Opened = true;
    TWavConverter& converter = *sound->Converter;
    const double bytesPerMs = converter.OutputFormat().BytesPerSecond / 1000.0;
    // Reading ends well before twice the longest sound.
    const int mostReads = int(2 * maxMs * bytesPerMs / 4096) + 8;
    auto readToEnd = [&](double& ms) {
      for (int reads = 0; reads < mostReads; ++reads) {
        TLocalBuffer& out = converter.Output();
        const bool more = converter.Read(4096);
        if (more) ms += out.Size() / bytesPerMs;
        out.Clear();
        if (!more) return true;
      }
      return false;
    };
    result.Ended = readToEnd(result.Ms);
    double after = 0;
    converter.Seek(sound->Media.Duration / 2.0);
    result.Ended = readToEnd(after) && result.Ended;
    return result;
  }
};

struct TDamageCase {
  const char* Name;
  const char* Encoder;    // %s the source, %o the file
  const char* Reference;  // decodes %o to 16-bit stereo at 44.1 kHz on standard output
  double SlackMs;         // how much less than the reference a cut file may play
};

// The decoders differ at a cut frame: mpg123 decodes a frame whose bit reservoir is
// incomplete, and the player's MPEG decoder does not.
const TDamageCase kDamageCases[] = {
    {"cbr.mp3", "lame --quiet -b 128 %s %o", "mpg123 --no-gapless -q -s %o", 60},
    {"vbr.mp3", "lame --quiet -V 4 %s %o", "mpg123 --no-gapless -q -s %o", 60},
    {"s.ogg", "oggenc -Q -q 2 %s -o %o", "oggdec -Q -R -o - %o", 1},
    {"s.wma", "ffmpeg -v quiet -i %s -c:a wmav2 -b:a 96k %o", "ffmpeg -v quiet -i %o -f s16le -", 1},
};

std::string Filled(std::string command, const std::string& source, const std::string& output) {
  if (const size_t at = command.find("%s"); at != std::string::npos) command.replace(at, 2, source);
  command.replace(command.find("%o"), 2, output);
  return command;
}

TEST_F(DamagedSoundTest, CutAndFlippedFilesEnd) {
  ASSERT_TRUE(Ran("sox -D -n -r 44100 -c 2 -b 16 " + In("src.wav") + " synth 1 sine 440 sine 1250 gain -3"));
  for (const TDamageCase& c : kDamageCases) {
    SCOPED_TRACE(c.Name);
    ASSERT_TRUE(Ran(Filled(c.Encoder, In("src.wav"), In(c.Name))));
    const std::vector<uint8_t> whole = FileBytes(File(c.Name));
    const TDecode full = Decode(whole, c.Name, 1000);
    ASSERT_TRUE(full.Opened && full.Ended);
    ASSERT_GT(full.Ms, 950);
    int opened = 0;
    for (size_t cut = 0; cut < whole.size(); cut += 97) {
      SCOPED_TRACE(cut);
      const std::vector<uint8_t> bytes(whole.begin(), whole.begin() + ptrdiff_t(cut));
      const TDecode part = Decode(bytes, c.Name, full.Ms);
      opened += part.Opened;
      if (part.Opened) {
        EXPECT_TRUE(part.Ended);
        EXPECT_LE(part.Ms, full.Ms + 1);
      }
      if (cut % (4 * 97) != 0) continue;
      PutFileBytes(File("cut_" + std::string(c.Name)), bytes);
      const double reference = CommandOutput(Filled(c.Reference, "", In("cut_" + std::string(c.Name)))).size() / 176.4;
      EXPECT_GE(part.Ms, reference - c.SlackMs);
    }
    // Cuts after the headers open (Ogg's headers take half of this short file).
    EXPECT_GT(opened, int(whole.size() / 97 / 3));
    std::mt19937 random(42);
    for (int copy = 0; copy < 40; ++copy) {
      SCOPED_TRACE(copy);
      std::vector<uint8_t> flipped = whole;
      for (int flip = 0; flip < 4; ++flip)
        flipped[random() % flipped.size()] ^= uint8_t(1 << random() % 8);
      const TDecode part = Decode(flipped, c.Name, full.Ms);
      if (!part.Opened) continue;
      EXPECT_TRUE(part.Ended);
      EXPECT_LE(part.Ms, 2 * full.Ms);
    }
  }
}

}  // namespace
}  // namespace kiv::test
