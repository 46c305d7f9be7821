// Transitions: which slide shows outside the change, and which slide goes through the
// effect in which order, seen through a stand-in effect that shows what the effecter
// holds on the right half of the frame.
#include <stdexcept>
#include <vector>

#include "drawer_test_support.h"
#include "render/drawer/kiv_filter.h"
#include "render/drawer/render_target_effecter.h"
#include "render/drawer/tiled_render_target.h"

namespace kiv {
namespace {

using namespace testing;

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

class TStandInEffect : public TDrawFilter {
 public:
  TStandInEffect(TEffectPass pass, bool reverse) : FPass(pass), FReverse(reverse) {}
  void SetTime(double t) override { Time = t; }
  TEffectPass Pass() const override { return FPass; }
  bool Reverse() const override { return FReverse; }
  TPointF PushOffset() const override { return {40, 0}; }
  void DrawEffect(T3DDrawer& drawer, TEffectSlide slide) override {
    Seen.push_back(slide);
    const uint32_t white = 0xFFFFFFFF;
    drawer.Screen().DrawQuad(&drawer.Effecter()->Current(), {kWidth / 2, 0, 0}, {kWidth / 2, 0, 0}, {0, kHeight, 0},
                             {kWidth / 2, 0, kWidth, kHeight}, {white, white, white, white}, {0, 0, 0, 0});
  }

  double Time = -1;
  std::vector<TEffectSlide> Seen;

 private:
  TEffectPass FPass;
  bool FReverse;
};

class TransitionTest : public DrawerTest {
 protected:
  void TearDown() override { SetTransitionFactory(nullptr); }

  // The next filters get a stand-in effect of pass.
  void UseEffect(TEffectPass pass, bool reverse = false) {
    SetTransitionFactory([this, pass, reverse](const TKivFilter&, const TRect& rect) {
      ++Made;
      MadeFor = rect;
      auto effect = std::make_unique<TStandInEffect>(pass, reverse);
      Effect = effect.get();
      return effect;
    });
  }

  std::unique_ptr<TBitmap> Change(TKivFilter& filter, double time, bool noEffect = false) {
    filter.SetTime(time);
    return Frame([&](TDeviceDrawer& drawer) { drawer.DrawTransition(*First, *Second, noEffect, &filter); });
  }

