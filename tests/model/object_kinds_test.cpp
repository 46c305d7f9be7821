// The standard kinds read from project text: each kind word (in any case) makes its
// kind, which takes its own keys and defaults and then the common ones.
#include <gtest/gtest.h>

#include "model/kinds_test_support.h"
#include "model/kiv_box.h"
#include "model/kiv_button.h"
#include "model/kiv_frame.h"
#include "model/kiv_image.h"
#include "model/kiv_mask.h"
#include "model/kiv_text.h"
#include "model/kiv_viewport.h"

namespace kiv {
namespace {

TEST_F(KindsTest, EveryKindWordMakesItsKindInAnyCase) {
  Read(
      "[Slide1]\n"
      "object A: Image\nend\n"
      "object B: MAINIMAGE\nend\n"
      "object C: Box\nend\n"
      "object D: Text\nend\n"
      "object E: TextComment\nend\n"
      "object F: BUTTON\nend\n"
      "object G: Frame\nend\n"
      "object H: ViewPort\nend\n"
      "object I: Mask\nend\n"
      "object J: MainVideo\nend\n");
  ASSERT_EQ(slide->Children().size(), 9u);  // no kind for video yet
  ChildAs<TKivImage>(0);
  EXPECT_TRUE(ChildAs<TKivImage>(1).ImageKeys().MainImage);
  EXPECT_FALSE(ChildAs<TKivImage>(0).ImageKeys().MainImage);
  ChildAs<TKivBox>(2);
  EXPECT_FALSE(ChildAs<TKivText>(3).TextKeys().Caption);
  EXPECT_TRUE(ChildAs<TKivText>(4).TextKeys().Caption);
  ChildAs<TKivButton>(5);
  ChildAs<TKivFrame>(6);
  ChildAs<TKivViewPort>(7);
  ChildAs<TKivMask>(8);
  EXPECT_EQ(dynamic_cast<TKivImage*>(&Child(2)), nullptr);
  EXPECT_EQ(Child(6).Kind(), u"frame");
}

TEST_F(KindsTest, PictureKeysAndAnimationGrid) {
  Read(
      "[Slide1]\n"
      "object Plain: image\nend\n"
      "object Strip: image\n"
      "  Antialiased=0\n"
      "  Filtering=NEAREST\n"
      "  ImageName=strip.png\n"
      "  EnableBorder=1\n"
      "  BorderWidth=2\n"
      "  AnimColumns=4\n"
      "  AnimCount=4\n"
      "  AnimInterval=200,300\n"
      "end\n"
      "object Broken: image\n"
      "  AnimColumns=0\n"
      "  AnimRows=0\n"
      "  Filtering=Smooth\n"
      "end\n");
  const TKivImage& plain = ChildAs<TKivImage>(0);
  EXPECT_TRUE(plain.ImageKeys().Antialiased);
  EXPECT_EQ(plain.ImageKeys().Filtering, TFiltering::Default);
  EXPECT_FALSE(plain.Grid().IsGrid());
  EXPECT_FALSE(plain.Shadow().Enabled);

  const TKivImage& strip = ChildAs<TKivImage>(1);
  EXPECT_FALSE(strip.ImageKeys().Antialiased);
  EXPECT_EQ(strip.ImageKeys().Filtering, TFiltering::Nearest);  // case-insensitive
  EXPECT_EQ(strip.ImageKeys().ImageName, u"strip.png");
  EXPECT_EQ(strip.Grid().FrameCount(), 4);
  EXPECT_EQ(strip.Grid().FrameDuration(0), 200);
  for (int frame = 1; frame < 4; ++frame) EXPECT_EQ(strip.Grid().FrameDuration(frame), 300) << frame;

  // No columns or rows: one frame of the whole picture.
  const TKivImage& broken = ChildAs<TKivImage>(2);
  EXPECT_EQ(broken.Grid().Columns(), 1);
  EXPECT_EQ(broken.Grid().Rows(), 1);
  EXPECT_EQ(broken.Grid().FrameCount(), 1);
  EXPECT_EQ(broken.ImageKeys().Filtering, TFiltering::Default);
}

TEST_F(KindsTest, TextKeysSizeAndShadow) {
  Read(
      "[Slide1]\n"
      "object Title: text\n"
      "  Text=\"Two^&Lines\"\n"
      "  TextColor=255,0,0\n"
      "  TextColorHover=0,255,0\n"
      "  FontStyle=Bold,Italic\n"
      "  TextAlign=right\n"
      "  Antialiased=1\n"
      "  BlackBoxSize=300,80\n"
      "end\n"
      "object Plain: text\n"
      "  FontStyle=bold\n"
      "  BlackBoxSize=-5,40\n"
      "  ShadowEnable=0\n"
      "end\n");
  TKivText& title = ChildAs<TKivText>(0);
  EXPECT_EQ(title.TextKeys().Lines, (std::vector<std::u16string>{u"Two", u"Lines"}));
  EXPECT_EQ(title.TextKeys().FontStyle, kFontBold | kFontItalic);
  EXPECT_EQ(title.TextKeys().Align, TTextAlign::Right);
  EXPECT_FALSE(title.ImageKeys().Antialiased);  // never smoothed
  EXPECT_EQ(title.Size(), (TSizeF{300, 80}));
  EXPECT_TRUE(title.Shadow().Enabled);  // texts cast a shadow unless told otherwise

  // The look picks the colour; the click look falls back to the text colour.
  EXPECT_EQ(title.LookColor(), MakeColor(255, 0, 0));
  title.SetLook(TButtonState::Hover);
  EXPECT_EQ(title.LookColor(), MakeColor(0, 255, 0));
  title.SetLook(TButtonState::Click);
  EXPECT_EQ(title.LookColor(), MakeColor(255, 0, 0));

  const TKivText& plain = ChildAs<TKivText>(1);
  EXPECT_EQ(plain.TextKeys().FontStyle, 0);  // style names are exact
  EXPECT_EQ(plain.TextKeys().Lines, std::vector<std::u16string>{u"Text"});
  EXPECT_EQ(plain.Size(), (TSizeF{0, 40}));  // a negative side counts as 0
  EXPECT_FALSE(plain.Shadow().Enabled);
}

TEST_F(KindsTest, BoxFrameAndViewportSizes) {
  Read(
      "[Slide1]\n"
      "object Solid: box\n"
      "  Size=400,300\n"
      "  FillMode=solid\n"
      "  Color1=10,20,30\n"
      "  Alpha1=128\n"
      "end\n"
      "object Empty: box\n"
      "  FillMode=VGradient\n"
      "end\n"
      "object Outline: frame\n"
      "  Size=200,100\n"
      "  FillMode=TRBLGradient\n"
      "end\n"
      "object Port: viewport\n"
      "  Size=640,480\n"
      "end\n");
  const TKivBox& solid = ChildAs<TKivBox>(0);
  EXPECT_EQ(solid.BoxKeys().Fill, TBoxFill::Solid);  // "solid" is not recognised; the default
  EXPECT_EQ(solid.Size(), (TSizeF{400, 300}));
  EXPECT_EQ(BoxPaint(solid.BoxKeys()).Color1, MakeColor(10, 20, 30, 128));

  const TKivBox& empty = ChildAs<TKivBox>(1);
  EXPECT_EQ(empty.BoxKeys().Fill, TBoxFill::VGradient);
  EXPECT_EQ(empty.Size(), (TSizeF{0, 0}));
  AdvanceTo(1000);
  EXPECT_EQ(empty.Frame().AxisX, (TVector3{0, 0, 0}));  // fit factor 0

  EXPECT_EQ(ChildAs<TKivFrame>(2).BoxKeys().Fill, TBoxFill::TRBLGradient);
  EXPECT_EQ(Child(2).Size(), (TSizeF{200, 100}));
  EXPECT_EQ(Child(3).Size(), (TSizeF{640, 480}));

  // A viewport keeps its size when a re-read gives none; a box does not.
  Reread(
      "[Slide1]\n"
      "object Solid: box\n  GUID=" + Utf16ToUtf8(Child(0).Guid()) + "\nend\n"
      "object Port: viewport\n  GUID=" + Utf16ToUtf8(Child(3).Guid()) + "\nend\n");
  EXPECT_EQ(Child(0).Size(), (TSizeF{0, 0}));
  EXPECT_EQ(Child(1).Size(), (TSizeF{640, 480}));
}

TEST_F(KindsTest, MaskKeysAreNeverSmoothedNorAnimated) {
  Read(
      "[Slide1]\n"
      "object Port: viewport\n"
      "  object Shape: mask\n"
      "    ImageName=star\n"
      "    Antialiased=1\n"
      "    AnimColumns=3\n"
      "    AnimInterval=50\n"
      "  end\n"
      "end\n");
  const auto& mask = dynamic_cast<const TKivMask&>(*Child(0).Children().at(0));
  EXPECT_EQ(mask.ImageKeys().ImageName, u"star");
  EXPECT_FALSE(mask.ImageKeys().Antialiased);
  EXPECT_EQ(mask.Grid().Columns(), 1);
  EXPECT_TRUE(mask.ImageKeys().Anim.Intervals.empty());
}

}  // namespace
}  // namespace kiv
