// Button pictures: their names, the layout of a skin look from a real skin picture
// (corners unscaled, edges and centre stretched), the aqua fall-back, and the button
// object that asks for them.
#include "model/button_picture.h"

#include <gtest/gtest.h>

#include "base/picture_budget.h"
#include "model/button_picture_name.h"
#include "model/kinds_test_support.h"
#include "model/kiv_button.h"
#include "support/pixels.h"

namespace kiv {
namespace {

// The skin picture: nine 4 × 3 cells, a white pixel inside two of the corners.
constexpr uint32_t kLeftTop = 0xFFFF0000, kTop = 0xFF00FF00, kRightTop = 0xFF0000FF, kLeft = 0xFFFFFF00,
                   kCenter = 0xFF00FFFF, kRight = 0xFFFF00FF, kBottom = 0xFF008000, kRightBottom = 0xFF000080,
                   kWhite = 0xFFFFFFFF;

constexpr std::string_view kGlassSkin =
    "[NormalState]\n"
    "LeftTop=glass.png,0,0,4,3\nTop=glass.png,4,0,8,3\nRightTop=glass.png,8,0,12,3\n"
    "Left=glass.png,0,3,4,6\nCenter=glass.png,4,3,8,6\nRight=glass.png,8,3,12,6\n"
    "LeftBottom=glass.png,0,6,4,9\nBottom=glass.png,4,6,8,9\nRightBottom=glass.png,8,6,12,9\n"
    "[HoverState]\n"
    "Center=glass.png,0,0,4,3\n"
    "[TextParams]\n"
    "BtnMinWidth=250\n"
    "Filtering=Nearest\n";

class ButtonPictureTest : public KindsTest {
 protected:
  void MakeSkin(const std::string& skinFolder, std::string_view skin) {
    PutFile(skinFolder + "/btn.ini", skin);
    Magick(
        "-size 12x9 xc:'#800000' -fill '#FF0000' -draw 'rectangle 0,0 3,2' -fill '#00FF00' -draw 'rectangle 4,0 7,2' "
        "-fill '#0000FF' -draw 'rectangle 8,0 11,2' -fill '#FFFF00' -draw 'rectangle 0,3 3,5' "
        "-fill '#00FFFF' -draw 'rectangle 4,3 7,5' -fill '#FF00FF' -draw 'rectangle 8,3 11,5' "
        "-fill '#008000' -draw 'rectangle 4,6 7,8' -fill '#000080' -draw 'rectangle 8,6 11,8' "
        "-fill white -draw 'point 1,1' -draw 'point 10,7' PNG32:'" + skinFolder + "/glass.png'");
  }
};

TEST(ButtonPictureName, RoundTripsAndRefusesWhatItDidNotWrite) {
  const TButtonPictureRequest request{u"C:\\Skins:old\\Glass", TButtonState::Hover, {40, 20}, {-30, 20, 0}};
  EXPECT_EQ(ButtonPictureName(request), u"Button: 40:20:1:-30:20:0:C:\\Skins:old\\Glass");
  EXPECT_EQ(ParseButtonPictureName(ButtonPictureName(request)), request);
  for (std::u16string_view bad : {u"Button: 0:20:0:0:0:0:x", u"Button: 40:20:3:0:0:0:x", u"Button: 40:20:0:0:0:x",
                                  u"Button: 4x:20:0:0:0:0:x", u"Button: 40:20:0:x", u"Text: 1:2:3:4"})
    EXPECT_FALSE(ParseButtonPictureName(bad));
  // Colour values from a damaged name are brought into their ranges.
  const std::optional<TButtonPictureRequest> wild = ParseButtonPictureName(u"Button: 4:4:0:999:-500:101:x");
  ASSERT_TRUE(wild);
  EXPECT_EQ(wild->Colours, (THslShift{180, -100, 100}));
}

TEST_F(ButtonPictureTest, CornersKeepTheirSizeEdgesAndCentreStretch) {
  MakeSkin("Skins/Glass", kGlassSkin);
  const std::shared_ptr<TBitmapStore> picture = host.LoadPicture(u"Button: 40:20:0:0:0:0:Skins\\Glass");
  ASSERT_TRUE(picture && picture->Width() == 40 && picture->Height() == 20);
  const struct {
    int X, Y;
    uint32_t Colour;
  } expected[] = {{1, 1, kWhite},  {2, 1, kLeftTop},  {3, 2, kLeftTop}, {4, 0, kTop},        {35, 2, kTop},
                  {36, 0, kRightTop}, {3, 16, kLeft}, {20, 10, kCenter}, {39, 16, kRight},   {20, 19, kBottom},
                  {36, 17, kRightBottom}, {38, 18, kWhite}, {39, 18, kRightBottom}};
  for (const auto& pixel : expected) EXPECT_EQ(PixelAt(*picture, pixel.X, pixel.Y), pixel.Colour) << pixel.X << "," << pixel.Y;

  // A look with a centre only: the centre fills the button.
  const std::shared_ptr<TBitmapStore> hover = host.LoadPicture(u"Button: 40:20:1:0:0:0:Skins\\Glass");
  EXPECT_EQ(PixelAt(*hover, 0, 0), kLeftTop);
  EXPECT_EQ(PixelAt(*hover, 39, 19), kLeftTop);
}

TEST_F(ButtonPictureTest, ACanvasOverThePictureBudgetIsRefused) {
  MakeSkin("Skins/Glass", kGlassSkin);
  SetPictureMemoryBudget(int64_t(1) << 20);  // 512 × 512 pixels
  EXPECT_NE(host.LoadPicture(u"Button: 500:500:0:0:0:0:Skins\\Glass"), nullptr);
  EXPECT_EQ(host.LoadPicture(u"Button: 20000:600:0:0:0:0:Skins\\Glass"), nullptr);
  SetPictureMemoryBudget(std::nullopt);
}

TEST(ButtonPicture, PartsOutsideTheirPictureOrWithoutOneStayClear) {
  TButtonSkinState state;
  state.Pieces[size_t(TSkinPart::LeftTop)] = {u"p", 0, 0, 2, 2};
  state.Pieces[size_t(TSkinPart::Center)] = {u"p", 1, 1, 9, 9};    // beyond the 4 × 4 picture
  state.Pieces[size_t(TSkinPart::Right)] = {u"gone", 0, 0, 2, 2};  // no such picture
  state.Pieces[size_t(TSkinPart::Bottom)] = {u"p", 3, 3, 1, 1};    // upside down: empty
  EXPECT_EQ(NaturalSize(state), (TPixelSize{10, 8}));
  auto source = std::make_shared<TBitmap>(4, 4, TPixelFormat::Bgra32);
  for (int y = 0; y < 4; ++y) std::fill(source->Row(y), source->Row(y) + 16, uint8_t(0xFF));
  const std::unique_ptr<TBitmap> picture = ComposeButtonPicture(
      state, {10, 10}, [&source](std::u16string_view name) { return name == u"p" ? source : nullptr; });
  EXPECT_EQ(picture->Row(0)[0], 0xFF);
  for (const auto& [x, y] : {std::pair{5, 5}, {9, 5}, {5, 9}}) EXPECT_EQ(picture->Row(y)[4 * x], 0) << x << "," << y;
}

TEST_F(ButtonPictureTest, ButtonTakesItsSkinOrAquaAndDrawsTheLookItIsIn) {
  MakeSkin("Skins/Glass", kGlassSkin);
  MakeSkin("Skins/aqua", "[NormalState]\nCenter=glass.png,4,3,8,6\n");
  host.SetButtonPath(u"Skins\\");
  Read(
      "[Slide1]\n"
      "object A: Button\n  Theme=Glass\n  BtnOpacity=50\n  Filtering=Bilinear\nend\n"
      "object B: button\n  Theme=Chrome\n  BtnMinWidth=50\nend\n"
      "object C: button\n  Theme=Glass\n  BtnMinWidth=100\nend\n");
  Prepare();
  TKivButton& glass = ChildAs<TKivButton>(0);
  EXPECT_EQ(glass.Skin()->Theme, u"Glass");
  EXPECT_EQ(glass.Size(), (TSizeF{30, 9}));  // the skin's minimum: 250 % of its 12 pixels
  EXPECT_EQ(PixelAt(*glass.Picture(), 1, 1), kWhite);
  EXPECT_EQ(Child(2).Size(), (TSizeF{12, 9}));  // the project's minimum wins

  // A theme the show lacks takes the aqua skin; never narrower than the skin.
  const TKivButton& fallback = ChildAs<TKivButton>(1);
  EXPECT_EQ(fallback.Skin()->Theme, u"aqua");
  EXPECT_EQ(fallback.Size(), (TSizeF{4, 3}));
  EXPECT_EQ(PixelAt(*fallback.Picture(), 2, 1), kCenter);

  TRecordingDrawer drawer;
  AdvanceTo(100);
  glass.Draw(drawer);
  glass.SetLook(TButtonState::Hover);
  glass.Draw(drawer);
  ASSERT_EQ(drawer.Images.size(), 2u);
  EXPECT_FLOAT_EQ(drawer.Images[0].Params.Opacity, 50);               // "BtnOpacity"
  EXPECT_EQ(drawer.Images[0].Params.Sampling, TSampling::Nearest);  // the skin's
  EXPECT_EQ(PixelAt(*glass.Picture(), 1, 1), kLeftTop);             // the hover look
  EXPECT_EQ(drawer.Images[1].Picture, glass.Picture().get());

  // Without the aqua skin too, a button shows nothing.
  host.SetButtonPath(u"Elsewhere\\");
  Read("[Slide1]\nobject A: button\n  Theme=Glass\nend\n");
  Prepare();
  EXPECT_EQ(ChildAs<TKivButton>(0).Picture(), nullptr);
  EXPECT_EQ(Child(0).Size(), (TSizeF{0, 0}));
}

// "Hue", "Saturation" and "Lightness" recolour the skin the button shows.
TEST_F(ButtonPictureTest, ButtonColourKeysRecolourItsSkin) {
  MakeSkin("Skins/Glass", kGlassSkin);
  host.SetButtonPath(u"Skins\\");
  Read(
      "[Slide1]\n"
      "object A: Button\n  Theme=Glass\n  Hue=120\nend\n"
      "object B: Button\n  Theme=Glass\n  Saturation=-100\n  Lightness=-100\nend\n");
  Prepare();
  EXPECT_EQ(PixelAt(*ChildAs<TKivButton>(0).Picture(), 2, 1), kTop);  // red turned a third of the way round
  EXPECT_EQ(PixelAt(*ChildAs<TKivButton>(0).Picture(), 1, 1), kWhite);
  EXPECT_EQ(PixelAt(*ChildAs<TKivButton>(1).Picture(), 1, 1), 0xFF000000u);
}

TEST(ButtonPictureProvider, DoesNotKeepTheFileSourceAlive) {
  std::weak_ptr<TFileSource> watched;
  {
    auto source = std::make_shared<TRealFileSource>(u"/nowhere/");
    watched = source;
    TFileAccessor accessor(source, u"/nowhere/");
    TKivSlideHost host(&accessor, StandardObjectKinds());
    InstallStandardPictureProviders(host);
    EXPECT_EQ(host.LoadPicture(u"Button: 10:10:0:0:0:0:Skins\\Glass"), nullptr);  // no skin anywhere
  }
  EXPECT_TRUE(watched.expired());
}

}  // namespace
}  // namespace kiv

