#include "platform/video_decoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "support/numbered_clip.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

using test::kClipHeight;
using test::kClipWidth;
using test::MakeNumberedClip;
using test::TClipRecipe;

int NumberShown(const TVideoDecoder& decoder) {
  const TYuvPlanes& planes = decoder.Planes();
  return test::ReadFrameNumber([&](int x, int y) { return planes.Plane[0][y * planes.Pitch[0] + x]; });
}

std::vector<uint8_t> Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A reader over bytes in memory, as a file inside a show is read.
TVideoReader MemoryReader(std::shared_ptr<const std::vector<uint8_t>> bytes) {
  auto position = std::make_shared<int64_t>(0);
  TVideoReader reader;
  reader.Read = [bytes, position](uint8_t* buffer, int64_t count) {
    const int64_t n = std::min<int64_t>(count, int64_t(bytes->size()) - *position);
    std::memcpy(buffer, bytes->data() + *position, size_t(n));
    *position += n;
    return n;
  };
  reader.Seek = [bytes, position](int64_t to) { return to <= int64_t(bytes->size()) && (*position = to, true); };
  reader.Size = [bytes] { return int64_t(bytes->size()); };
  return reader;
}

struct TClipCase {
  const char* File;
  TClipRecipe Recipe;
  const char* Codec;
  TContainerFamily Family;
  int RateNum, RateDen;
  int64_t Frames;
};

class VideoDecoderTest : public TempFolderTest, public ::testing::WithParamInterface<TClipCase> {};
using VideoDecoderFiles = TempFolderTest;

