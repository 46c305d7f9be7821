// The pieces of kivshow export that need no show: frame rates read from the command
// line, the timeline that places frames and sound without drift, and the progress
// report.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "kivshow/command_arguments.h"
#include "kivshow/export_progress.h"
#include "kivshow/export_timeline.h"

namespace kiv {
namespace {

TEST(FrameRateWords, AreWholeDecimalOrFractionInLowestTerms) {
  struct TCase {
    const char* Text;
    int Numerator, Denominator;
  };
  for (const TCase& c : {TCase{"25", 25, 1}, {"29.97", 2997, 100}, {"23.976", 2997, 125}, {"30000/1001", 30000, 1001},
                         {"50/2", 25, 1}, {"0.5", 1, 2}, {"240", 240, 1}}) {
    const TFrameRate rate = ParseFrameRate(c.Text);
    EXPECT_EQ(rate.Numerator, c.Numerator) << c.Text;
    EXPECT_EQ(rate.Denominator, c.Denominator) << c.Text;
  }
  for (const char* bad : {"", "0", "0/5", "-25", "+25", "241", "240.5", "29.9999", "25fps", "1/0", "/2", "2/", "1e2",
                          "99999999999999999999"})
    EXPECT_THROW(ParseFrameRate(bad), EUsageError) << bad;
}

TEST(ExportTimeline, CountsTheFramesBeforeTheEnd) {
  struct TCase {
    TFrameRate Rate;
    int32_t From, To;
    int64_t Frames;
  };
  for (const TCase& c : {TCase{{25, 1}, 0, 3000, 75}, {{25, 1}, 400, 2600, 55}, {{25, 1}, 0, 39, 1},
                         {{25, 1}, 0, 41, 2}, {{30000, 1001}, 0, 1000, 30}, {{1, 2}, 0, 4001, 3}})
    EXPECT_EQ(TExportTimeline(c.Rate, c.From, c.To).FrameCount(), c.Frames)
        << c.Rate.Text() << " fps from " << c.From << " to " << c.To;
}

// Each frame's time is worked out from its number alone: after ten million frames at
// 30000/1001 it is still the nearest millisecond of k × 1001 / 30.
TEST(ExportTimeline, PlacesEveryFrameWithoutDrift) {
  const TExportTimeline ntsc({30000, 1001}, 500, INT32_MAX);
  for (const auto& [frame, ms] : {std::pair<int64_t, int32_t>{0, 500}, {1, 533}, {2, 567}, {3, 600},
                                  {10000000, 500 + 333666667}})
    EXPECT_EQ(ntsc.FrameTime(frame), ms) << frame;
  const TExportTimeline pal({25, 1}, 0, 1000000);
  EXPECT_EQ(pal.FrameTime(24999), 999960);
}

TEST(ExportTimeline, GivesEachFrameItsShareOfTheSoundAndNoneIsLost) {
  const TExportTimeline pal({25, 1}, 0, 10000);
  for (int64_t frame : {0, 1, 249}) EXPECT_EQ(pal.SoundOf(frame), 1764);
  // 29.97 frames per second share 44100 samples unevenly, but a second of frames is
  // exactly its samples.
  const TExportTimeline ntsc({30000, 1001}, 0, INT32_MAX);
  int64_t sum = 0;
  for (int64_t frame = 0; frame < 30000; ++frame) {
    const int64_t share = ntsc.SoundOf(frame);
    EXPECT_TRUE(share == 1471 || share == 1472) << frame << ": " << share;
    sum += share;
  }
  EXPECT_EQ(sum, 44100 * 1001);
  EXPECT_EQ(ntsc.SoundBefore(30000), 44100 * 1001);
}

TEST(ExportProgress, SaysShareFramesSpeedAndTimeLeft) {
  std::ostringstream stream;
  const TExportProgress progress(stream, false, 500, 25);
  EXPECT_EQ(progress.Words(225, 3.0), "45%  225/500 frames  3.0x real time  0:04 left");
  EXPECT_EQ(progress.Words(0, 0), "0%  0/500 frames  --x real time  --:-- left");
  EXPECT_EQ(progress.Words(1, 300), "0%  1/500 frames  0.0x real time  41:35:00 left");
}

// Into a file a line every 5 per cent; on a terminal one line redrawn, at most every
// tenth of a second, and the last state always drawn.
TEST(ExportProgress, WritesPlainLinesOrRedrawsOneLine) {
  std::ostringstream plain;
  TExportProgress lines(plain, false, 100, 25);
  for (int frame = 1; frame <= 100; ++frame) lines.Update(frame, frame * 0.01);
  lines.Close();
  const std::string text = plain.str();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 21);
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_NE(text.find("export: 100%  100/100 frames"), std::string::npos) << text;

  std::ostringstream terminal;
  TExportProgress bar(terminal, true, 100, 25, 60);
  for (int frame = 1; frame <= 100; ++frame) bar.Update(frame, frame / 64.0);
  bar.Close();
  const std::string drawn = terminal.str();
  EXPECT_EQ(std::count(drawn.begin(), drawn.end(), '\r'), 16);  // frames 1, 8, 15 ... 99, and the last
  EXPECT_EQ(drawn.back(), '\n');
  EXPECT_NE(drawn.find("\r[##########] 100%  100/100 frames"), std::string::npos) << drawn;
}

}  // namespace
}  // namespace kiv
