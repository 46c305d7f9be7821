// A show's own transition: its effect slide is asked for by file name, follows the
// change's progress, and draws the outgoing and incoming slides where its effect
// buffers lie; without an effect slide the change cross-fades.
#include <gtest/gtest.h>

#include "render/drawer/drawer_test_support.h"
#include "render/drawer/kiv_filter.h"
#include "render/transitions/slide_effect_filter.h"
#include "render/transitions/transition_factory.h"

namespace kiv {
namespace {

using namespace testing;

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

// The outgoing slide on the left half of the area, the incoming one on the right.
class TSideBySide : public IEffectSlide, public TDrawItem {
 public:
  TDrawItem& Item() override { return *this; }
  void SetProgress(double progress) override { Progress = progress; }
  void Draw(TDeviceDrawer& drawer) override {
    for (int buffer : {1, 2}) {
      TImageDraw image;
      image.EffectBuffer = buffer;
      image.Place = Place(buffer == 1 ? 0 : kWidth / 2, 0, kWidth / 2, kHeight);
      image.Params.Smooth = false;
      drawer.DrawImage(image);
    }
  }
  double Progress = -1;
};

class CustomTransitionTest : public DrawerTest {
 protected:
  void SetUp() override {
    DrawerTest::SetUp();
    SetTransitionFactory(StandardTransitions());
  }
  void TearDown() override { SetTransitionFactory(nullptr); }

  std::unique_ptr<TLambdaItem> First = BoxItem(kRed);
  std::unique_ptr<TLambdaItem> Second = BoxItem(kBlue);
};

TEST_F(CustomTransitionTest, EffectBuffersShowTheSlidesOfTheChange) {
  TEffectParams params;
  params.CustomEffect = u" \tfirst.kiv, second.kiv";
  params.RandomSeed = 3;  // the second of two
  TKivFilter filter(18, 0, params, 1000);
  std::u16string asked;
  TSideBySide* effect = nullptr;
  filter.SetEffectSlides([&](std::u16string_view file, TPixelSize size) -> std::unique_ptr<IEffectSlide> {
    asked = file;
    EXPECT_EQ(size, (TPixelSize{kWidth, kHeight}));
    auto made = std::make_unique<TSideBySide>();
    effect = made.get();
    return made;
  });
  filter.SetTime(400);
  const std::unique_ptr<TBitmap> shot =
      Frame([&](TDeviceDrawer& drawer) { drawer.DrawTransition(*First, *Second, false, &filter); });
  EXPECT_EQ(asked, u"second.kiv");
  ASSERT_TRUE(effect);
  EXPECT_DOUBLE_EQ(effect->Progress, 0.4);
  EXPECT_EQ(PixelAt(*shot, 10, 100), kRed);
  EXPECT_EQ(PixelAt(*shot, kWidth - 10, 100), kBlue);
  // Outside a custom transition the buffers are plain pictures without one: nothing.
  const std::unique_ptr<TBitmap> plain = Frame([&](TDeviceDrawer& drawer) {
    drawer.Draw(*First);
    effect->Draw(drawer);
  });
  EXPECT_EQ(PixelAt(*plain, kWidth - 10, 100), kRed);
}

TEST_F(CustomTransitionTest, WithoutAnEffectSlideTheChangeCrossFades) {
  TEffectParams params;
  params.CustomEffect = u"missing.kiv";
  TKivFilter filter(18, 0, params, 1000);
  filter.SetEffectSlides([](std::u16string_view, TPixelSize) { return std::unique_ptr<IEffectSlide>(); });
  filter.SetTime(500);
  const uint32_t middle = PixelAt(
      *Frame([&](TDeviceDrawer& drawer) { drawer.DrawTransition(*First, *Second, false, &filter); }), 100, 100);
  EXPECT_NEAR(Red(middle), 128, 2);
  EXPECT_NEAR(Blue(middle), 127, 2);
}

}  // namespace
}  // namespace kiv
