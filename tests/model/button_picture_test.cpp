// Button pictures: names, the composition of a skin look (corners unscaled, edges and
// centre stretched) from a real skin picture, the aqua fall-back, and the button
// object that asks for them.
#include "model/button_picture.h"

#include <gtest/gtest.h>

#include "model/button_picture_name.h"
#include "model/kinds_test_support.h"
#include "model/kiv_button.h"

namespace kiv {
namespace {

uint32_t PixelAt(TBitmapStore& store, int x, int y) {
  const uint8_t* pixel = store.GetMipLevel(0, TPixelFormat::Bgra32)->Row(y) + 4 * x;
  return uint32_t(pixel[3]) << 24 | uint32_t(pixel[2]) << 16 | uint32_t(pixel[1]) << 8 | pixel[0];
}

// A 12 × 9 skin picture of nine 4 × 3 cells in their own colours, with a white pixel
// inside the top-left and the bottom-right corner.
constexpr uint32_t kLeftTop = 0xFFFF0000, kTop = 0xFF00FF00, kRightTop = 0xFF0000FF, kLeft = 0xFFFFFF00,
                   kCenter = 0xFF00FFFF, kRight = 0xFFFF00FF, kLeftBottom = 0xFF800000, kBottom = 0xFF008000,
                   kRightBottom = 0xFF000080, kWhite = 0xFFFFFFFF;

constexpr std::string_view kGlassSkin =
    "[NormalState]\n"
    "LeftTop=glass.png,0,0,4,3\n"
    "Top=glass.png,4,0,8,3\n"
    "RightTop=glass.png,8,0,12,3\n"
    "Left=glass.png,0,3,4,6\n"
    "Center=glass.png,4,3,8,6\n"
    "Right=glass.png,8,3,12,6\n"
    "LeftBottom=glass.png,0,6,4,9\n"
    "Bottom=glass.png,4,6,8,9\n"
    "RightBottom=glass.png,8,6,12,9\n"
    "[HoverState]\n"
    "Center=glass.png,0,0,4,3\n"
    "[TextParams]\n"
    "BtnMinWidth=250\n"
    "BtnOffset=3\n"
    "Filtering=Nearest\n";

class ButtonPictureTest : public KindsTest {
 protected:
  void MakeSkin(const std::string& folderName, const std::string& skin) {
    PutFile(folderName + "/btn.ini", skin);
    Magick(
        "-size 12x9 xc:black "
        "-fill '#FF0000' -draw 'rectangle 0,0 3,2' -fill '#00FF00' -draw 'rectangle 4,0 7,2' "
        "-fill '#0000FF' -draw 'rectangle 8,0 11,2' -fill '#FFFF00' -draw 'rectangle 0,3 3,5' "
        "-fill '#00FFFF' -draw 'rectangle 4,3 7,5' -fill '#FF00FF' -draw 'rectangle 8,3 11,5' "
        "-fill '#800000' -draw 'rectangle 0,6 3,8' -fill '#008000' -draw 'rectangle 4,6 7,8' "
        "-fill '#000080' -draw 'rectangle 8,6 11,8' -fill white -draw 'point 1,1' -draw 'point 10,7' "
        "PNG32:'" + folderName + "/glass.png'");
  }
  std::shared_ptr<TBitmapStore> Provided(std::u16string_view name) { return host.LoadPicture(name); }
};

TEST(ButtonPictureName, RoundTripsAndRefusesWhatItDidNotWrite) {
  const TButtonPictureRequest request{u"C:\\Skins:old\\Glass", TButtonState::Hover, {40, 20}};
  EXPECT_EQ(ButtonPictureName(request), u"Button: 40:20:1:C:\\Skins:old\\Glass");
  EXPECT_EQ(ParseButtonPictureName(ButtonPictureName(request)), request);
  for (std::u16string_view bad : {u"Button: 0:20:0:x", u"Button: 40:-2:0:x", u"Button: 40:20:3:x",
                                  u"Button: 40:20:x", u"Button: 4x:20:0:x", u"button: 40:20:0:x", u"Text: 1:2:3:4"})
    EXPECT_FALSE(ParseButtonPictureName(bad)) << std::string(bad.begin(), bad.end());
}

TEST_F(ButtonPictureTest, CornersKeepTheirSizeEdgesAndCentreStretch) {
  MakeSkin("Skins/Glass", std::string(kGlassSkin));
  const std::shared_ptr<TBitmapStore> picture = Provided(u"Button: 40:20:0:Skins\\Glass");
  ASSERT_NE(picture, nullptr);
  ASSERT_EQ(picture->Width(), 40);
  ASSERT_EQ(picture->Height(), 20);
  EXPECT_EQ(PixelAt(*picture, 0, 0), kLeftTop);
  EXPECT_EQ(PixelAt(*picture, 1, 1), kWhite);  // unscaled: still one pixel at (1, 1)
  EXPECT_EQ(PixelAt(*picture, 2, 1), kLeftTop);
  EXPECT_EQ(PixelAt(*picture, 1, 2), kLeftTop);
  EXPECT_EQ(PixelAt(*picture, 3, 2), kLeftTop);
  EXPECT_EQ(PixelAt(*picture, 4, 0), kTop);
  EXPECT_EQ(PixelAt(*picture, 35, 2), kTop);
  EXPECT_EQ(PixelAt(*picture, 36, 0), kRightTop);
  EXPECT_EQ(PixelAt(*picture, 0, 3), kLeft);
  EXPECT_EQ(PixelAt(*picture, 3, 16), kLeft);
  EXPECT_EQ(PixelAt(*picture, 20, 10), kCenter);
  EXPECT_EQ(PixelAt(*picture, 39, 10), kRight);
  EXPECT_EQ(PixelAt(*picture, 0, 17), kLeftBottom);
  EXPECT_EQ(PixelAt(*picture, 20, 19), kBottom);
  EXPECT_EQ(PixelAt(*picture, 39, 16), kRight);
  EXPECT_EQ(PixelAt(*picture, 38, 18), kWhite);  // (10, 7) of the skin, from the corner at (36, 17)
  EXPECT_EQ(PixelAt(*picture, 39, 18), kRightBottom);
  EXPECT_EQ(PixelAt(*picture, 36, 17), kRightBottom);

  // The hover look has a centre only, cut from elsewhere: it fills the whole button.
  const std::shared_ptr<TBitmapStore> hover = Provided(u"Button: 40:20:1:Skins\\Glass");
  ASSERT_NE(hover, nullptr);
  EXPECT_EQ(PixelAt(*hover, 20, 10), kLeftTop);
  EXPECT_EQ(PixelAt(*hover, 0, 0), kLeftTop);
  EXPECT_EQ(PixelAt(*hover, 39, 19), kLeftTop);
}

TEST(ButtonPicture, PartsOutsideTheirPictureOrWithoutOneStayClear) {
  TButtonSkinState state;
  state.Pieces[size_t(TSkinPart::LeftTop)] = {u"p", 0, 0, 2, 2};
  state.Pieces[size_t(TSkinPart::Center)] = {u"p", 1, 1, 9, 9};   // beyond the 4 × 4 picture
  state.Pieces[size_t(TSkinPart::Right)] = {u"gone", 0, 0, 2, 2};  // no such picture
  state.Pieces[size_t(TSkinPart::Bottom)] = {u"p", 3, 3, 1, 1};   // upside down
  EXPECT_EQ(NaturalSize(state), (TButtonSize{10, 8}));  // the upside-down part counts as empty
  auto source = std::make_shared<TBitmap>(4, 4, TPixelFormat::Bgra32);
  for (int y = 0; y < 4; ++y) std::fill(source->Row(y), source->Row(y) + 16, uint8_t(0xFF));
  const std::unique_ptr<TBitmap> picture =
      ComposeButtonPicture(state, {10, 10}, [&source](std::u16string_view name) -> std::shared_ptr<const TBitmap> {
        return name == u"p" ? source : nullptr;
      });
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Row(0)[0], 0xFF);  // the corner
  EXPECT_EQ(picture->Row(5)[4 * 5], 0);  // no centre
  EXPECT_EQ(picture->Row(9)[4 * 5], 0);  // no bottom edge
  EXPECT_EQ(picture->Row(5)[4 * 9], 0);  // no right edge
}

TEST_F(ButtonPictureTest, ButtonTakesItsSkinOrAquaAndDrawsTheComposedLook) {
  MakeSkin("Skins/Glass", std::string(kGlassSkin));
  MakeSkin("Skins/aqua", "[NormalState]\nCenter=glass.png,4,3,8,6\n");
  host.SetButtonPath(u"Skins\\");
  Read(
      "[Slide1]\n"
      "object A: Button\n  Theme=Glass\n  BtnOpacity=50\n  Filtering=Bilinear\nend\n"
      "object B: button\n  Theme=Chrome\n  BtnMinWidth=50\nend\n"
      "object C: button\n  Theme=Glass\n  BtnMinWidth=100\nend\n");
  Prepare();
  TKivButton& glass = ChildAs<TKivButton>(0);
  ASSERT_NE(glass.Skin(), nullptr);
  EXPECT_EQ(glass.Skin()->Theme, u"Glass");
  EXPECT_DOUBLE_EQ(glass.MinWidth(), 250);  // the skin's, as the project gives none
  EXPECT_DOUBLE_EQ(glass.CaptionOffset(), 3);
  EXPECT_EQ(glass.Size(), (TSizeF{30, 9}));  // 250 % of the skin's 12 pixels
  ASSERT_NE(glass.Picture(), nullptr);
  EXPECT_EQ(glass.Picture()->Width(), 30);
  EXPECT_EQ(PixelAt(*glass.Picture(), 1, 1), kWhite);

  // A theme the show lacks takes the aqua skin; never narrower than the skin.
  const TKivButton& fallback = ChildAs<TKivButton>(1);
  ASSERT_NE(fallback.Skin(), nullptr);
  EXPECT_EQ(fallback.Skin()->Theme, u"aqua");
  EXPECT_EQ(fallback.Size(), (TSizeF{4, 3}));
  ASSERT_NE(fallback.Picture(), nullptr);
  EXPECT_EQ(PixelAt(*fallback.Picture(), 2, 1), kCenter);
  EXPECT_EQ(Child(2).Size(), (TSizeF{12, 9}));  // the project's minimum width wins

  // The body's opacity and the skin's sampling; the hover look is a new picture.
  TRecordingDrawer drawer;
  AdvanceTo(100);
  glass.Draw(drawer);
  glass.SetLook(TButtonState::Hover);
  EXPECT_TRUE(glass.ContentChanged());
  glass.Draw(drawer);
  ASSERT_EQ(drawer.Images.size(), 2u);
  EXPECT_FLOAT_EQ(drawer.Images[0].Params.Opacity, 50);
  EXPECT_EQ(drawer.Images[0].Params.Sampling, TSampling::Nearest);
  EXPECT_NE(drawer.Images[1].Picture, drawer.Images[0].Picture);
  EXPECT_EQ(PixelAt(*glass.Picture(), 15, 4), kLeftTop);
}

TEST_F(ButtonPictureTest, WithoutAnySkinTheButtonShowsNothing) {
  Read("[Slide1]\nobject A: button\n  Theme=Glass\nend\n");
  Prepare();
  const TKivButton& button = ChildAs<TKivButton>(0);
  EXPECT_EQ(button.Skin(), nullptr);
  EXPECT_EQ(button.Picture(), nullptr);
  EXPECT_EQ(button.Size(), (TSizeF{0, 0}));
  TRecordingDrawer drawer;
  AdvanceTo(100);
  slide->Draw(drawer);
  EXPECT_TRUE(drawer.Images.empty());
}

TEST(ButtonPictureProvider, DoesNotKeepTheFileSourceAlive) {
  std::weak_ptr<TFileSource> watched;
  {
    auto source = std::make_shared<TRealFileSource>(u"/nowhere/");
    watched = source;
    TFileAccessor accessor(source, u"/nowhere/");
    TKivSlideHost host(&accessor, StandardObjectKinds());
    InstallStandardPictureProviders(host);
    EXPECT_EQ(host.LoadPicture(u"Button: 10:10:0:Skins\\Glass"), nullptr);  // no skin anywhere
  }
  EXPECT_TRUE(watched.expired());
}

}  // namespace
}  // namespace kiv
