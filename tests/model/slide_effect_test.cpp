#include "model/slide_effect.h"

#include <gtest/gtest.h>

#include "model/kiv_source.h"
#include "support/show_source.h"

namespace kiv {
namespace {

// A catalogue of cross-fades (class 2) of 1000 ms and slides with personal transitions.
constexpr std::string_view kPersonalShow =
    "[main]\nopt_slidescount=6\nopt_synchpos1=4000\nopt_synchpos2=8000\nopt_synchpos3=12000\n"
    "opt_synchpos4=16000\nopt_synchpos5=20000\nopt_synchpos6=24000\n"
    "opt_fx_enable=1\nopt_fx_time=1000\nopt_fx_eff3=1\nopt_fx_broomoffset=25\nopt_fx_mosaic_dx=4\n"
    "opt_fx_smoothline=10\nopt_fx_rollvariants=0\n"
    "opt_fx_custom_count=2\nopt_fx_custom0=a.kiv\nopt_fx_custom1=b.kiv\n"
    "[Slide1]\nUsePersonal=1\nPers_Effect=1\nEffect_Class=0\nEffectTime=800\n"
    "[Slide2]\nUsePersonal=1\nPers_Effect=1\nEffect_Class=-1\nEffectTime=500\nEffectMosaicDX=9\n"
    "EffectUseSmoothline=1\nEffectSmoothline=40\n"
    "[Slide3]\nUsePersonal=1\nPers_Effect=1\nEffect_Class=12\nEffect_Type=c\nEffectTime=700\n"
    "EffectMosaicDX=9\nEffectRollVariants=1\nEffectSmoothline=40\n"
    "[Slide4]\nUsePersonal=1\nPers_Effect=1\nEffect_Class=18\nEffect_Type=1\nEffectTime=600\n"
    "[Slide5]\nUsePersonal=1\nPers_Effect=0\nEffect_Class=12\n"
    "[Slide6]\nUsePersonal=0\nPers_Effect=1\nEffect_Class=12\n";

TEST(SlideEffect, PersonalTransitionsOverrideTheCatalogue) {
  TScriptedRandom random;
  auto source = SourceOf(kPersonalShow, random);

  const TSlideEffect cut = source->GetSlideEffect(0);  // class 0: a hard cut
  EXPECT_EQ(cut.Class, 0);
  EXPECT_EQ(cut.Duration, 0);
  EXPECT_DOUBLE_EQ(source->Slides()[0].EffectInTime, 0);

  const TSlideEffect catalogue = source->GetSlideEffect(1);  // the catalogue's class, the slide's time
  EXPECT_EQ(catalogue.Class, 2);
  EXPECT_EQ(catalogue.Duration, 500);
  EXPECT_FLOAT_EQ(catalogue.Params.SoftEdge, 0.04f);
  EXPECT_EQ(catalogue.Params.MosaicColumns, 4);  // parameter keys are not read for class -1

  const TSlideEffect own = source->GetSlideEffect(2);
  EXPECT_EQ(own.Class, 12);
  EXPECT_EQ(own.Type, 11);
  EXPECT_EQ(own.Duration, 700);
  EXPECT_EQ(own.Params.MosaicColumns, 9);
  EXPECT_TRUE(own.Params.RollVariants);
  EXPECT_FLOAT_EQ(own.Params.BroomOffset, 0.25f);  // the show's value
  EXPECT_FLOAT_EQ(own.Params.SoftEdge, 0.01f);     // own soft edge not switched on
  EXPECT_FLOAT_EQ(own.Params.SwapMaxAngle, 60);

  const TSlideEffect custom = source->GetSlideEffect(3);
  EXPECT_EQ(custom.Class, 18);
  EXPECT_EQ(custom.Type, 1);
  EXPECT_EQ(custom.Params.CustomEffect, u"b.kiv");

  EXPECT_EQ(source->GetSlideEffect(4).Class, 2);  // "Pers_Effect" off
  EXPECT_EQ(source->GetSlideEffect(5).Class, 2);  // "UsePersonal" off

  // Past the last slide a repeating show starts over.
  EXPECT_EQ(source->GetSlideEffect(8).Class, 12);
  EXPECT_EQ(source->GetSlideEffect(8).Duration, 700);
  EXPECT_EQ(source->GetSlideEffect(-1).Duration, 0);
}

TEST(SlideEffect, PersonalClassesPlayWhileTheShowHasNoTransitions) {
  TScriptedRandom random;
  auto source = SourceOf(
      "[main]\nopt_slidescount=2\nopt_synchpos1=4000\nopt_synchpos2=8000\nopt_repeat=close\n"
      "[Slide1]\nUsePersonal=1\nPers_Effect=1\nEffect_Class=-1\nEffectTime=500\n"
      "[Slide2]\nUsePersonal=1\nPers_Effect=1\nEffect_Class=5\nEffectTime=900\n",
      random);
  EXPECT_EQ(source->GetSlideEffect(0).Duration, 0);  // the catalogue is empty
  EXPECT_EQ(source->GetSlideEffect(1).Duration, 900);
  EXPECT_EQ(source->GetSlideEffect(1).Type, 1);  // no type given
  EXPECT_EQ(source->GetSlideEffect(2).Duration, 0);  // the show does not repeat
  EXPECT_DOUBLE_EQ(source->Slides()[1].EffectOutTime, 0);
}

TEST(SlideEffect, RepeatableModeGivesTheSameTransitionsEveryTime) {
  TScriptedRandom random;
  auto source = SourceOf(
      "[main]\nopt_slidescount=4\nopt_synchpos1=4000\nopt_synchpos2=8000\nopt_synchpos3=12000\n"
      "opt_synchpos4=16000\nopt_fx_enable=1\nopt_fx_time=1000\nopt_fx_eff5=12\nopt_fx_eff8=1234\n"
      "opt_fx_rollvariants=3\n",
      random);
  source->SetRepeatableEffects(true, 9);
  const size_t draws = random.Ranges.size();
  for (int i = 0; i < 4; ++i) {
    const TSlideEffect first = source->GetSlideEffect(i);
    const TSlideEffect again = source->GetSlideEffect(i);
    EXPECT_EQ(first.Class, again.Class);
    EXPECT_EQ(first.Type, again.Type);
    EXPECT_EQ(first.Params.RandomSeed, i ^ 9);
    EXPECT_EQ(first.Class, i % 2 ? 7 : 4);
  }
  EXPECT_EQ(random.Ranges.size(), draws);  // nothing drawn
  EXPECT_EQ(source->ChooseEffect(5), source->ChooseEffect(5));
}

TEST(ChosenEffectFile, NamesAreSplitAtCommasAndPickedBySeed) {
  EXPECT_EQ(ChosenEffectFile(u"one.kiv", 12345), u"one.kiv");
  EXPECT_EQ(ChosenEffectFile(u"a.kiv,\t b.kiv, c.kiv", 0), u"a.kiv");
  EXPECT_EQ(ChosenEffectFile(u"a.kiv,\t b.kiv, c.kiv", 1), u"b.kiv");
  EXPECT_EQ(ChosenEffectFile(u"a.kiv,\t b.kiv, c.kiv", 5), u"c.kiv");
  EXPECT_EQ(ChosenEffectFile(u", ,a.kiv,", 7), u"a.kiv");
  EXPECT_EQ(ChosenEffectFile(u"", 0), u"");
  EXPECT_EQ(ChosenEffectFile(u" , \t", 0), u"");
}

}  // namespace
}  // namespace kiv
