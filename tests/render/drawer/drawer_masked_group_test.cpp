// Masked groups: the content shows only under the union of the masks, over what was
// drawn before the group, in whichever pass the frame is being drawn, and nested groups
// keep their own buffers. A single flat mask, drawn straight onto the frame, gives the
// frame that the mask buffer gives (two identical masks still go through it).
#include <cmath>
#include <list>
#include <vector>

#include "drawer_test_support.h"

namespace kiv {
namespace {

using namespace testing;

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kYellow = 0xFFFFFF00;

// Pixels of a and b whose channels differ by more than one, with the first of them.
std::string FrameDifference(const TBitmap& a, const TBitmap& b) {
  int count = 0;
  std::string first;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      const uint32_t p = PixelAt(a, x, y), q = PixelAt(b, x, y);
      if (std::abs(Red(p) - Red(q)) <= 1 && std::abs(Green(p) - Green(q)) <= 1 && std::abs(Blue(p) - Blue(q)) <= 1)
        continue;
      if (count++ == 0) first = " first at " + std::to_string(x) + "," + std::to_string(y);
    }
  return count ? std::to_string(count) + " pixels differ," + first : "";
}

// Pixels of frame that are not red: what the group changed.
int Changed(const TBitmap& frame) {
  int count = 0;
  for (int y = 0; y < frame.Height(); ++y)
    for (int x = 0; x < frame.Width(); ++x) count += PixelAt(frame, x, y) != kRed;
  return count;
}

class MaskedGroupTest : public DrawerTest {
 protected:
  void SetUp() override {
    DrawerTest::SetUp();
    // 80 x 60: the left half opaque, the right half transparent.
    FLeftHalf = ConvertedPicture("-size 80x60 xc:none -fill white -draw 'rectangle 0,0,39,59'", "left.png");
    FTopHalf = ConvertedPicture("-size 80x60 xc:none -fill white -draw 'rectangle 0,0,79,29'", "top.png");
    // 100 x 80: a disc with a blurred rim.
    FDisc = ConvertedPicture("-size 100x80 xc:none -fill white -draw 'circle 50,40 50,5' -channel A -blur 0x6",
                             "disc.png");
    ASSERT_TRUE(FLeftHalf && FTopHalf && FDisc);
    ASSERT_EQ(FLeftHalf->Format(), TPixelFormat::Bgra32);
  }
  void TearDown() override {
    for (auto& store : FStores) FDrawer->FreeImageStore(store);
  }

  TImageDraw Mask(const TBitmapStore& picture, float left, float top, float width, float height) {
    FStores.emplace_back();
    TImageDraw mask;
    mask.Picture = &picture;
    mask.Store = &FStores.back();
    mask.Place = Place(left, top, width, height);
    mask.Params.Smooth = false;
    return mask;
  }

  // The group drawn over a red frame, and a box after it, with the mask once and with it
  // twice.
  struct TFramePair {
    std::unique_ptr<TBitmap> Once;
    std::unique_ptr<TBitmap> Twice;
  };
  TFramePair OnceAndTwice(TDrawItem& content, const TImageDraw& mask, const TBitmapStore* pattern = nullptr,
                          bool unsharpPass = false) {
    auto background = BoxItem(kRed);
    auto draw = [&](std::span<const TImageDraw> masks) {
      return Frame([&](TDeviceDrawer& drawer) {
        if (unsharpPass) drawer.BeginPostProcess();
        drawer.Draw(*background);
        drawer.DrawMaskedGroup(content, masks, pattern);
        // What follows the group is drawn in its place again.
        drawer.DrawBox(Place(290, 200, 20, 16), SolidBox(kBlue));
        if (unsharpPass) drawer.EndPostProcess(0, 0);
      });
    };
    const TImageDraw twice[] = {mask, mask};
    TFramePair frames;
    frames.Once = draw(std::span(&mask, 1));
    frames.Twice = draw(twice);
    return frames;
  }

