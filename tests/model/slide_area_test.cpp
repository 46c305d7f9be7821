#include "model/slide_area.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "support/project_text.h"

namespace kiv {
namespace {

TSlideAreaRequest FitRequest(TPixelSize output, TSlideFit fit, double ratio) {
  TSlideAreaRequest request;
  request.Output = output;
  request.Fit = fit;
  request.AspectRatio = ratio;
  return request;
}

TEST(SlideArea, AspectFitsInsideCoversOrFills) {
  const TPixelSize fullHd{1920, 1080};
  EXPECT_EQ(SlideAreaSize(FitRequest(fullHd, TSlideFit::Inside, 4.0 / 3.0)), (TPixelSize{1440, 1080}));
  EXPECT_EQ(SlideAreaSize(FitRequest(fullHd, TSlideFit::Cover, 4.0 / 3.0)), (TPixelSize{1920, 1440}));
  EXPECT_EQ(SlideAreaSize(FitRequest(fullHd, TSlideFit::Fill, 4.0 / 3.0)), fullHd);
  // A show wider than the output is limited by the width.
  EXPECT_EQ(SlideAreaSize(FitRequest({1024, 768}, TSlideFit::Inside, 16.0 / 9.0)), (TPixelSize{1024, 576}));
}

TEST(SlideArea, OddSidesBelowTheOutputGrowByOne) {
  // 1080 × 1.3324 = 1438.99… rounds to 1439, which grows to 1440.
  EXPECT_EQ(SlideAreaSize(FitRequest({1920, 1080}, TSlideFit::Inside, 1.3324)), (TPixelSize{1440, 1080}));
  // An odd output side is not exceeded.
  EXPECT_EQ(SlideAreaSize(FitRequest({1001, 1001}, TSlideFit::Fill, 1)), (TPixelSize{1001, 1001}));
  // Rounding ties go to the even neighbour: 5 × 2.5 = 12.5 gives 12, 5 × 2.7 = 13.5 gives 14.
  EXPECT_EQ(SlideAreaSize(FitRequest({100, 5}, TSlideFit::Inside, 2.5)).Width, 12);
  EXPECT_EQ(SlideAreaSize(FitRequest({100, 5}, TSlideFit::Inside, 2.7)).Width, 14);
}

TEST(SlideArea, PercentagesScaleTheUsableShare) {
  // Half of the output's width counts as the usable share: A = (3840, 1080), fitted to
  // 1440 × 1080, then halved in width to 720.
  TSlideAreaRequest request = FitRequest({1920, 1080}, TSlideFit::Inside, 4.0 / 3.0);
  request.WidthPercent = 50;
  EXPECT_EQ(SlideAreaSize(request), (TPixelSize{720, 1080}));
  // A share that is not positive counts as the whole output instead of dividing by zero.
  request.WidthPercent = 0;
  request.HeightPercent = -5;
  EXPECT_EQ(SlideAreaSize(request), (TPixelSize{1440, 1080}));
}

TEST(SlideArea, FixedSizeShrinksButNeverGrows) {
  TSlideAreaRequest request;
  request.FullFixedSize = true;
  request.Design = {800, 600};
  request.Output = {1920, 1080};
  EXPECT_EQ(SlideAreaSize(request), (TPixelSize{800, 600}));
  request.Output = {640, 1080};  // narrower than the design
  EXPECT_EQ(SlideAreaSize(request), (TPixelSize{640, 480}));
  request.Output = {1920, 300};  // lower than the design
  EXPECT_EQ(SlideAreaSize(request), (TPixelSize{400, 300}));
  // Degenerate sizes give an empty area without dividing by zero.
  request.Output = {0, 0};
  EXPECT_EQ(SlideAreaSize(request), (TPixelSize{0, 0}));
  request.Design = {0, 0};
  request.Output = {1920, 1080};
  EXPECT_EQ(SlideAreaSize(request), (TPixelSize{0, 0}));
}

TEST(SlideArea, EmptyOutputsAndRatiosGiveEmptySides) {
  EXPECT_EQ(SlideAreaSize(FitRequest({0, 0}, TSlideFit::Inside, 4.0 / 3.0)), (TPixelSize{0, 0}));
  EXPECT_EQ(SlideAreaSize(FitRequest({1920, 1080}, TSlideFit::Cover, 0)), (TPixelSize{0, 1080}));
  EXPECT_EQ(SlideAreaSize(FitRequest({-20, 1080}, TSlideFit::Fill, 1)), (TPixelSize{0, 1080}));
}

TEST(SlideArea, AspectComesFromTheDesignOrForOldProjectsFromTheOutput) {
  auto project = ParseProject("[main]\nopt_scr_width=1024\nopt_scr_height=768\n");
  TShowDesign design = ReadShowDesign(*project->FindSection(u"main"));
  EXPECT_EQ(design.Size, (TPixelSize{1024, 768}));
  EXPECT_FALSE(design.FullFixedSize);
  EXPECT_EQ(design.MinorVersion, 13);
  EXPECT_DOUBLE_EQ(ShowAspectRatio(design, {1920, 1080}), 4.0 / 3.0);

  design.Size.Height = 0;
  try {
    ShowAspectRatio(design, {1920, 1080});
    ADD_FAILURE() << "a design without height has no aspect";
  } catch (const EAssertionFailed& failure) {
    EXPECT_EQ(failure.Text(), "ZeroSize of Presentation!");
  }

  auto old = ParseProject("[main]\nMinorVersion=12\nopt_scr_fullfixedsize=1\n");
  design = ReadShowDesign(*old->FindSection(u"main"));
  EXPECT_EQ(design.Size, (TPixelSize{640, 480}));
  EXPECT_TRUE(design.FullFixedSize);
  EXPECT_DOUBLE_EQ(ShowAspectRatio(design, {1920, 1080}), 1920.0 / 1080.0);
  EXPECT_DOUBLE_EQ(ShowAspectRatio(design, {1920, 0}), 4.0 / 3.0);

  auto ratio = ParseProject("[main]\nMinorVersion=12\nopt_scr_ratio=1.5\n");
  EXPECT_DOUBLE_EQ(ShowAspectRatio(ReadShowDesign(*ratio->FindSection(u"main")), {1920, 1080}), 1.5);
  auto badRatio = ParseProject("[main]\nMinorVersion=12\nopt_scr_ratio=0\n");
  EXPECT_DOUBLE_EQ(ShowAspectRatio(ReadShowDesign(*badRatio->FindSection(u"main")), {1920, 1080}), 1920.0 / 1080.0);
}

}  // namespace
}  // namespace kiv