TEST_P(VideoDecoderTest, EveryFrameAskedForIsThePictureOfThatNumberForwardAndBack) {
  const TClipCase& clip = GetParam();
  ASSERT_TRUE(MakeNumberedClip(folder / clip.File, clip.Recipe));
  std::string error;
  auto decoder = TVideoDecoder::OpenFile((folder / clip.File).string(), error);
  ASSERT_TRUE(decoder) << error;
  const TVideoInfo& info = decoder->Info();
  EXPECT_EQ(info.Width, kClipWidth);
  EXPECT_EQ(info.Height, kClipHeight);
  EXPECT_EQ(info.Codec, clip.Codec);
  EXPECT_EQ(info.Family, clip.Family);
  EXPECT_EQ(info.RateNum, clip.RateNum);
  EXPECT_EQ(info.RateDen, clip.RateDen);
  EXPECT_NEAR(double(info.FrameCount), double(clip.Frames), 1);
  EXPECT_EQ(info.Interlaced, clip.Recipe.Interlaced);
  EXPECT_EQ(info.AudioStreams, clip.Recipe.Sound ? 1 : 0);
  // Forward by one and by steps, a long jump, back a little and back to the start.
  for (int64_t frame : {0, 1, 2, 7, 36, 35, 3, 44, 0, 12}) {
    ASSERT_TRUE(decoder->DecodeFrame(frame));
    EXPECT_EQ(decoder->FrameIndex(), frame);
    EXPECT_EQ(NumberShown(*decoder), frame) << "frame " << frame;
  }
  // Past the end the last picture stays.
  ASSERT_TRUE(decoder->DecodeFrame(clip.Frames + 50));
  EXPECT_EQ(NumberShown(*decoder), clip.Frames - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Clips, VideoDecoderTest,
    ::testing::Values(TClipCase{"mpeg4.avi", {.Encoder = "mpeg4"}, "MPEG4", TContainerFamily::Avi, 25, 1, 50},
                      TClipCase{"h264.mp4", {.Sound = true}, "H264", TContainerFamily::Mp4, 25, 1, 50},
                      TClipCase{"mjpeg.mkv", {.Encoder = "mjpeg"}, "OTHER", TContainerFamily::Matroska, 25, 1, 50},
                      TClipCase{"ntsc.mkv", {.Rate = "30000/1001"}, "H264", TContainerFamily::Matroska, 30000, 1001, 60},
                      TClipCase{"fields.mkv", {.Interlaced = true}, "H264", TContainerFamily::Matroska, 25, 1, 50},
                      TClipCase{"xvid.avi", {.Encoder = "mpeg4 -vtag XVID", .Sound = true}, "XVID",
                                TContainerFamily::Avi, 25, 1, 50}),
    [](const auto& info) { return std::string(info.param.File).substr(0, std::string(info.param.File).find('.')); });

TEST_F(VideoDecoderFiles, ClipReadFromMemoryDecodesLikeTheFile) {
  ASSERT_TRUE(MakeNumberedClip(folder / "clip.mp4"));
  auto bytes = std::make_shared<const std::vector<uint8_t>>(Bytes(folder / "clip.mp4"));
  std::string error;
  auto decoder = TVideoDecoder::OpenReader(MemoryReader(bytes), error);
  ASSERT_TRUE(decoder) << error;
  for (int64_t frame : {20, 4, 49}) {
    ASSERT_TRUE(decoder->DecodeFrame(frame));
    EXPECT_EQ(NumberShown(*decoder), frame);
  }
  // A name that reads as another of the library's protocols is only ever a file name.
  EXPECT_FALSE(TVideoDecoder::OpenFile("concat:" + (folder / "clip.mp4").string(), error));
}

TEST_F(VideoDecoderFiles, CutOffClipPlaysWhatItHoldsAndKeepsItsLastPicture) {
  ASSERT_TRUE(MakeNumberedClip(folder / "whole.avi", {.Encoder = "mpeg4", .Seconds = 4}));
  std::vector<uint8_t> bytes = Bytes(folder / "whole.avi");
  bytes.resize(bytes.size() / 2);
  std::string error;
  auto decoder = TVideoDecoder::OpenReader(MemoryReader(std::make_shared<const std::vector<uint8_t>>(bytes)), error);
  ASSERT_TRUE(decoder) << error;
  ASSERT_TRUE(decoder->DecodeFrame(10));
  EXPECT_EQ(NumberShown(*decoder), 10);
  ASSERT_TRUE(decoder->DecodeFrame(99));
  const int last = NumberShown(*decoder);
  EXPECT_GT(last, 10);
  EXPECT_LT(last, 99);
  // Back into the part that is there, and past it again.
  ASSERT_TRUE(decoder->DecodeFrame(5));
  EXPECT_EQ(NumberShown(*decoder), 5);
  ASSERT_TRUE(decoder->DecodeFrame(90));
  EXPECT_EQ(NumberShown(*decoder), last);
}

TEST_F(VideoDecoderFiles, FilesWithoutADecodableVideoAreRefused) {
  std::ofstream(folder / "noise.avi", std::ios::binary) << std::string(4096, 'x');
  ASSERT_EQ(std::system(("convert -size 32x32 xc:red '" + (folder / "still.png").string() + "'").c_str()), 0);
  ASSERT_EQ(std::system(("sox -n '" + (folder / "tone.wav").string() + "' synth 0.2 sine 440").c_str()), 0);
  for (const char* name : {"noise.avi", "still.png", "tone.wav", "missing.mp4"}) {
    std::string error;
    EXPECT_FALSE(TVideoDecoder::OpenFile((folder / name).string(), error)) << name;
    EXPECT_FALSE(error.empty()) << name;
  }
}

TEST(VideoTiming, RatesSnapToTheirExactFractionsAndUnknownLengthsCountNoFrames) {
  struct {
    int NominalNum, NominalDen, AverageNum, AverageDen, Num, Den;
  } const cases[] = {
      {2997, 100, 0, 0, 30000, 1001},   {25, 1, 30000, 1001, 30000, 1001},      {0, 0, 23976, 1000, 24000, 1001},
      {90000, 1, 2997, 100, 30000, 1001}, {0, 1, 0, 0, 25, 1},          {50, 1, 25, 1, 50, 1},
  };
  for (const auto& c : cases) {
    int num = 0, den = 0;
    ChooseFrameRate(c.NominalNum, c.NominalDen, c.AverageNum, c.AverageDen, num, den);
    EXPECT_EQ(num, c.Num) << c.NominalNum << "/" << c.NominalDen;
    EXPECT_EQ(den, c.Den) << c.NominalNum << "/" << c.NominalDen;
  }
  EXPECT_EQ(FrameCountOf(2'000'000, 30000, 1001), 60);
  EXPECT_EQ(FrameCountOf(0, 25, 1), 0);
  EXPECT_EQ(FrameCountOf(1'000'000, 0, 0), 0);
  EXPECT_EQ(ContainerFamilyOf("mpegvideo"), TContainerFamily::MpegProgram);
  EXPECT_EQ(ContainerFamilyOf("ogg"), TContainerFamily::Other);
}

}  // namespace
}  // namespace kiv