namespace kiv {
namespace {

// A button's picture is made, not read, so its shadow is made from the picture itself.
TEST_F(ButtonPictureTest, ButtonsCastTheShadowOfTheirSkin) {
  MakeSkin("Skins/Glass", kGlassSkin);
  host.SetButtonPath(u"Skins\\");
  Read("[Slide1]\nobject A: Button\n  Theme=Glass\n  ShadowEnable=1\n  ShadowAngle=90\nend\n");
  Prepare();
  TRecordingDrawer drawer;
  AdvanceTo(100);
  Child(0).Draw(drawer);
  ASSERT_EQ(drawer.Images.size(), 2u);
  const TImageDraw& shadow = drawer.Images[0];
  ASSERT_NE(shadow.Picture, nullptr);
  EXPECT_NE(shadow.Picture, ChildAs<TKivButton>(0).Picture().get());
  EXPECT_GT(shadow.Picture->Width(), 30);  // the skin's size and the blur's border
  EXPECT_GT(shadow.Place.Origin.Y + shadow.Place.AxisY.Y, drawer.Images[1].Place.Origin.Y + drawer.Images[1].Place.AxisY.Y);
}

// A caption is as high as the skin's caption area, widens its button to fit, and draws
// over the button in the skin's caption colour at "TxtOpacity".
TEST_F(ButtonPictureTest, CaptionsWidenTheButtonAndDrawInTheSkinsColour) {
  MakeSkin("Skins/Glass", std::string(kGlassSkin) + "Color=10,20,30\n");
  host.SetButtonPath(u"Skins\\");
  Read("[Slide1]\nobject A: Button\n  Theme=Glass\nend\nobject B: Button\n  Theme=Glass\n"
       "  Text=A long caption for the button\n  FontName=DejaVu Sans\n  TxtOpacity=50\nend\n");
  Prepare();
  EXPECT_EQ(Child(0).Size(), (TSizeF{30, 9}));  // the skin's minimum width
  EXPECT_GT(Child(1).Size().Width, 40);
  EXPECT_EQ(Child(1).Size().Height, 9);
  TRecordingDrawer drawer;
  AdvanceTo(100);
  Child(1).Draw(drawer);
  ASSERT_EQ(drawer.Images.size(), 2u);
  const TImageDraw &body = drawer.Images[0], &caption = drawer.Images[1];
  EXPECT_TRUE(caption.Params.Tinted);
  EXPECT_EQ(caption.Params.TintColor, MakeColor(10, 20, 30));
  EXPECT_FLOAT_EQ(caption.Params.Opacity, 50);
  // Inside the caption area (with the picture's margin of a pixel or so).
  const float pixel = body.Place.AxisX.X / Child(1).Size().Width;
  EXPECT_GT(caption.Place.Origin.X, body.Place.Origin.X + 2 * pixel);
  EXPECT_LT(caption.Place.Origin.X + caption.Place.AxisX.X, body.Place.Origin.X + body.Place.AxisX.X - 2 * pixel);
  slide->ReleaseDeviceObjects(drawer);
}

// Shadows are made while the slide is prepared (by the slide loader), at any size the
// button is shown: drawing never makes one.
TEST_F(ButtonPictureTest, ShadowsAreMadeWhenPreparedAndKeptWhenShownSmall) {
  MakeSkin("Skins/Glass", kGlassSkin);
  host.SetButtonPath(u"Skins\\");
  const std::string small = "[Slide1]\nobject A: Button\n  Theme=Glass\n  ShadowEnable=1\n"
                            "  object K: keypoint\n    ScaleX=20\n    ScaleY=20\n  end\nend\n";
  for (const bool prepared : {false, true}) {
    Read(small);
    if (prepared) Prepare();
    AdvanceTo(100);
    TRecordingDrawer drawer;
    Child(0).Draw(drawer);
    EXPECT_EQ(drawer.Images.size(), prepared ? 2u : 1u) << prepared;
    EXPECT_EQ(drawer.Images.back().Picture, ChildAs<TKivButton>(0).Picture().get());
  }
}

}  // namespace
}  // namespace kiv
