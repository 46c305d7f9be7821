// What each kind asks of the drawer: placement, picture parameters, box kinds and
// colours, frame bars, text tints, masked groups, and the device objects handed back.
#include <gtest/gtest.h>

#include "model/kinds_test_support.h"
#include "model/kiv_image.h"
#include "model/kiv_text.h"
#include "model/object_quad.h"

namespace kiv {
namespace {

TEST_F(KindsTest, PictureIsDrawnAtItsPlacementWithItsParameters) {
  Magick("-size 400x300 xc:red photo.png");
  const std::string keys = "  GUID=P\n  ImageName=photo.png\n  Filtering=Bilinear\n  MipLodBias=0.5\n";
  Read("[Slide1]\nobject Pic: image\n" + keys + "  EnableBorder=1\n  BorderColor=1,2,3,4\n  DeltaTime1=500\n" +
       "  object K: keypoint\n    ScaleX=50\n    ScaleY=50\n    Opacity=40\n  end\nend\n");
  Prepare();
  TRecordingDrawer drawer;
  AdvanceTo(100);  // before its window
  slide->Draw(drawer);
  EXPECT_TRUE(drawer.Images.empty());

  AdvanceTo(1000);
  slide->Draw(drawer);
  ASSERT_EQ(drawer.Images.size(), 1u);
  const TImageDraw& call = drawer.Images[0];
  EXPECT_EQ(call.Picture, ChildAs<TKivImage>(0).Picture().get());
  // Fitted into the slide (k = 2) at half scale: its own 400 × 300 pixels, centred.
  ExpectNear(call.Place.Origin, {200, 150, 0});
  ExpectNear(call.Place.AxisX, {400, 0, 0});
  ExpectNear(call.Place.AxisY, {0, 300, 0});
  EXPECT_TRUE(call.Params.Smooth);
  EXPECT_FLOAT_EQ(call.Params.Opacity, 40);
  EXPECT_EQ(call.Params.Sampling, TSampling::Bilinear);
  EXPECT_EQ(call.Params.Level, 0);
  EXPECT_FLOAT_EQ(call.Params.MipLodBias, 0.5f);
  EXPECT_FLOAT_EQ(call.Params.BorderWidth, 3.4f);
  EXPECT_EQ(call.Params.BorderColor, MakeColor(1, 2, 3, 4));
  EXPECT_FALSE(call.Params.Tinted);

  // Shown at a fifth of its pixels it is sampled from level 2.
  Read("[Slide1]\nobject Pic: image\n" + keys + "  object K: keypoint\n    ScaleX=10\n    ScaleY=10\n  end\nend\n", true);
  AdvanceTo(2000);
  slide->Draw(drawer);
  EXPECT_EQ(drawer.Images.at(1).Params.Level, 2);
  EXPECT_FLOAT_EQ(drawer.Images[1].Params.BorderWidth, 0);

  // The textures the drawer made are handed back once.
  slide->ReleaseDeviceObjects(drawer);
  slide->ReleaseDeviceObjects(drawer);
  EXPECT_EQ(drawer.FreedStores, 1);
}

TEST_F(KindsTest, BoxesMapTheirFillToTheDrawerKindsAndFramesDrawBars) {
  Read(
      "[Slide1]\n"
      "object S: box\n  Size=400,300\n  Color1=255,0,0\n  Color2=0,0,255\n  Alpha1=128\n  Antialiased=1\n"
      "  object K: keypoint\n    Opacity=50\n  end\nend\n"
      "object H: box\n  Size=400,300\n  FillMode=HGradient\n  Color2=0,0,255\n  Alpha2=7\nend\n"
      "object V: box\n  Size=400,300\n  FillMode=VGradient\nend\n"
      "object D1: box\n  Size=400,300\n  FillMode=TLBRGradient\nend\n"
      "object D2: box\n  Size=400,300\n  FillMode=TRBLGradient\nend\n"
      "object None: box\nend\n"
      "object F: frame\n  Size=400,300\n  Color1=0,255,0\n  Alpha1=9\n  Antialiased=1\nend\n"
      "object Thin: frame\n  Size=30,1\nend\n");
  TRecordingDrawer drawer;
  AdvanceTo(100);
  slide->Draw(drawer);
  ASSERT_EQ(drawer.Boxes.size(), 5u);  // the box without size draws nothing
  const uint8_t kinds[] = {8, 6, 5, 0, 1};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(drawer.Boxes[i].second.Kind, kinds[i]) << i;
  const TBoxParams& solid = drawer.Boxes[0].second;
  EXPECT_EQ(solid.Color1, MakeColor(255, 0, 0, 128));
  EXPECT_EQ(solid.Color2, solid.Color1);
  EXPECT_FLOAT_EQ(solid.Opacity, 50);
  EXPECT_TRUE(solid.SoftLeft && solid.SoftTop && solid.SoftRight && solid.SoftBottom);
  EXPECT_EQ(drawer.Boxes[1].second.Color2, MakeColor(0, 0, 255, 7));
  EXPECT_FALSE(drawer.Boxes[1].second.SoftTop);
  ExpectNear(drawer.Boxes[0].first.Origin, {0, 0, 0});  // fitted over the whole slide
  ExpectNear(drawer.Boxes[0].first.AxisX, {800, 0, 0});

  ASSERT_EQ(drawer.Frames.size(), 2u);
  EXPECT_EQ(drawer.Frames[0].Color, MakeColor(0, 255, 0, 9));
  EXPECT_FLOAT_EQ(drawer.Frames[0].ThicknessX, 6);  // a fiftieth of the smaller side
  EXPECT_FLOAT_EQ(drawer.Frames[0].ThicknessY, 6);
  EXPECT_TRUE(drawer.Frames[0].Soft);
  EXPECT_FLOAT_EQ(drawer.Frames[1].ThicknessX, 1);     // at least one pixel …
  EXPECT_FLOAT_EQ(drawer.Frames[1].ThicknessY, 0.5f);  // … but never past the middle
}

// A text renders its lines from the installed fonts, scaled to fit its box without
// stretching, placed in it by its alignment, and drawn in the colour of its look.
TEST_F(KindsTest, TextRendersToFitItsBoxAndIsTintedByLook) {
  const auto text = [](const std::string& colour) {
    return "[Slide1]\nobject T: text\n  GUID=T\n  Text=\"Two^&Lines: yes\"\n  TextColor=" + colour +
           "\n  TextColorHover=0,0,255\n  FontName=DejaVu Sans\n  FontStyle=Bold,StrikeOut\n  TextAlign=Right\n"
           "  BlackBoxSize=300,80\n  ShadowEnable=0\nend\n";
  };
  Read(text("255,0,0"));
  Prepare();
  TKivText& title = ChildAs<TKivText>(0);
  EXPECT_EQ(title.Size(), (TSizeF{300, 80}));  // the box, not the picture
  ASSERT_TRUE(title.Picture() && title.Fit());
  EXPECT_TRUE(title.Fit()->Params.Lines == (std::vector<std::u16string>{u"Two", u"Lines: yes"}));
  EXPECT_EQ(title.Fit()->Params.Style, kFontBold | kFontStrikeOut);

  TRecordingDrawer drawer;
  AdvanceTo(100);
  title.Draw(drawer);
  title.SetLook(TButtonState::Hover);
  title.Draw(drawer);
  ASSERT_EQ(drawer.Images.size(), 2u);
  const TImageDraw& drawn = drawer.Images[0];
  EXPECT_EQ(drawn.Picture, title.Picture().get());
  EXPECT_TRUE(drawn.Params.Tinted);
  EXPECT_FALSE(drawn.Params.Smooth);
  EXPECT_EQ(drawn.Params.TintColor, MakeColor(255, 0, 0));
  EXPECT_EQ(drawer.Images[1].Params.TintColor, MakeColor(0, 0, 255));
  // Unstretched: the picture's pixels map one to one onto the box's (here fitted into
  // the slide at twice the size), and the right-aligned text ends at the box's right.
  const TQuadPlace box = ObjectQuad(title);
  const float scale = box.AxisX.X / 300;
  EXPECT_NEAR(drawn.Place.AxisX.X, title.Picture()->Width() * scale, 1e-3);
  EXPECT_NEAR(drawn.Place.AxisY.Y, title.Picture()->Height() * scale, 1e-3);
  EXPECT_NEAR(drawn.Place.Origin.X + drawn.Place.AxisX.X, box.Origin.X + box.AxisX.X, 4 * scale);
  EXPECT_GE(drawn.Place.Origin.Y, box.Origin.Y - scale);
  EXPECT_LE(drawn.Place.Origin.Y + drawn.Place.AxisY.Y, box.Origin.Y + box.AxisY.Y + scale);

  // A look or the same text renders nothing new; a new colour does; an empty text has none.
  const TBitmapStore* first = title.Picture().get();
  Read(text("255,0,0"), true);
  Prepare();
  EXPECT_EQ(title.Picture().get(), first);
  Read(text("255,0,1"), true);
  Prepare();
  EXPECT_NE(title.Picture().get(), first);
  Read("[Slide1]\nobject T: text\n  GUID=T\n  Text=\n  BlackBoxSize=120,30\nend\n", true);
  Prepare();
  EXPECT_FALSE(title.Fit());
  EXPECT_EQ(title.Size(), (TSizeF{120, 30}));
}

// A rasterized text shows the stored picture its "RasterizedGUID" names, in the
// picture's own colours and in the text's box; without a name it renders as usual.
TEST_F(KindsTest, RasterizedTextShowsItsStoredPicture) {
  Magick("-size 64x16 xc:red stored.png");
  Read("[Slide1]\nobject T: text\n  Text=Hello\n  Rasterize=1\n  RasterizedGUID=stored.png\n"
       "  BlackBoxSize=200,50\n  ShadowEnable=0\nend\n"
       "object U: text\n  Text=Hello\n  Rasterize=1\n  BlackBoxSize=200,50\n  ShadowEnable=0\nend\n");
  Prepare();
  ASSERT_TRUE(ChildAs<TKivText>(0).Picture());
  EXPECT_EQ(ChildAs<TKivText>(0).Picture()->Width(), 64);
  EXPECT_TRUE(ChildAs<TKivText>(1).Fit());
  EXPECT_EQ(Child(0).Size(), (TSizeF{200, 50}));
  TRecordingDrawer drawer;
  AdvanceTo(100);
  slide->Draw(drawer);
  ASSERT_EQ(drawer.Images.size(), 2u);
  EXPECT_FALSE(drawer.Images[0].Params.Tinted);
  ExpectNear(drawer.Images[0].Place.AxisX, ObjectQuad(Child(0)).AxisX);
  EXPECT_TRUE(drawer.Images[1].Params.Tinted);
}

TEST_F(KindsTest, ViewportClipsItsOtherChildrenByItsShownMasks) {
  host.AddPictureProvider([](std::u16string_view name) {
    return name == u"Mask: star" ? BlankPicture(50, 50) : nullptr;
  });
  const std::string star = "  object Star: mask\n    ImageName=star\n";
  const std::string back = "  object Back: box\n    Size=10,10\n  end\n";
  Read("[Slide1]\nobject Port: viewport\n  object K: keypoint\n    Opacity=50\n  end\n" + star +
       "    object K: keypoint\n      Opacity=80\n    end\n  end\n" + back +  //
       "end\nobject Late: viewport\n" + star + "    DeltaTime1=5000\n  end\n" + back +
       "end\nobject Holes: viewport\n" + star + "  end\nend\n");
  Prepare();
  AdvanceTo(100);
  EXPECT_TRUE(slide->MasksShown());
  TRecordingDrawer drawer;
  slide->Draw(drawer);
  ASSERT_EQ(drawer.Masked.size(), 2u);
  ASSERT_EQ(drawer.Masked[0].Masks.size(), 1u);
  EXPECT_FLOAT_EQ(drawer.Masked[0].Masks[0].Params.Opacity, 40);  // its own, times the viewport's / 100
  EXPECT_EQ(drawer.Masked[0].ContentBoxes, 1u);
  // The viewport whose mask is not shown yet draws its box plainly; masks only: clipped.
  EXPECT_EQ(drawer.Boxes.size(), 2u);
  EXPECT_EQ(drawer.Masked[1].Masks.size(), 1u);
  EXPECT_EQ(drawer.Masked[1].ContentBoxes, 0u);
  EXPECT_TRUE(drawer.Images.empty());  // a mask never shows as a picture

  Read("[Slide1]\nobject Late: viewport\n" + star + "    DeltaTime1=5000\n  end\nend\n");
  AdvanceTo(200);
  EXPECT_FALSE(slide->MasksShown());
  AdvanceTo(6000);
  EXPECT_TRUE(slide->MasksShown());
}

}  // namespace
}  // namespace kiv

