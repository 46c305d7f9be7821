// The slide producer: the slide area in the output, slide trees for every round and
// the lead-in, draw containers, dialog slides, and shows it cannot build.
#include "model/slide_producer.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/producer_test_support.h"

namespace kiv {
namespace {

TEST(SlideProducerArea, FitsCoversAndKeepsSidesEven) {
  int prepared = 0;
  TProducerShow show(SlideShowText(2, "repeat", "PathToButtons=skins/\n"), [&prepared](TKivSlideHost& host) {
    ++prepared;
    EXPECT_EQ(host.ButtonPath(), u"skins/");
  });
  EXPECT_EQ(prepared, 1);
  TSlideProducer& producer = show.Producer;

  producer.SetOutput({1920, 1080}, TSlideFit::Inside, 100, 100);
  EXPECT_EQ(producer.SlideArea(), (TAreaSize{1440, 1080}));
  EXPECT_EQ(producer.SlideAreaRect(), (TRect{240, 0, 1680, 1080}));
  EXPECT_EQ(producer.VisibleRect(), (TRect{240, 0, 1680, 1080}));
  EXPECT_EQ(producer.Host().Camera(), (TVector3{720, 540, -1080}));

  producer.SetOutput({1920, 1080}, TSlideFit::Cover, 100, 100);
  EXPECT_EQ(producer.SlideArea(), (TAreaSize{1920, 1440}));
  EXPECT_EQ(producer.SlideAreaRect(), (TRect{0, -180, 1920, 1260}));
  EXPECT_EQ(producer.VisibleRect(), (TRect{0, 0, 1920, 1080}));
  EXPECT_EQ(producer.Host().Camera(), (TVector3{960, 720, -1440}));

  // Half the output's width for the show: the slide keeps its size, the area halves.
  producer.SetOutput({1920, 1080}, TSlideFit::Inside, 50, 100);
  EXPECT_EQ(producer.SlideArea(), (TAreaSize{720, 1080}));
  EXPECT_EQ(producer.MakeSlide(0)->Size(), (TSizeF{1440, 1080}));

  TProducerShow odd("[main]\nopt_scr_width=1439\nopt_scr_height=1080\n");
  odd.Producer.SetOutput({1920, 1080}, TSlideFit::Inside, 100, 100);
  EXPECT_EQ(odd.Producer.SlideArea(), (TAreaSize{1440, 1080}));

  TProducerShow flat("[main]\nopt_scr_height=0\n");
  EXPECT_EQ(FailureOf([&] { flat.Producer.SetOutput({1920, 1080}, TSlideFit::Inside, 100, 100); }),
            "ZeroSize of Presentation!");
}

TEST(SlideProducerSlides, LeadInRoundsAndSlidesWithoutSection) {
  TProducerShow show(SlideShowText(5, "repeat", "", 4));
  show.Producer.SetOutput({800, 600}, TSlideFit::Inside, 100, 100);

  const std::unique_ptr<TKivSlide> leadIn = show.Producer.MakeSlide(-1);
  ASSERT_TRUE(leadIn);
  EXPECT_EQ(leadIn->Timing().StartTime, -1073741823);
  EXPECT_EQ(leadIn->Timing().EndTime, 0);
  EXPECT_EQ(leadIn->Timing().EffectInTime, 0);
  EXPECT_EQ(leadIn->Timing().EffectOutTime, 1000);  // the first slide's transition in
  EXPECT_TRUE(leadIn->Children().empty());

  const std::unique_ptr<TKivSlide> third = show.Producer.MakeSlide(7);  // the second round
  ASSERT_TRUE(third);
  EXPECT_EQ(third->Children().at(0)->Name(), u"S3");
  EXPECT_EQ(third->Timing().StartTime, 8000);  // the tree lives in the first round
  EXPECT_EQ(third->Size(), (TSizeF{800, 600}));

  EXPECT_EQ(show.Producer.MakeSlide(3), nullptr);  // slide 4 has no section
  EXPECT_EQ(show.Producer.MakeSlide(8), nullptr);
}

class TBrokenKind : public TKivObject {
 public:
  using TKivObject::TKivObject;
  void ReadProperties(const TIniIdentList&) override { throw EKivError("broken object"); }
};

TEST(SlideProducerSlides, AFailingObjectLosesItsSlideOnly) {
  TProducerShow show("[main]\nopt_slidescount=2\nopt_synchpos1=4000\nopt_synchpos2=8000\n"
                     "[Slide1]\nobject X: broken\nend\n[Slide2]\nobject Y: box\nend\n");
  TObjectFactoryChain kinds = TestKinds();
  kinds.AddKind<TBrokenKind>({u"broken"});
  TSlideProducer producer(show.Source, kinds, {});
  EXPECT_EQ(producer.MakeSlide(0), nullptr);
  EXPECT_NE(producer.MakeSlide(1), nullptr);
}

TEST(SlideProducerContainers, LaterRoundsShiftTheRecordNotTheTree) {
  TProducerShow show(SlideShowText(5, "repeat", "", 4));
  show.Producer.SetOutput({800, 600}, TSlideFit::Inside, 100, 100);
  show.Now = 28500;

  const std::unique_ptr<TDrawContainer> container = show.Producer.MakeContainer(7);
  EXPECT_EQ(container->Index(), 7);
  EXPECT_EQ(container->LoopCount(), 1);
  EXPECT_EQ(container->LoopOffset(), show.Source.Duration());
  EXPECT_EQ(container->Timing().StartTime, 28000);
  EXPECT_EQ(container->Timing().EndTime, 32000);
  EXPECT_EQ(container->Transition().Duration, 1000);
  EXPECT_EQ(container->TransitionElapsed(), 500);  // advanced to the time it was made at
  TKivSlide& slide = *container->Slide();
  EXPECT_EQ(slide.Timing().StartTime, 8000);

  // The box is on screen until its slide has left (13000 in the first round).
  container->AdvanceContainer(32500);
  EXPECT_TRUE(slide.Children().at(0)->Active());
  EXPECT_EQ(container->TransitionElapsed(), 4500);
  container->AdvanceContainer(33500);
  EXPECT_FALSE(slide.Children().at(0)->Active());

  const std::unique_ptr<TDrawContainer> missing = show.Producer.MakeContainer(3);
  EXPECT_EQ(missing->Slide(), nullptr);  // nothing to draw, but the time is still known
  EXPECT_EQ(missing->Timing().StartTime, 12000);

  const std::unique_ptr<TDrawContainer> leadIn = show.Producer.MakeContainer(-1);
  EXPECT_NE(leadIn->Slide(), nullptr);
  EXPECT_EQ(leadIn->LoopOffset(), 0);
  EXPECT_EQ(leadIn->Transition().Duration, 0);

  show.Producer.SetCurrentTiming({});
  EXPECT_EQ(FailureOf([&] { show.Producer.MakeContainer(0); }), "TSlideProducer.CurrentTiming not Assigned");
}

TEST(SlideProducerContainers, AShowWithoutSlidesIsReportedNotDividedBy) {
  TProducerShow empty("[main]\nopt_slidescount=0\nopt_repeat=repeat\n");
  EXPECT_EQ(FailureOf([&] { empty.Producer.MakeSlide(0); }), "No Slides in Presentation");
  EXPECT_EQ(FailureOf([&] { empty.Producer.MakeContainer(5); }), "No Slides in Presentation");
  EXPECT_EQ(FailureOf([&] { empty.Producer.VisibleSlides(100); }), "No Slides in Presentation");
  EXPECT_NE(empty.Producer.MakeSlide(-1), nullptr);  // the lead-in needs no slide
  EXPECT_EQ(empty.Producer.MakeContainer(-1)->Timing().EndTime, 0);
}

TEST(SlideProducerVisible, BothSlidesDuringATransition) {
  TProducerShow show(SlideShowText(5));
  EXPECT_EQ(show.Producer.VisibleSlides(6000), (TVisibleSlides{1, 1}));
  EXPECT_EQ(show.Producer.VisibleSlides(8500), (TVisibleSlides{1, 2}));
  EXPECT_EQ(show.Producer.VisibleSlides(9500), (TVisibleSlides{2, 2}));
  EXPECT_EQ(show.Producer.VisibleSlides(500), (TVisibleSlides{-1, 0}));
}

class TCollectingContext : public IPrepareContext {
 public:
  void Add(TKivObject& object) override { Added.push_back(object.Name()); }
  std::vector<std::u16string> Added;
};

TEST(SlideProducerDialogs, FoundByNumberOrByName) {
  TProducerShow show(SlideShowText(1, "repeat", "opt_customdialogscount=2\ncustom_dialog1=About\ncustom_dialog2=help\n") +
                     "[dialog_2_]\nDialogPause=1\nobject Ok: box\n  Size=100,50\n  FitMode=None\nend\n"
                     "[dialog_Credits]\nobject Names: box\n  Size=10,10\nend\n"
                     "[dialog_About]\n");
  show.Producer.SetOutput({800, 600}, TSlideFit::Inside, 100, 100);

  const std::unique_ptr<TKivDialog> help = show.Producer.MakeDialog(u"help");
  ASSERT_TRUE(help);
  EXPECT_EQ(help->DialogName(), u"help");
  EXPECT_TRUE(help->PausesShow());
  EXPECT_EQ(help->Size(), (TSizeF{800, 600}));
  TKivObject& ok = *help->Children().at(0);
  EXPECT_EQ(ok.Name(), u"Ok");
  EXPECT_TRUE(ok.Active());  // advanced once to time 0
  EXPECT_EQ(ok.EffectiveOpacity(), 0);  // hidden until the dialog fades in
  help->SetFade(50);
  EXPECT_EQ(ok.EffectiveOpacity(), 50);
  help->SetFade(250);
  EXPECT_EQ(help->Fade(), 100);
  TCollectingContext context;
  help->Prepare(context);
  EXPECT_EQ(context.Added, std::vector<std::u16string>{u"Ok"});

  const std::unique_ptr<TKivDialog> credits = show.Producer.MakeDialog(u"Credits");
  ASSERT_TRUE(credits);
  EXPECT_FALSE(credits->PausesShow());
  EXPECT_EQ(credits->Children().at(0)->Name(), u"Names");

  EXPECT_EQ(show.Producer.MakeDialog(u"About"), nullptr);  // numbered 1, and "dialog_1_" is missing
  EXPECT_EQ(show.Producer.MakeDialog(u"nothing"), nullptr);

  // A damaged dialog count does not make the search run for ever.
  TProducerShow damaged("[main]\nopt_customdialogscount=2000000000\n[dialog_Credits]\n");
  EXPECT_NE(damaged.Producer.MakeDialog(u"Credits"), nullptr);
}

}  // namespace
}  // namespace kiv
