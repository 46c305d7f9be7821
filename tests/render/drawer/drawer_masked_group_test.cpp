// Masked groups: the content shows only under the union of the masks, over what was
// drawn before the group, in whichever pass the frame is being drawn, and nested groups
// keep their own buffers.
#include <list>

#include "drawer_test_support.h"

namespace kiv {
namespace {

using namespace testing;

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kYellow = 0xFFFFFF00;

class MaskedGroupTest : public DrawerTest {
 protected:
  void SetUp() override {
    DrawerTest::SetUp();
    // 80 x 60: the left half opaque, the right half transparent.
    FLeftHalf = ConvertedPicture("-size 80x60 xc:none -fill white -draw 'rectangle 0,0,39,59'", "left.png");
    FTopHalf = ConvertedPicture("-size 80x60 xc:none -fill white -draw 'rectangle 0,0,79,29'", "top.png");
    ASSERT_TRUE(FLeftHalf && FTopHalf);
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

  std::shared_ptr<TBitmapStore> FLeftHalf;
  std::shared_ptr<TBitmapStore> FTopHalf;
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

}  // namespace
}  // namespace kiv
