// Pictures on slides: sized by the real file they load, kept when a new one cannot be
// had, cut into animation frames, and sampled from a smaller level when shown small.
#include "model/kiv_image.h"

#include <gtest/gtest.h>

#include <limits>

#include "model/kinds_test_support.h"
#include "model/sample_level.h"

namespace kiv {
namespace {

std::string ImageSlide(const std::string& keys) { return "[Slide1]\nobject Pic: image\n  GUID=P\n" + keys + "end\n"; }

TEST_F(KindsTest, PictureSizeFollowsTheLoadedPictureAndAFailedLoadKeepsIt) {
  Magick("-size 40x30 xc:red first.png");
  Magick("-size 16x64 xc:blue second.png");
  Read(ImageSlide("  ImageName=first.png\n"));
  TKivImage& image = ChildAs<TKivImage>(0);
  Prepare();
  EXPECT_EQ(image.Size(), (TSizeF{40, 30}));
  const std::shared_ptr<TBitmapStore> first = image.Picture();

  // A new name keeps the old picture until the new one has loaded.
  Read(ImageSlide("  ImageName=second.png\n"), true);
  EXPECT_EQ(image.Picture(), first);
  EXPECT_EQ(image.Size(), (TSizeF{40, 30}));
  Prepare();
  EXPECT_EQ(image.Size(), (TSizeF{16, 64}));
  const std::shared_ptr<TBitmapStore> second = image.Picture();

  // Nothing makes effect buffer 2, and buffer 3's provider fails: picture and size stay,
  // and a failed request is not repeated on every draw.
  int asked = 0;
  host.AddPictureProvider([&asked](std::u16string_view name) -> std::shared_ptr<TBitmapStore> {
    if (name == u"SlideEffectBuffer3") throw std::runtime_error("broken provider");
    asked += name == u"SlideEffectBuffer2";
    return nullptr;
  });
  for (const char* keys : {"  ReplaceWithEffectBuffer=2\n", "  ReplaceWithEffectBuffer=3\n"}) {
    Read(ImageSlide(keys), true);
    Prepare();
    TRecordingDrawer drawer;
    AdvanceTo(100);
    slide->Draw(drawer);
    ASSERT_EQ(drawer.Images.size(), 1u);
    EXPECT_EQ(drawer.Images[0].Picture, second.get());
    EXPECT_EQ(image.Size(), (TSizeF{16, 64}));
  }
  EXPECT_EQ(asked, 1);

  // A file the show lacks shows the placeholder, as every missing file does.
  Read(ImageSlide("  ImageName=lost.png\n"), true);
  Prepare();
  EXPECT_EQ(image.Size(), (TSizeF{320, 240}));
}

TEST_F(KindsTest, AGridPictureShowsOneCellAFrameAndAnAnimatedFileBringsItsOwn) {
  Magick("-size 80x20 xc:red grid.png");
  Read(ImageSlide("  ImageName=grid.png\n  AnimColumns=4\n  AnimCount=4\n  AnimInterval=200,300\n"));
  Prepare();
  TKivImage& image = ChildAs<TKivImage>(0);
  EXPECT_EQ(image.Size(), (TSizeF{20, 20}));
  TRecordingDrawer drawer;
  for (const double time : {100.0, 450.0, 1050.0, 1150.0}) {
    AdvanceTo(time);
    image.Draw(drawer);
  }
  ASSERT_EQ(drawer.Images.size(), 4u);
  const int frames[] = {0, 1, 3, 0};  // 200, 300, 300, 300 ms, then again
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(drawer.Images[i].Params.Frame, frames[i]) << i;
  EXPECT_EQ(drawer.Images[0].Params.Columns, 4);
  EXPECT_FALSE(drawer.Images[0].Params.Smooth);  // a grid is never smoothed
  slide->Snapshot(true);
  AdvanceTo(1250);
  EXPECT_FALSE(image.NeedsRedraw());  // the same frame
  AdvanceTo(1310);
  EXPECT_TRUE(image.ContentChanged());

  Magick("-delay 20 -size 10x8 xc:red xc:blue xc:lime -loop 2 anim.gif");
  Read(ImageSlide("  ImageName=anim.gif\n  AnimColumns=0\n  AnimRows=0\n"), true);
  Prepare();
  EXPECT_EQ(image.Grid().FrameCount(), 3);
  EXPECT_EQ(image.Grid().FrameDuration(2), 200);
  EXPECT_EQ(image.Grid().FrameAt(5000), 2);  // two plays, then the last frame stays
  EXPECT_EQ(image.Size(), (TSizeF{10, 8}));
  Read(ImageSlide("  ImageName=anim.gif\n  AnimInterval=50\n"), true);
  EXPECT_EQ(image.Grid().FrameDuration(2), 50);  // given intervals win
  Read(ImageSlide("  ImageName=anim.gif\n  AnimCount=2\n"), true);
  EXPECT_EQ(image.Grid().Columns(), 1);  // so does a given frame count
}

TEST(SampleLevel, SmallestLevelStillAsLargeAsShownAndAtLeastOnePixel) {
  EXPECT_EQ(SampleLevel(1600, 1200, 800, 600), 1);
  EXPECT_EQ(SampleLevel(1600, 1200, 801, 600), 0);
  EXPECT_EQ(SampleLevel(1600, 1200, 10, 1200), 0);  // both ways must allow it
  EXPECT_EQ(SampleLevel(4000, 3000, 10, 10), 3);    // at most level 3
  EXPECT_EQ(SampleLevel(4, 4, 0, 0), 2);            // at least one pixel each way
  EXPECT_EQ(SampleLevel(1000, 1000, std::numeric_limits<double>::quiet_NaN(), 1), 0);
}

}  // namespace
}  // namespace kiv