  std::shared_ptr<TBitmapStore> FLeftHalf;
  std::shared_ptr<TBitmapStore> FTopHalf;
  std::shared_ptr<TBitmapStore> FDisc;
  std::list<std::unique_ptr<TImageStore>> FStores;
};

TEST_F(MaskedGroupTest, ContentShowsUnderTheMaskOverWhatWasDrawnBefore) {
  auto background = BoxItem(kRed);
  // Half-transparent content: under the mask it blends with the red drawn before.
  auto content = BoxItem(0x8000FF00, 0, 0, 80, 60);
  const TImageDraw masks[] = {Mask(*FLeftHalf, 0, 0, 80, 60)};
  for (bool unsharpPass : {false, true}) {
    auto shot = Frame([&](TDeviceDrawer& drawer) {
      if (unsharpPass) drawer.BeginPostProcess();
      drawer.Draw(*background);
      drawer.DrawMaskedGroup(*content, masks, nullptr);
      if (unsharpPass) drawer.EndPostProcess(0, 0);
    });
    const uint32_t under = PixelAt(*shot, 10, 10);
    EXPECT_NEAR(Red(under), 127, 2) << unsharpPass;
    EXPECT_NEAR(Green(under), 128, 2) << unsharpPass;
    EXPECT_EQ(PixelAt(*shot, 39, 59), under);
    EXPECT_EQ(PixelAt(*shot, 40, 10), kRed) << unsharpPass;
    EXPECT_EQ(PixelAt(*shot, 100, 10), kRed) << unsharpPass;
  }
}

TEST_F(MaskedGroupTest, MasksUniteAndAPatternFillsBehindTheContent) {
  auto background = BoxItem(kRed);
  auto content = BoxItem(kGreen, 0, 0, 20, 20);
  const TImageDraw masks[] = {Mask(*FLeftHalf, 0, 0, 80, 60), Mask(*FTopHalf, 0, 0, 80, 60)};
  std::shared_ptr<TBitmapStore> pattern = SolidPicture(16, 16, kBlue);
  auto shot = Frame([&](TDeviceDrawer& drawer) {
    drawer.Draw(*background);
    drawer.DrawMaskedGroup(*content, masks, pattern.get());
  });
  EXPECT_EQ(PixelAt(*shot, 10, 10), kGreen);
  EXPECT_EQ(PixelAt(*shot, 60, 10), kBlue);
  EXPECT_EQ(PixelAt(*shot, 10, 50), kBlue);
  EXPECT_EQ(PixelAt(*shot, 60, 50), kRed);
}

TEST_F(MaskedGroupTest, NestedGroupsKeepTheirOwnBuffers) {
  auto background = BoxItem(kRed);
  std::shared_ptr<TBitmapStore> square = SolidPicture(10, 10, 0xFFFFFFFF);
  const TImageDraw innerMasks[] = {Mask(*square, 5, 5, 10, 10)};
  auto innerContent = BoxItem(kYellow, 0, 0, 80, 60);
  TLambdaItem outerContent([&](TDeviceDrawer& drawer) {
    drawer.DrawBox(Place(0, 0, 80, 60), SolidBox(kBlue));
    drawer.DrawMaskedGroup(*innerContent, innerMasks, nullptr);
  });
  const TImageDraw outerMasks[] = {Mask(*FLeftHalf, 0, 0, 80, 60)};
  auto shot = Frame([&](TDeviceDrawer& drawer) {
    drawer.Draw(*background);
    drawer.DrawMaskedGroup(outerContent, outerMasks, nullptr);
  });
  EXPECT_EQ(PixelAt(*shot, 8, 8), kYellow);
  EXPECT_EQ(PixelAt(*shot, 20, 20), kBlue);
  EXPECT_EQ(PixelAt(*shot, 60, 20), kRed);
}

TEST_F(MaskedGroupTest, OneFlatMaskGivesTheFrameOfTheMaskBuffer) {
  // Alpha falling from left to right; wider than a picture tile, so drawn in two.
  std::shared_ptr<TBitmapStore> gradient = ConvertedPicture("-size 120x300 gradient:white-none -rotate 90", "g.png");
  ASSERT_TRUE(gradient);
  ASSERT_EQ(gradient->Width(), 300);
  // Half-transparent content with an opaque box in it.
  TLambdaItem content([](TDeviceDrawer& drawer) {
    drawer.DrawBox(Place(0, 0, kWidth, kHeight), SolidBox(0x8000FF00));
    drawer.DrawBox(Place(150, 90, 120, 70), SolidBox(kBlue));
  });
  std::shared_ptr<TBitmapStore> pattern = SolidPicture(16, 16, kYellow);
  struct TCase {
    const char* Name;
    TImageDraw Mask;
    const TBitmapStore* Pattern = nullptr;
    bool UnsharpPass = false;
  };
  std::vector<TCase> cases;
  // Across the content tiles' edges (x 256, y 128 and 192), scaled to fractional places.
  TImageDraw wide = Mask(*gradient, 10.5f, 70.25f, 290, 130);
  wide.Params.Smooth = true;
  cases.push_back({"smoothed", wide});
  wide.Params.Opacity = 45;
  cases.push_back({"opacity", wide});
  cases.push_back({"pattern", wide, pattern.get()});
  cases.push_back({"unsharp pass", wide, nullptr, true});
  TImageDraw frame = Mask(*gradient, 20, 100, 150, 110);
  frame.Params.Columns = 2;
  frame.Params.Frame = 1;
  frame.Params.Sampling = TSampling::Nearest;
  cases.push_back({"animation frame, nearest", frame});
  // Turned in the screen's plane, still flat.
  TImageDraw turned = Mask(*FDisc, 200, 60, 0, 0);
  const float angle = 0.5f;
  turned.Place.AxisX = {150 * std::cos(angle), 150 * std::sin(angle), 0};
  turned.Place.AxisY = {-120 * std::sin(angle), 120 * std::cos(angle), 0};
  turned.Params.Smooth = true;
  turned.Params.Opacity = 70;
  cases.push_back({"turned", turned});
  for (const TCase& c : cases) {
    const TFramePair frames = OnceAndTwice(content, c.Mask, c.Pattern, c.UnsharpPass);
    EXPECT_GT(Changed(*frames.Once), 2000) << c.Name;
    EXPECT_EQ(FrameDifference(*frames.Once, *frames.Twice), "") << c.Name;
  }
}

TEST_F(MaskedGroupTest, NestedGroupsWithOneFlatMaskGiveTheFrameOfTheMaskBuffers) {
  TImageDraw innerMask = Mask(*FDisc, 150, 60, 160, 150);
  innerMask.Params.Smooth = true;
  innerMask.Params.Opacity = 80;
  TImageDraw outerMask = Mask(*FLeftHalf, 100.5f, 40, 300, 170);
  outerMask.Params.Smooth = true;
  auto innerContent = BoxItem(0xC0FFFF00, 0, 0, 260, 200);
  bool twice = false;
  TLambdaItem outerContent([&](TDeviceDrawer& drawer) {
    drawer.DrawBox(Place(0, 0, kWidth, kHeight), SolidBox(0x800000FF));
    const TImageDraw masks[] = {innerMask, innerMask};
    drawer.DrawMaskedGroup(*innerContent, std::span(masks, twice ? 2 : 1), nullptr);
  });
  const TFramePair onceInside = OnceAndTwice(outerContent, outerMask);
  twice = true;
  const TFramePair twiceInside = OnceAndTwice(outerContent, outerMask);
  EXPECT_GT(Changed(*onceInside.Once), 5000);
  EXPECT_EQ(FrameDifference(*onceInside.Once, *twiceInside.Twice), "");
  EXPECT_EQ(FrameDifference(*onceInside.Twice, *twiceInside.Once), "");
}

TEST_F(MaskedGroupTest, MaskOpacityScalesTheMaskOverHalfTransparentContent) {
  auto content = BoxItem(0x8000FF00);
  TImageDraw mask = Mask(*FLeftHalf, 0, 0, 80, 60);
  mask.Params.Opacity = 50;
  const TFramePair frames = OnceAndTwice(*content, mask);
  // Content over red: (127, 128, 0); under half the mask's alpha, over red again.
  const uint32_t under = PixelAt(*frames.Once, 10, 10);
  EXPECT_NEAR(Red(under), 191, 2);
  EXPECT_NEAR(Green(under), 64, 2);
  EXPECT_EQ(Blue(under), 0);
  EXPECT_EQ(PixelAt(*frames.Once, 50, 10), kRed);
  EXPECT_EQ(FrameDifference(*frames.Once, *frames.Twice), "");
}

TEST_F(MaskedGroupTest, MasksOutOfTheScreenPlaneAndAMovedSlideAreaStillMask) {
  auto content = BoxItem(kGreen);
  // Turned about the vertical axis: its right side lies further away and looks shorter.
  TImageDraw turned = Mask(*FLeftHalf, 100, 130, 0, 60);
  turned.Place.AxisX = {40, 0, 69.28f};
  // Pushed back: smaller on the screen, towards its centre.
  TImageDraw pushed = Mask(*FLeftHalf, 0, 0, 80, 60);
  pushed.Place.Origin.Z = 224;
  auto shot = Frame([&](TDeviceDrawer& drawer) {
    drawer.Draw(*BoxItem(kRed));
    drawer.DrawMaskedGroup(*content, std::span(&turned, 1), nullptr);
    drawer.DrawMaskedGroup(*content, std::span(&pushed, 1), nullptr);
  });
  // The mask's left half ends at about x = 125 on the screen, the whole mask at 145.
  EXPECT_EQ(PixelAt(*shot, 115, 160), kGreen);
  EXPECT_EQ(PixelAt(*shot, 130, 160), kRed);
  // Half way to the centre (160, 112): from (80, 56) to (120, 86), opaque left of x = 100.
  EXPECT_EQ(PixelAt(*shot, 90, 70), kGreen);
  EXPECT_EQ(PixelAt(*shot, 105, 70), kRed);
  EXPECT_EQ(PixelAt(*shot, 10, 10), kRed);

  // The slide area moved within the target: places are on it, the background beside it.
  FDrawer->SetContentRect({40, 30, 280, 200});
  const TImageDraw mask = Mask(*FLeftHalf, 0, 0, 80, 60);
  auto moved = Frame([&](TDeviceDrawer& drawer) {
    drawer.Draw(*BoxItem(kRed));
    drawer.DrawMaskedGroup(*content, std::span(&mask, 1), nullptr);
  });
  EXPECT_EQ(PixelAt(*moved, 45, 35), kGreen);
  EXPECT_EQ(PixelAt(*moved, 79, 89), kGreen);
  EXPECT_EQ(PixelAt(*moved, 81, 35), kRed);
  EXPECT_EQ(PixelAt(*moved, 45, 91), kRed);
}

}  // namespace
}  // namespace kiv
