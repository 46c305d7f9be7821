// The slide producer: the slide area, slide trees for every round and the lead-in,
// containers, dialogs, and the shows it cannot build.
#include "model/slide_producer.h"

#include <gtest/gtest.h>

#include "model/producer_test_support.h"

namespace kiv {
namespace {

TEST(SlideProducer, SlideAreaFitsCoversAndKeepsSidesEven) {
  TProducerShow show(SlideShowText(2));
  TSlideProducer& producer = show.Producer;
  producer.SetOutput({1920, 1080}, TSlideFit::Inside, 100, 100);
  EXPECT_EQ(producer.SlideAreaRect(), (TRect{240, 0, 1680, 1080}));
  EXPECT_EQ(producer.Host().Camera(), (TVector3{720, 540, -1080}));
  producer.SetOutput({1920, 1080}, TSlideFit::Cover, 100, 100);
  EXPECT_EQ(producer.SlideAreaRect(), (TRect{0, -180, 1920, 1260}));
  EXPECT_EQ(producer.VisibleRect(), (TRect{0, 0, 1920, 1080}));
  producer.SetOutput({1920, 1080}, TSlideFit::Inside, 50, 100);  // half the width for the show
  EXPECT_EQ(producer.SlideArea(), (TPixelSize{720, 1080}));
  EXPECT_EQ(producer.MakeSlide(0)->Size(), (TSizeF{1440, 1080}));

  TProducerShow odd("[main]\nopt_scr_width=1439\nopt_scr_height=1080\n");
  odd.Producer.SetOutput({1920, 1080}, TSlideFit::Inside, 100, 100);
  EXPECT_EQ(odd.Producer.SlideArea(), (TPixelSize{1440, 1080}));
  TProducerShow flat("[main]\nopt_scr_height=0\n");
  EXPECT_EQ(FailureOf([&] { flat.Producer.SetOutput({1920, 1080}, TSlideFit::Inside, 100, 100); }),
            "ZeroSize of Presentation!");
}

class TBrokenKind : public TKivObject {
 public:
  using TKivObject::TKivObject;
  void ReadProperties(const TIniIdentList&) override { throw EKivError("broken object"); }
};

TEST(SlideProducer, SlidesOfLaterRoundsTheLeadInAndSlidesThatCannotBeBuilt) {
  std::string text = SlideShowText(5, "repeat", "", 4);
  text.insert(text.find("[Slide5]\n") + 9, "object X: broken\nend\n");
  TProducerShow show(text);
  const std::unique_ptr<TKivSlide> leadIn = show.Producer.MakeSlide(-1);
  EXPECT_EQ(leadIn->Timing().StartTime, -1073741823);
  EXPECT_EQ(leadIn->Timing().EffectOutTime, 1000);  // the first slide's transition in
  const std::unique_ptr<TKivSlide> third = show.Producer.MakeSlide(7);
  EXPECT_EQ(third->Children().at(0)->Name(), u"S3");
  EXPECT_EQ(third->Timing().StartTime, 8000);  // the tree lives in the first round
  EXPECT_EQ(show.Producer.MakeSlide(3), nullptr);  // slide 4 has no section

  TObjectFactoryChain kinds = TestKinds();
  kinds.AddKind<TBrokenKind>({u"broken"});
  TSlideProducer breaking(show.Source, kinds, {});
  EXPECT_EQ(breaking.MakeSlide(4), nullptr);
  EXPECT_NE(breaking.MakeSlide(0), nullptr);
}

TEST(SlideProducer, ContainersShiftTheRecordNotTheTree) {
  TProducerShow show(SlideShowText(5));
  show.Now = 28500;
  const std::unique_ptr<TDrawContainer> container = show.Producer.MakeContainer(7);  // slide 2, second round
  EXPECT_EQ(container->LoopCount(), 1);
  EXPECT_EQ(container->LoopOffset(), show.Source.Duration());
  EXPECT_EQ(container->Timing().StartTime, 28000);
  EXPECT_EQ(container->Transition().Duration, 1000);
  EXPECT_EQ(container->TransitionElapsed(), 500);  // advanced to the time it was made at
  // The box shows until its slide has left: 13000 in the first round.
  const TKivObject& box = *container->Slide()->Children().at(0);
  container->AdvanceContainer(32500);
  EXPECT_TRUE(box.Active());
  container->AdvanceContainer(33500);
  EXPECT_FALSE(box.Active());

  show.Producer.SetCurrentTiming({});
  EXPECT_EQ(FailureOf([&] { show.Producer.MakeContainer(0); }), "TSlideProducer.CurrentTiming not Assigned");
}

TEST(SlideProducer, AShowWithoutSlidesIsReportedNotDividedBy) {
  TProducerShow empty("[main]\nopt_slidescount=0\n");
  EXPECT_EQ(FailureOf([&] { empty.Producer.MakeSlide(0); }), "No Slides in Presentation");
  EXPECT_EQ(FailureOf([&] { empty.Producer.MakeContainer(5); }), "No Slides in Presentation");
  EXPECT_EQ(empty.Producer.MakeContainer(-1)->Timing().EndTime, 0);  // the lead-in needs no slide
}

TEST(SlideProducer, VisibleSlidesOverlapDuringATransition) {
  TProducerShow show(SlideShowText(5));
  EXPECT_EQ(show.Producer.VisibleSlides(6000), (TVisibleSlides{1, 1}));
  EXPECT_EQ(show.Producer.VisibleSlides(8500), (TVisibleSlides{1, 2}));
  EXPECT_EQ(show.Producer.VisibleSlides(500), (TVisibleSlides{-1, 0}));
}

TEST(SlideProducer, DialogsByNumberOrByName) {
  TProducerShow show(SlideShowText(1, "repeat", "opt_customdialogscount=2\ncustom_dialog1=About\ncustom_dialog2=help\n") +
                     "[dialog_2_]\nDialogPause=1\nobject Ok: box\nend\n[dialog_Credits]\n[dialog_About]\n");
  const std::unique_ptr<TKivDialog> help = show.Producer.MakeDialog(u"help");
  EXPECT_TRUE(help->PausesShow());
  const TKivObject& ok = *help->Children().at(0);
  EXPECT_TRUE(ok.Active());             // advanced once to time 0
  EXPECT_EQ(ok.EffectiveOpacity(), 0);  // hidden until the dialog fades in
  help->SetFade(50);
  EXPECT_EQ(ok.EffectiveOpacity(), 50);

  EXPECT_FALSE(show.Producer.MakeDialog(u"Credits")->PausesShow());
  EXPECT_EQ(show.Producer.MakeDialog(u"About"), nullptr);  // numbered 1, and "dialog_1_" is missing
  TProducerShow damaged("[main]\nopt_customdialogscount=2000000000\n[dialog_Credits]\n");
  EXPECT_NE(damaged.Producer.MakeDialog(u"Credits"), nullptr);  // the search does not run for ever
}

}  // namespace
}  // namespace kiv
