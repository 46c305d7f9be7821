// The standard kinds read from project text: each kind word, in any case, makes its
// kind, which takes its own keys and then the common ones.
#include <gtest/gtest.h>

#include "model/kinds_test_support.h"
#include "model/kiv_box.h"
#include "model/kiv_button.h"
#include "model/kiv_frame.h"
#include "model/kiv_mask.h"
#include "model/kiv_text.h"
#include "model/kiv_video.h"
#include "model/kiv_viewport.h"

namespace kiv {
namespace {

TEST_F(KindsTest, EveryKindWordMakesItsKindWithItsKeys) {
  Read(
      "[Slide1]\n"
      "object A: Image\n  AnimColumns=4\n  AnimCount=4\n  AnimInterval=200,300\n  Filtering=NEAREST\nend\n"
      "object B: MAINIMAGE\n  AnimColumns=0\n  AnimRows=0\nend\n"
      "object C: Box\n  FillMode=solid\n  Size=400,300\nend\n"
      "object D: Text\n  TextAlign=right\n  FontStyle=Bold,italic\n  BlackBoxSize=300,-80\nend\n"
      "object E: TextComment\n  ShadowEnable=0\nend\n"
      "object F: BUTTON\nend\n"
      "object G: Frame\n  FillMode=TRBLGradient\nend\n"
      "object H: ViewPort\n  Size=640,480\n"
      "  object I: Mask\n    ImageName=star\n    Antialiased=1\n    AnimColumns=3\n  end\n"
      "end\n"
      "object J: MainVideo\n  DeinterlaceType=BobOdd\n  FileName=none.avi\n  StartKIVTime=250\nend\n");
  ASSERT_EQ(slide->Children().size(), 9u);

  const auto& strip = ChildAs<TKivImage>(0);
  EXPECT_FALSE(strip.ImageKeys().MainImage);
  EXPECT_EQ(strip.ImageKeys().Filtering, TFiltering::Nearest);
  EXPECT_EQ(strip.Grid().FrameCount(), 4);
  EXPECT_EQ(strip.Grid().FrameDuration(0), 200);
  for (int frame = 1; frame < 4; ++frame) EXPECT_EQ(strip.Grid().FrameDuration(frame), 300) << frame;
  const auto& main = ChildAs<TKivImage>(1);
  EXPECT_TRUE(main.ImageKeys().MainImage);
  EXPECT_EQ(main.Grid().Columns(), 1);  // no columns or rows: one frame of the whole picture
  EXPECT_EQ(main.Grid().Rows(), 1);
  EXPECT_FALSE(main.Shadow().Enabled);

  const auto& box = ChildAs<TKivBox>(2);
  EXPECT_EQ(box.BoxKeys().Fill, TBoxFill::Solid);  // "solid" is not recognised: the default
  EXPECT_EQ(box.Size(), (TSizeF{400, 300}));

  const auto& text = ChildAs<TKivText>(3);
  EXPECT_FALSE(text.TextKeys().Caption);
  EXPECT_EQ(text.TextKeys().Align, TTextAlign::Right);
  EXPECT_EQ(text.TextKeys().FontStyle, kFontBold);  // style names are exact
  EXPECT_FALSE(text.ImageKeys().Antialiased);
  EXPECT_EQ(text.Size(), (TSizeF{300, 0}));  // a negative side counts as 0
  EXPECT_TRUE(text.Shadow().Enabled);        // texts cast a shadow unless told otherwise
  EXPECT_TRUE(ChildAs<TKivText>(4).TextKeys().Caption);
  EXPECT_FALSE(Child(4).Shadow().Enabled);

  ChildAs<TKivButton>(5);
  const auto& frame = ChildAs<TKivFrame>(6);
  EXPECT_EQ(frame.BoxKeys().Fill, TBoxFill::TRBLGradient);
  EXPECT_EQ(frame.Size(), (TSizeF{0, 0}));  // no "Size"
  AdvanceTo(100);
  EXPECT_EQ(frame.Frame().AxisX, (TVector3{0, 0, 0}));  // fit factor 0

  const auto& port = ChildAs<TKivViewPort>(7);
  EXPECT_EQ(port.Size(), (TSizeF{640, 480}));
  const auto& mask = dynamic_cast<const TKivMask&>(*port.Children().at(0));
  EXPECT_FALSE(mask.ImageKeys().Antialiased);
  EXPECT_EQ(mask.Grid().Columns(), 1);

  const auto& video = ChildAs<TKivVideo>(8);
  EXPECT_TRUE(video.MainVideo());
  EXPECT_EQ(video.Deinterlace(), TDeinterlace::BobOdd);
  EXPECT_EQ(video.VideoKeys().FileName, u"none.avi");
  EXPECT_EQ(video.VideoKeys().StartKivTime, 250);

  // A viewport keeps its size when a re-read gives none; a box takes 0 × 0.
  Read("[Slide1]\nobject C: box\n  GUID=" + Utf16ToUtf8(box.Guid()) + "\nend\nobject H: viewport\n  GUID=" +
           Utf16ToUtf8(port.Guid()) + "\nend\n",
       true);
  EXPECT_EQ(Child(0).Size(), (TSizeF{0, 0}));
  EXPECT_EQ(Child(1).Size(), (TSizeF{640, 480}));
}

}  // namespace
}  // namespace kiv