  std::unique_ptr<TLambdaItem> First = BoxItem(kRed);
  std::unique_ptr<TLambdaItem> Second = BoxItem(kBlue);
  TStandInEffect* Effect = nullptr;
  int Made = 0;
  TRect MadeFor;
};

TEST_F(TransitionTest, OutsideTheChangeOnlyOneSlideShows) {
  UseEffect(TEffectPass::Common);
  TKivFilter filter(2, 1, {}, 1000);
  for (double time : {1000.0, 1500.0, -5.0}) {
    auto shot = Change(filter, time);
    EXPECT_EQ(PixelAt(*shot, 10, 10), kBlue) << time;
    EXPECT_EQ(PixelAt(*shot, kWidth - 10, 10), kBlue) << time;
  }
  ASSERT_TRUE(Effect);
  EXPECT_TRUE(Effect->Seen.empty());
  EXPECT_EQ(Effect->Time, -5);
  EXPECT_EQ(PixelAt(*Change(filter, 500, true), kWidth - 10, 10), kRed);
  auto shot = Frame([&](TDeviceDrawer& drawer) { drawer.DrawTransition(*First, *Second, false, nullptr); });
  EXPECT_EQ(PixelAt(*shot, kWidth - 10, 10), kRed);

  // Without a transition object the outgoing slide stays until the change ends.
  SetTransitionFactory(nullptr);
  TKivFilter plain(2, 1, {}, 1000);
  EXPECT_EQ(PixelAt(*Change(plain, 999), kWidth - 10, 10), kRed);
  EXPECT_EQ(PixelAt(*Change(plain, 1000), 10, 10), kBlue);
}

TEST_F(TransitionTest, CommonEffectsDrawOneSlidePlainlyAndTheOtherThroughTheEffect) {
  UseEffect(TEffectPass::Common);
  TKivFilter forward(2, 1, {}, 1000);
  auto shot = Change(forward, 300);
  Change(forward, 400);
  EXPECT_EQ(Made, 1);
  EXPECT_EQ(MadeFor, (TRect{0, 0, kWidth, kHeight}));
  EXPECT_EQ(Effect->Time, 400);
  EXPECT_EQ(PixelAt(*shot, 10, 10), kRed);
  EXPECT_EQ(PixelAt(*shot, kWidth - 10, 10), kBlue);
  EXPECT_EQ(Effect->Seen[0], TEffectSlide::Incoming);

  UseEffect(TEffectPass::Common, true);
  TKivFilter reverse(2, 1, {}, 1000);
  shot = Change(reverse, 300);
  EXPECT_EQ(PixelAt(*shot, 10, 10), kBlue);
  EXPECT_EQ(PixelAt(*shot, kWidth - 10, 10), kRed);
}

TEST_F(TransitionTest, OverturnSwitchesSlidesHalfwayAndTwoSlidesSwapTheirOrder) {
  UseEffect(TEffectPass::Overturn);
  TKivFilter overturn(16, 1, {}, 1000);
  auto shot = Change(overturn, 499);
  EXPECT_EQ(PixelAt(*shot, 10, 10), 0xFF000000u);
  EXPECT_EQ(PixelAt(*shot, kWidth - 10, 10), kRed);
  shot = Change(overturn, 500);
  EXPECT_EQ(PixelAt(*shot, kWidth - 10, 10), kBlue);
  // Acting on the outgoing slide, the card turns the other way round.
  UseEffect(TEffectPass::Overturn, true);
  TKivFilter unturn(16, 5, {}, 1000);
  EXPECT_EQ(PixelAt(*Change(unturn, 499), kWidth - 10, 10), kBlue);
  EXPECT_EQ(PixelAt(*Change(unturn, 500), kWidth - 10, 10), kRed);

  UseEffect(TEffectPass::TwoSlides);
  TKivFilter twoSlides(17, 1, {}, 1000);
  Change(twoSlides, 100);
  Change(twoSlides, 600);
  EXPECT_EQ(Effect->Seen, (std::vector<TEffectSlide>{TEffectSlide::Incoming, TEffectSlide::Outgoing,
                                                     TEffectSlide::Outgoing, TEffectSlide::Incoming}));
}

TEST_F(TransitionTest, PushMovesTheOutgoingSlideAndCustomEffectsGetBothSlides) {
  UseEffect(TEffectPass::Push);
  TKivFilter push(12, 1, {}, 1000);
  First = BoxItem(kRed, 0, 0, 100, kHeight);
  auto shot = Change(push, 300);
  EXPECT_EQ(PixelAt(*shot, 39, 10), 0xFF000000u);
  EXPECT_EQ(PixelAt(*shot, 40, 10), kRed);
  EXPECT_EQ(PixelAt(*shot, 139, 10), kRed);
  EXPECT_EQ(PixelAt(*shot, kWidth - 10, 10), kBlue);
  EXPECT_FALSE(FDrawer->HasOffset());
  // An outgoing slide that fails while it is pushed leaves the frames after it unmoved.
  First = std::make_unique<TLambdaItem>([](TDeviceDrawer& drawer) {
    drawer.DrawBox(Place(0, 0, 100, kHeight), SolidBox(kRed));
    throw std::runtime_error("a picture that cannot be drawn");
  });
  Change(push, 400);
  EXPECT_FALSE(FDrawer->HasOffset());
  First = BoxItem(kRed, 0, 0, 100, kHeight);
  shot = Frame(*First);
  EXPECT_EQ(PixelAt(*shot, 10, 10), kRed);
  EXPECT_EQ(PixelAt(*shot, 100, 10), 0xFF000000u);

  UseEffect(TEffectPass::Custom);
  TKivFilter custom(18, 0, {}, 1000);
  Change(custom, 300);
  EXPECT_EQ(Effect->Seen, std::vector<TEffectSlide>{TEffectSlide::Both});
  // The slides in the effecter's two targets, beyond them the targets' clear colours.
  TRenderTargetEffecter& effecter = *FDrawer->Effecter();
  T3DRenderer& renderer = *FDrawer->Screen().Renderer();
  auto outgoing = renderer.CopyRenderTarget(*effecter.Current().GetTexture()->GetLevel(0));
  effecter.Toggle();
  auto incoming = renderer.CopyRenderTarget(*effecter.Current().GetTexture()->GetLevel(0));
  effecter.Toggle();
  EXPECT_EQ(PixelAt(*outgoing, 10, 10), kRed);
  EXPECT_EQ(PixelAt(*outgoing, 200, 10), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(*incoming, 10, 10), kBlue);
  EXPECT_EQ(PixelAt(*incoming, kWidth, 10), 0xFF0000FFu);
}

TEST(RenderTargetBuffers, SidesAreCutIntoPowersOfTwo) {
  EXPECT_EQ(SplitSide(320, 32, 1024), (std::vector<int>{256, 64}));
  EXPECT_EQ(SplitSide(224, 32, 1024), (std::vector<int>{128, 64, 32}));
  // 256 + 32 + 32 for 300: the two trailing pieces become one.
  EXPECT_EQ(SplitSide(300, 32, 1024), (std::vector<int>{256, 64}));
  EXPECT_EQ(SplitSide(20, 32, 1024), (std::vector<int>{32}));
  EXPECT_EQ(SplitSide(1000, 32, 256), (std::vector<int>{256, 256, 256, 256}));
}

}  // namespace
}  // namespace kiv
