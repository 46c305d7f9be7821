#include <gtest/gtest.h>
#include <sys/stat.h>

#include <condition_variable>
#include <fstream>
#include <mutex>
#include <set>

#include "model/extractor_wrapper.h"
#include "model/kiv_video.h"
#include "model/kiv_video_extractor.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

// Frames whose luma is their number; decoding waits while the gate is shut, and the
// frames listed as broken fail.
class TFakeSource : public TFrameSource {
 public:
  TFakeSource(int rateNum, int rateDen, int64_t count) : FRateNum(rateNum), FRateDen(rateDen), FCount(count) {}
  int Width() const override { return 4; }
  int Height() const override { return 2; }
  int RateNum() const override { return FRateNum; }
  int RateDen() const override { return FRateDen; }
  int64_t FrameCount() const override { return FCount; }
  bool Interlaced() const override { return false; }
  bool TopFieldFirst() const override { return false; }
  double PixelAspect() const override { return 1; }
  bool GetFrame(int64_t index, TVideoFrame& frame) override {
    std::unique_lock lock(Lock);
    Opened.wait(lock, [this] { return Open; });
    if (Broken.count(index)) return false;
    frame.Width = 4, frame.Height = 2;
    frame.Y.assign(8, uint8_t(index));
    return true;
  }
  void SetOpen(bool open) {
    std::lock_guard lock(Lock);
    Open = open;
    Opened.notify_all();
  }

  std::mutex Lock;
  std::condition_variable Opened;
  bool Open = true;
  std::set<int64_t> Broken;

 private:
  int FRateNum, FRateDen;
  int64_t FCount;
};

int64_t Shown(TKivVideoExtractor& extractor, int64_t index, uint32_t waitMs, int* luma = nullptr) {
  return extractor.Deliver(index, index + 1, waitMs, [&](const TVideoFrame& frame, int64_t) {
    if (luma) *luma = frame.Y[0];
  });
}

TEST(VideoExtractor, FramesComeInTurnAndALateOrBrokenFrameLeavesThePreviousOne) {
  auto owned = std::make_unique<TFakeSource>(25, 1, 100);
  TFakeSource& source = *owned;
  source.Broken = {7};
  TKivVideoExtractor extractor(std::move(owned));
  int luma = -1;
  EXPECT_EQ(Shown(extractor, 5, 5000, &luma), 5);
  EXPECT_EQ(luma, 5);
  // The next frame was asked for as soon as 5 was taken.
  EXPECT_EQ(Shown(extractor, 6, 5000, &luma), 6);
  // A frame that fails shows the nearest good one.
  EXPECT_EQ(Shown(extractor, 7, 5000, &luma), 6);
  // A late frame: the drawing waits no longer than it was told and shows a frame it
  // already has (6, or 8 when the frame after the broken one came in meanwhile).
  source.SetOpen(false);
  const int64_t held = Shown(extractor, 40, 30, &luma);
  EXPECT_TRUE(held == 6 || held == 8) << held;
  EXPECT_EQ(luma, held);
  source.SetOpen(true);
  EXPECT_EQ(Shown(extractor, 40, 5000, &luma), 40);
  EXPECT_EQ(luma, 40);
}

TEST(VideoExtractor, FrameForTimeRoundsAndHoldsTheLastFrameWithoutDividingByZero) {
  struct {
    int Num, Den;
    int64_t Count;
    double Ms;
    int64_t Frame;
  } const cases[] = {
      {25, 1, 100, 19, 0},        {25, 1, 100, 21, 1},         {30000, 1001, 60, 1001, 30},
      {30000, 1001, 60, 5000, 59}, {25, 1, 0, 100000, 2500},   {0, 0, 0, 1000, 0},
      {25, 1, 100, -50, 0},        {25, 1, 100, 1e300, 99},
  };
  for (const auto& c : cases) {
    TKivVideoExtractor extractor(std::make_unique<TFakeSource>(c.Num, c.Den, c.Count));
    EXPECT_EQ(extractor.FrameAt(c.Ms), c.Frame) << c.Num << "/" << c.Den << " at " << c.Ms;
  }
}

TEST(VideoFields, EachDeinterlaceTypeShowsItsFieldInEachHalfOfTheFrame) {
  using enum TFieldMode;
  struct {
    TDeinterlace Type;
    bool Interlaced, TopFirst;
    TFieldMode FirstHalf, SecondHalf;
  } const cases[] = {
      {TDeinterlace::Auto, false, true, Progressive, Progressive}, {TDeinterlace::Auto, true, true, OddLines, EvenLines},
      {TDeinterlace::Auto, true, false, EvenLines, OddLines},      {TDeinterlace::Wave, true, true, Progressive, Progressive},
      {TDeinterlace::BobEven, false, false, EvenLines, OddLines},  {TDeinterlace::BobOdd, true, true, OddLines, EvenLines},
  };
  // Frame 3 of a 25 fps clip covers 100 … 140 ms: its first half ends at 120.
  for (const auto& c : cases) {
    EXPECT_EQ(FieldToShow(c.Type, c.Interlaced, c.TopFirst, 110, 25), c.FirstHalf) << int(c.Type);
    EXPECT_EQ(FieldToShow(c.Type, c.Interlaced, c.TopFirst, 130, 25), c.SecondHalf) << int(c.Type);
  }
}

using VideoDiskFiles = TempFolderTest;

TEST_F(VideoDiskFiles, ClipsOnDiskAreFoundInTheShowFolderWithEitherSeparatorAndAnyCaseButOnlyAsRegularFiles) {
  std::filesystem::create_directories(folder / "Clips");
  std::ofstream(folder / "Clips" / "Intro.MP4") << "x";
  ASSERT_EQ(::mkfifo((folder / "Clips" / "pipe.mp4").c_str(), 0600), 0);
  const std::u16string show = folder.u16string() + u"/";
  const std::string found = (folder / "Clips" / "Intro.MP4").string();
  EXPECT_EQ(FindDiskVideo(u"clips\\intro.mp4", show), found);
  EXPECT_EQ(FindDiskVideo(u"CLIPS/INTRO.mp4", show), found);
  EXPECT_EQ(FindDiskVideo(u"C:\\Old\\Place\\intro.mp4", show + u"Clips/"), found);
  EXPECT_EQ(FindDiskVideo(u"clips/pipe.mp4", show), "");
  EXPECT_EQ(FindDiskVideo(u"clips", show), "");
  EXPECT_EQ(FindDiskVideo(u"", show), "");
  // What is found but is no clip opens as nothing, without waiting on the file.
  TExtractorWrapper wrapper(nullptr, show + u"clips/intro.mp4", true);
  EXPECT_EQ(wrapper.NoVideo(), TNoVideo::Picture);
  EXPECT_EQ(TExtractorWrapper(nullptr, show + u"clips/pipe.mp4", true).NoVideo(), TNoVideo::Missing);
}

}  // namespace
}  // namespace kiv