namespace kiv {
namespace {

TEST_F(KindsTest, SlidesDrawTheirBackgroundBehindTheObjectsAndDialogsDoNot) {
  Magick("-size 400x100 xc:green wide.png");
  Read(
      "[main]\nopt_bstyle=3\nopt_bcolorstyle=2\nopt_bcolor1=$102030\nopt_bcolor2=$405060\n"
      "[Slide1]\nobject B: box\n  Size=10,10\nend\n"
      "[Slide2]\nUsePersonal=1\nPers_Fon=1\nbstyle=2\nbname=wide.png\nbsize=50\n");
  AdvanceTo(0);
  TRecordingDrawer plain;
  slide->Draw(plain);
  ASSERT_EQ(plain.Boxes.size(), 1u);  // read without a background, as dialogs are

  const TIniSection& main = *project->FindSection(u"main");
  slide->ReadBackground(main, project->FindSection(u"Slide1"));
  AdvanceTo(0);
  TRecordingDrawer drawer;
  slide->Draw(drawer);
  ASSERT_EQ(drawer.Boxes.size(), 2u);
  const auto& [place, box] = drawer.Boxes[0];
  EXPECT_EQ(box.Kind, 6);  // left to right
  EXPECT_EQ(box.Color1, 0xFF102030u);
  EXPECT_EQ(box.Color2, 0xFF405060u);
  ExpectNear(place.Origin, {0, 0, 0});
  ExpectNear(place.AxisX, {800, 0, 0});
  ExpectNear(place.AxisY, {0, 600, 0});

  // A picture on black, fitted inside the slide at half its size.
  slide->ReadBackground(main, project->FindSection(u"Slide2"));
  Prepare();
  AdvanceTo(0);
  TRecordingDrawer withPicture;
  slide->Draw(withPicture);
  EXPECT_EQ(withPicture.Boxes.at(0).second.Color1, 0xFF000000u);
  ASSERT_EQ(withPicture.Images.size(), 1u);
  ExpectNear(withPicture.Images[0].Place.Origin, {200, 250, 0});
  ExpectNear(withPicture.Images[0].Place.AxisX, {400, 0, 0});
  ExpectNear(withPicture.Images[0].Place.AxisY, {0, 100, 0});
}

}  // namespace
}  // namespace kiv

namespace kiv {
namespace {

// The loader may advance a slide before its pictures arrive; the frame of that same
// time must still show them where they belong.
TEST_F(KindsTest, PicturesLoadedAfterTheSlideWasAdvancedArePlacedAtTheSameTime) {
  Magick("-size 400x300 xc:red photo.png");
  Read("[Slide1]\nobject Pic: image\n  ImageName=photo.png\n  object K: keypoint\n    ScaleX=50\n    ScaleY=50\n"
       "  end\nend\n");
  AdvanceTo(1000);
  Prepare();
  AdvanceTo(1000);
  TRecordingDrawer drawer;
  slide->Draw(drawer);
  ASSERT_EQ(drawer.Images.size(), 1u);
  ExpectNear(drawer.Images[0].Place.Origin, {200, 150, 0});
  ExpectNear(drawer.Images[0].Place.AxisX, {400, 0, 0});
}

}  // namespace
}  // namespace kiv
