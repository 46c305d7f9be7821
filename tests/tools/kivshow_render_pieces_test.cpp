// The pieces of kivshow render that need no window: its command-line words, the PNG
// files it writes and the chance it plays with.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>

#include "base/file_stream.h"
#include "graphics/picture_loaders.h"
#include "kivshow/command_arguments.h"
#include "kivshow/png_writer.h"
#include "kivshow/render_times.h"
#include "kivshow/repeatable_random.h"
#include "support/bytes.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

using Times = std::vector<int32_t>;

TEST(RenderWords, FrameSizes) {
  EXPECT_EQ(ParseFrameSize("320x180"), (TPixelSize{320, 180}));
  EXPECT_EQ(ParseFrameSize("10x8192"), (TPixelSize{10, 8192}));
  for (const char* bad : {"320", "320x", "x180", "9x100", "100x8193", "320X180", "-320x180", "32 0x180", "1e3x100"})
    EXPECT_THROW(ParseFrameSize(bad), EUsageError) << bad;
}

TEST(RenderWords, TimeListsComeSortedWithoutRepeats) {
  EXPECT_EQ(ParseTimeList("0"), Times({0}));
  EXPECT_EQ(ParseTimeList("7500,0,2500,7500"), Times({0, 2500, 7500}));
  for (const char* bad : {"", ",", "1,,2", "1,", "-5", "1.5", "abc", "2500 ", "99999999999"})
    EXPECT_THROW(ParseTimeList(bad), EUsageError) << bad;
  EXPECT_EQ(ParseTimeOption("--from", "250"), 250);
  EXPECT_THROW(ParseTimeOption("--to", "-1"), EUsageError);
}

TEST(RenderWords, FramesPerSecondStepThroughTheSpanRoundedToMilliseconds) {
  EXPECT_DOUBLE_EQ(ParseFramesPerSecond("25"), 25);
  EXPECT_DOUBLE_EQ(ParseFramesPerSecond("2.5"), 2.5);
  for (const char* bad : {"0", "-4", "1001", "fast", "nan", "inf", ""}) EXPECT_THROW(ParseFramesPerSecond(bad), EUsageError) << bad;

  EXPECT_EQ(SteppedTimes(4, 0, 1000), Times({0, 250, 500, 750, 1000}));
  EXPECT_EQ(SteppedTimes(3, 100, 1000), Times({100, 433, 767}));  // 1100 lies past the end
  EXPECT_EQ(SteppedTimes(30, 0, 100), Times({0, 33, 67, 100}));   // the last frame falls on the end exactly
  EXPECT_EQ(SteppedTimes(1, 500, 500), Times({500}));
}

class PngWriterTest : public TempFolderTest {
 protected:
  PngWriterTest() : TempFolderTest("kiv_png_") {}
};

TEST_F(PngWriterTest, WritesEveryPixelAndTheSameBytesEachTime) {
  // An odd width, so rows are padded in memory but not in the file.
  TBitmap frame(5, 3, TPixelFormat::Bgr24);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      uint8_t* pixel = frame.Row(y) + 3 * x;
      pixel[0] = uint8_t(10 * x);        // blue
      pixel[1] = uint8_t(60 * y);        // green
      pixel[2] = uint8_t(200 + x + y);   // red
    }
  const fs::path first = folder / "a.png";
  const fs::path second = folder / "b.png";
  WritePng(frame, first.string());
  WritePng(frame, second.string());
  EXPECT_EQ(ReadAll(first), ReadAll(second));

  TFileStream stream(first.string(), TFileMode::OpenRead);
  std::shared_ptr<TBitmapStore> read = LoadBitmapStore(stream, first.u16string());
  ASSERT_TRUE(read);
  std::shared_ptr<const TBitmap> pixels = read->GetMipLevel(0, TPixelFormat::Bgr24);
  ASSERT_EQ(pixels->Width(), 5);
  ASSERT_EQ(pixels->Height(), 3);
  for (int y = 0; y < 3; ++y) EXPECT_EQ(std::memcmp(pixels->Row(y), frame.Row(y), 15), 0) << "row " << y;
}

TEST_F(PngWriterTest, AFileThatCannotBeWrittenIsReported) {
  TBitmap frame(2, 2, TPixelFormat::Bgr24);
  try {
    WritePng(frame, (folder / "missing" / "frame.png").string());
    FAIL() << "no error";
  } catch (const EKivError& error) {
    EXPECT_NE(std::string(error.what()).find("missing/frame.png: cannot be written"), std::string::npos) << error.what();
  }
}

TEST(RepeatableRandom, EveryRunDrawsTheSameAndTheScopeRestoresTheProcessSource) {
  IRandomSource* before = &RandomSource();
  std::vector<uint32_t> first, second;
  {
    TRepeatableRandomScope scope;
    EXPECT_NE(&RandomSource(), before);
    for (int i = 0; i < 8; ++i) first.push_back(RandomSource().Random(1000));
    RandomSource().Reseed();
    for (int i = 0; i < 8; ++i) second.push_back(RandomSource().Random(1000));
    EXPECT_EQ(RandomSource().Random(0), 0u);
  }
  EXPECT_EQ(first, second);
  EXPECT_NE(first, std::vector<uint32_t>(8, first[0]));
  EXPECT_EQ(&RandomSource(), before);
}

}  // namespace
}  // namespace kiv
