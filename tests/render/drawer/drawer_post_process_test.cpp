// The unsharp-mask pass: edges get steeper, flat areas and differences below the
// threshold stay as they were.
#include "drawer_test_support.h"

namespace kiv {
namespace {

using namespace testing;

class PostProcessTest : public DrawerTest {
 protected:
  // Dark left half, light right half, through the pass.
  std::unique_ptr<TBitmap> Sharpened(uint8_t threshold, float amount) {
    return Frame([&](TDeviceDrawer& drawer) {
      drawer.BeginPostProcess();
      drawer.DrawBox(Place(0, 0, kWidth / 2, kHeight), SolidBox(0xFF404040));
      drawer.DrawBox(Place(kWidth / 2, 0, kWidth / 2, kHeight), SolidBox(0xFFC0C0C0));
      drawer.EndPostProcess(threshold, amount);
    });
  }
};

TEST_F(PostProcessTest, EdgesSharpenAndFlatAreasOrSmallDifferencesStay) {
  auto shot = Sharpened(0, 100);
  const int edge = kWidth / 2;
  EXPECT_LT(Red(PixelAt(*shot, edge - 1, 100)), 0x40);
  EXPECT_GT(Red(PixelAt(*shot, edge, 100)), 0xC0);
  EXPECT_EQ(PixelAt(*shot, 50, 100), 0xFF404040u);
  EXPECT_EQ(PixelAt(*shot, edge + 50, 100), 0xFFC0C0C0u);
  // The screen's own edges are not edges of the picture.
  EXPECT_EQ(PixelAt(*shot, 0, 0), 0xFF404040u);
  EXPECT_EQ(PixelAt(*shot, kWidth - 1, kHeight - 1), 0xFFC0C0C0u);
  // No amount, or a threshold above the difference, leaves the edge as it is.
  for (auto [threshold, amount] : {std::pair<uint8_t, float>{0, 0}, {255, 100}}) {
    shot = Sharpened(threshold, amount);
    EXPECT_EQ(PixelAt(*shot, edge - 1, 100), 0xFF404040u) << int(threshold);
    EXPECT_EQ(PixelAt(*shot, edge, 100), 0xFFC0C0C0u) << int(threshold);
  }
}

}  // namespace
}  // namespace kiv
