// Pictures on slides: loaded through the host from real files, sized by them, kept
// when a new one cannot be had, cut into animation frames, and sampled from a smaller
// level when shown small.
#include "model/kiv_image.h"

#include <gtest/gtest.h>

#include <limits>

#include "model/kinds_test_support.h"
#include "model/sample_level.h"

namespace kiv {
namespace {

std::string ImageSlide(const std::string& keys) { return "[Slide1]\nobject Pic: image\n  GUID=P\n" + keys + "end\n"; }

TEST_F(KindsTest, PictureSizeComesFromTheLoadedFile) {
  Magick("-size 40x30 xc:red photo.png");
  Read(ImageSlide("  ImageName=photo.png\n"));
  TKivImage& image = ChildAs<TKivImage>(0);
  EXPECT_EQ(image.Picture(), nullptr);
  EXPECT_EQ(image.Size(), (TSizeF{0, 0}));
  Prepare();
  ASSERT_NE(image.Picture(), nullptr);
  EXPECT_EQ(image.Size(), (TSizeF{40, 30}));

  // A file the show lacks shows the placeholder, as every missing picture does.
  Reread(ImageSlide("  ImageName=lost.png\n"));
  Prepare();
  EXPECT_EQ(image.Size(), (TSizeF{320, 240}));
}

TEST_F(KindsTest, ANewNameKeepsTheOldPictureUntilTheNewOneLoadsAndAFailureKeepsIt) {
  Magick("-size 40x30 xc:red first.png");
  Magick("-size 16x64 xc:blue second.png");
  Read(ImageSlide("  ImageName=first.png\n"));
  Prepare();
  TKivImage& image = ChildAs<TKivImage>(0);
  const std::shared_ptr<TBitmapStore> first = image.Picture();
  slide->Snapshot(true);

  Reread(ImageSlide("  ImageName=second.png\n"));
  EXPECT_TRUE(image.ContentChanged());
  EXPECT_EQ(image.Picture(), first);
  EXPECT_EQ(image.Size(), (TSizeF{40, 30}));
  Prepare();
  EXPECT_EQ(image.Size(), (TSizeF{16, 64}));
  const std::shared_ptr<TBitmapStore> second = image.Picture();

  // No provider makes the effect buffer: the picture and size stay, and the request is
  // not repeated on every draw.
  int asked = 0;
  host.AddPictureProvider([&asked](std::u16string_view name) -> std::shared_ptr<TBitmapStore> {
    if (name == u"SlideEffectBuffer2") ++asked;
    if (name == u"SlideEffectBuffer3") throw std::runtime_error("broken provider");
    return nullptr;
  });
  Reread(ImageSlide("  ImageName=second.png\n  ReplaceWithEffectBuffer=2\n"));
  Prepare();
  Prepare();
  TRecordingDrawer drawer;
  AdvanceTo(100);
  slide->Draw(drawer);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(image.Picture(), second);
  EXPECT_EQ(image.Size(), (TSizeF{16, 64}));
  ASSERT_EQ(drawer.Images.size(), 1u);
  EXPECT_EQ(drawer.Images[0].Picture, second.get());

  // A provider that fails counts as a picture that cannot be made.
  Reread(ImageSlide("  ReplaceWithEffectBuffer=3\n"));
  Prepare();
  EXPECT_EQ(image.Picture(), second);
}

TEST_F(KindsTest, AGridPictureShowsOneCellPerFrame) {
  Magick("-size 80x20 xc:red grid.png");
  Read(ImageSlide(
      "  ImageName=grid.png\n"
      "  AnimColumns=4\n"
      "  AnimCount=4\n"
      "  AnimInterval=200,300\n"));
  Prepare();
  TKivImage& image = ChildAs<TKivImage>(0);
  EXPECT_EQ(image.Size(), (TSizeF{20, 20}));
  TRecordingDrawer drawer;
  for (const double time : {100.0, 450.0, 1050.0, 1150.0}) {
    slide->Snapshot(true);
    AdvanceTo(time);
    image.Draw(drawer);
  }
  ASSERT_EQ(drawer.Images.size(), 4u);
  EXPECT_EQ(drawer.Images[0].Params.Frame, 0);
  EXPECT_EQ(drawer.Images[1].Params.Frame, 1);  // 200 … 500
  EXPECT_EQ(drawer.Images[2].Params.Frame, 3);  // 800 … 1100
  EXPECT_EQ(drawer.Images[3].Params.Frame, 0);  // the next play
  EXPECT_EQ(drawer.Images[0].Params.Columns, 4);
  EXPECT_FALSE(drawer.Images[0].Params.Smooth);  // a grid is never smoothed
  // A new frame asks for a redraw, the same frame does not.
  slide->Snapshot(true);
  AdvanceTo(1160);
  EXPECT_FALSE(image.NeedsRedraw());
  AdvanceTo(1310);
  EXPECT_TRUE(image.ContentChanged());

  // No columns or rows: the whole picture, never a division by zero.
  Reread(ImageSlide("  ImageName=grid.png\n  AnimColumns=0\n  AnimRows=0\n"));
  Prepare();
  EXPECT_EQ(image.Grid().Columns(), 1);
  Magick("-size 30x10 xc:red other.png");
  Reread(ImageSlide("  ImageName=other.png\n  AnimColumns=0\n  AnimRows=0\n"));
  Prepare();
  EXPECT_EQ(image.Size(), (TSizeF{30, 10}));
}

TEST_F(KindsTest, AnAnimatedFileBringsItsFramesWhenTheKeysLeaveThemOpen) {
  Magick("-delay 20 -size 10x8 xc:red xc:blue xc:lime -loop 2 anim.gif");
  Read(ImageSlide("  ImageName=anim.gif\n"));
  Prepare();
  const TKivImage& image = ChildAs<TKivImage>(0);
  EXPECT_EQ(image.Grid().Columns(), 3);
  EXPECT_EQ(image.Grid().FrameCount(), 3);
  EXPECT_EQ(image.Grid().FrameDuration(2), 200);
  EXPECT_EQ(image.Grid().FrameAt(5000), 2);  // two plays, then the last frame stays
  EXPECT_EQ(image.Size(), (TSizeF{10, 8}));

  // Given frame counts and intervals win over the file's.
  Reread(ImageSlide("  ImageName=anim.gif\n  AnimCount=2\n  AnimInterval=50\n"));
  EXPECT_EQ(image.Grid().Columns(), 1);
  Reread(ImageSlide("  ImageName=anim.gif\n  AnimInterval=50\n"));
  EXPECT_EQ(image.Grid().FrameDuration(2), 50);
}

TEST(SampleLevel, SmallestLevelStillAsLargeAsShownAndAtLeastOnePixel) {
  EXPECT_EQ(SampleLevel(1600, 1200, 800, 600), 1);
  EXPECT_EQ(SampleLevel(1600, 1200, 799, 600), 1);
  EXPECT_EQ(SampleLevel(1600, 1200, 801, 600), 0);
  EXPECT_EQ(SampleLevel(1600, 1200, 1600, 10), 0);  // both ways must allow it
  EXPECT_EQ(SampleLevel(4000, 3000, 10, 10), 3);    // at most level 3
  EXPECT_EQ(SampleLevel(4, 4, 0, 0), 2);            // at least one pixel each way
  EXPECT_EQ(SampleLevel(1, 1, 0, 0), 0);
  EXPECT_EQ(SampleLevel(1000, 1000, std::numeric_limits<double>::quiet_NaN(), 1), 0);
}

}  // namespace
}  // namespace kiv
