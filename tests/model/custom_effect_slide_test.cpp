// A show's own transition file made into its effect slide: its effect buffers take
// the slide area's size and mark which slide they show, its timeline follows the
// change's progress, and files that are missing or hold no slide give none.
#include "model/custom_effect_slide.h"

#include <gtest/gtest.h>

#include "model/kinds_test_support.h"
#include "model/kiv_image.h"

namespace kiv {
namespace {

constexpr std::string_view kEffect =
    "[main]\nopt_scr_width=320\nopt_scr_height=180\nopt_slidescount=1\nopt_synchpos1=2000\n\n"
    "[Slide1]\nCoverMode=1\n"
    "object Out: image\n  ReplaceWithEffectBuffer=1\nend\n"
    "object In: image\n  ReplaceWithEffectBuffer=2\n"
    "  object K0: keypoint\n    Time=0\n    Opacity=0\n  end\n"
    "  object K1: keypoint\n    Time=2000\n    Opacity=100\n  end\n"
    "end\n";

class CustomEffectSlideTest : public KindsTest {
 protected:
  std::unique_ptr<TCustomEffectSlide> Make(std::u16string_view file, TPixelSize size = {640, 360}) {
    return TCustomEffectSlide::Make(accessor, file, size, StandardObjectKinds(), InstallStandardPictureProviders);
  }
  // What the effect slide asks the drawer for at progress.
  std::vector<TImageDraw> DrawnAt(TCustomEffectSlide& effect, double progress) {
    effect.SetProgress(progress);
    TRecordingDrawer drawer;
    drawer.SetContentSize(640, 360);
    effect.Item().Draw(drawer);
    return drawer.Images;
  }
};

TEST_F(CustomEffectSlideTest, BuffersShowTheTwoSlidesAlongTheEffectsTimeline) {
  PutFile("fx/effect.kiv", kEffect);
  const std::unique_ptr<TCustomEffectSlide> effect = Make(u"fx\\effect.kiv");
  ASSERT_TRUE(effect);
  std::vector<TImageDraw> drawn = DrawnAt(*effect, 0.5);
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].EffectBuffer, 1);
  EXPECT_EQ(drawn[1].EffectBuffer, 2);
  // The buffers are as large as the slide area they stand for.
  EXPECT_EQ(drawn[0].Picture->Width(), 640);
  EXPECT_EQ(drawn[0].Picture->Height(), 360);
  // Half way through the change is half way through the effect's own 2 s.
  EXPECT_NEAR(drawn[1].Params.Opacity, 50, 0.5);
  EXPECT_NEAR(DrawnAt(*effect, 0.25)[1].Params.Opacity, 25, 0.5);
  // Progress past the ends stays at the ends.
  EXPECT_NEAR(DrawnAt(*effect, 7)[1].Params.Opacity, 100, 0.5);
}

TEST_F(CustomEffectSlideTest, MissingOrEmptyEffectFilesGiveNone) {
  EXPECT_FALSE(Make(u"nowhere.kiv"));
  PutFile("noslides.kiv", "[main]\nopt_slidescount=0\n");
  EXPECT_FALSE(Make(u"noslides.kiv"));
  PutFile("nomain.kiv", "[Slide1]\nobject Out: image\n  ReplaceWithEffectBuffer=1\nend\n");
  EXPECT_FALSE(Make(u"nomain.kiv"));
  PutFile("fx.kiv", kEffect);
  EXPECT_FALSE(Make(u"fx.kiv", {0, 360}));
  // Damaged bytes are no project either.
  PutFile("noise.kiv", std::string("\xFF\xFE\x00\xD8\x00\xDC garbage", 14));
  EXPECT_FALSE(Make(u"noise.kiv"));
}

}  // namespace
}  // namespace kiv
