// Recognising sounds from their first bytes: RIFF layouts made by hand around real
// data, files made by the encoders, and damaged or random bytes.
#include <gtest/gtest.h>

#include <random>

#include "base/memory_stream.h"
#include "sound_test_support.h"

namespace kiv::test {
namespace {

class MediaRecognitionTest : public SoundFolderTest {};

void PutDWord(std::vector<uint8_t>& bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(value >> (8 * i)));
}
void PutChunk(std::vector<uint8_t>& bytes, const char* id, const std::vector<uint8_t>& body, bool pad = true) {
  bytes.insert(bytes.end(), id, id + 4);
  PutDWord(bytes, uint32_t(body.size()));
  bytes.insert(bytes.end(), body.begin(), body.end());
  if (pad && body.size() % 2) bytes.push_back(0);
}
std::vector<uint8_t> Fmt16(uint16_t channels, uint32_t rate, uint32_t bytesPerSecond) {
  std::vector<uint8_t> fmt = {1, 0, uint8_t(channels), 0};
  PutDWord(fmt, rate);
  PutDWord(fmt, bytesPerSecond);
  fmt.insert(fmt.end(), {uint8_t(channels * 2), 0, 16, 0});
  return fmt;
}
// A RIFF WAVE file of the chunks.
std::vector<uint8_t> Riff(const std::vector<uint8_t>& chunks) {
  std::vector<uint8_t> bytes = {'R', 'I', 'F', 'F'};
  PutDWord(bytes, uint32_t(chunks.size() + 4));
  bytes.insert(bytes.end(), {'W', 'A', 'V', 'E'});
  bytes.insert(bytes.end(), chunks.begin(), chunks.end());
  return bytes;
}

std::optional<TMediaInfo> Recognise(const std::vector<uint8_t>& bytes, std::u16string_view name = u"x.wav") {
  TMemoryStream stream(bytes);
  return RecogniseMedia(stream, name);
}

TEST_F(MediaRecognitionTest, RiffChunkWalk) {
  const std::vector<uint8_t> samples(4000, 1);
  std::vector<uint8_t> odd;  // a 3-byte chunk and its pad byte before the data
  PutChunk(odd, "fmt ", Fmt16(2, 8000, 32000));
  PutChunk(odd, "junk", {1, 2, 3});
  PutChunk(odd, "data", samples);
  std::optional<TMediaInfo> media = Recognise(Riff(odd));
  ASSERT_TRUE(media);
  EXPECT_EQ(media->Type, TMediaType::PcmWav);
  EXPECT_EQ(media->DataOffset, 12u + 24 + 12 + 8);
  EXPECT_EQ(media->DataSize, 4000u);
  EXPECT_EQ(media->Duration, 125u);

  std::vector<uint8_t> unpadded;  // the same without the pad byte: "data" is not found
  PutChunk(unpadded, "fmt ", Fmt16(2, 8000, 32000));
  PutChunk(unpadded, "junk", {1, 2, 3}, false);
  PutChunk(unpadded, "data", samples);
  EXPECT_FALSE(Recognise(Riff(unpadded)));

  std::vector<uint8_t> zeroRate;  // no bytes per second given: the duration still comes out
  PutChunk(zeroRate, "fmt ", Fmt16(1, 8000, 0));
  PutChunk(zeroRate, "data", samples);
  media = Recognise(Riff(zeroRate));
  ASSERT_TRUE(media);
  EXPECT_EQ(media->Duration, 250u);

  std::vector<uint8_t> huge;  // a chunk claiming more than the file holds ends the walk
  PutChunk(huge, "fmt ", Fmt16(1, 8000, 16000));
  huge.insert(huge.end(), {'b', 'i', 'g', ' ', 0xF0, 0xFF, 0xFF, 0xFF});
  PutChunk(huge, "data", samples);
  EXPECT_FALSE(Recognise(Riff(huge)));

  std::vector<uint8_t> longData;  // a data size past the end is cut to the file
  PutChunk(longData, "fmt ", Fmt16(1, 8000, 16000));
  longData.insert(longData.end(), {'d', 'a', 't', 'a', 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4});
  media = Recognise(Riff(longData));
  ASSERT_TRUE(media);
  EXPECT_EQ(media->DataSize, 4u);

  std::vector<uint8_t> empty;  // no samples, and no rate at all: nothing divides by zero
  PutChunk(empty, "fmt ", Fmt16(1, 0, 0));
  PutChunk(empty, "data", {});
  EXPECT_FALSE(Recognise(Riff(empty)));
}

// Tags written by ffmpeg put a LIST chunk between the format and the data.
TEST_F(MediaRecognitionTest, DataAfterOtherChunks) {
  ASSERT_TRUE(Ran("ffmpeg -v quiet -f lavfi -i sine=frequency=440:duration=0.5 -metadata title=Tagged -ar 22050 -y " +
                  In("tagged.wav")));
  std::optional<TMediaInfo> media = Recognise(FileBytes(File("tagged.wav")));
  ASSERT_TRUE(media);
  EXPECT_EQ(media->Type, TMediaType::PcmWav);
  EXPECT_GT(media->DataOffset, 44u);
  EXPECT_EQ(media->DataSize, 22050u);
  EXPECT_EQ(media->Duration, 500u);
}

// Every cut of a small file, and random bytes under every name, are refused or decoded
// without fault.
TEST_F(MediaRecognitionTest, DamagedInputNeverFails) {
  ASSERT_TRUE(Ran("sox -n -r 8000 -c 2 -e ms-adpcm " + In("a.wav") + " synth 0.05 sine 440"));
  ASSERT_TRUE(Ran("sox -n -r 8000 -c 1 -b 24 " + In("p.wav") + " synth 0.02 sine 440"));
  for (const char* name : {"a.wav", "p.wav"}) {
    const std::vector<uint8_t> bytes = FileBytes(File(name));
    for (size_t length = 0; length <= bytes.size(); ++length) {
      TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.begin() + ptrdiff_t(length)));
      std::optional<TMediaInfo> media = RecogniseMedia(stream, u"cut.wav");
      if (!media) continue;
      std::unique_ptr<TWavConverter> converter = MakeConverter(&stream, u"cut.wav", *media);
      if (converter) ReadToEnd(*converter, 1000);
    }
  }
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::vector<uint8_t> bytes(size_t(random() % 3000));
    for (uint8_t& b : bytes) b = uint8_t(random());
    if (round % 2 && bytes.size() >= 16) std::copy_n("RIFF\0\0\0\0WAVEfmt ", 16, bytes.begin());
    for (std::u16string_view name : {u"r.wav", u"r.mp3", u"r.ogg", u"r.wma"}) {
      TMemoryStream stream(bytes);
      std::optional<TMediaInfo> media = RecogniseMedia(stream, name);
      if (!media) continue;
      std::unique_ptr<TWavConverter> converter = MakeConverter(&stream, name, *media);
      if (converter) ReadToEnd(*converter, 1000);
    }
  }
}

}  // namespace
}  // namespace kiv::test
