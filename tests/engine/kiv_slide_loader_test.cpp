// The slide loader thread on virtual time: the slide lists it hands to a real queue, in
// order and each after the preload of its new slide; what its entries find under the
// pointer; the window it asks for; clean stops; a whole show played through it.
#include "engine/kiv_slide_loader.h"
#include "engine/show_keys.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "engine/engine_test_support.h"
#include "model/producer_test_support.h"

namespace kiv {
namespace {

int IndexOf(const IKivSlideEntry& slide) { return dynamic_cast<const TContainerSlideEntry&>(slide).Container().Index(); }

// Pumps until condition holds; false after 30 s of real time.
bool PumpUntil(const std::function<void()>& pump, const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  for (pump(); !condition(); pump()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

// A loader with the test as its engine, taking lists only when the test pumps.
struct TLoaderRun {
  explicit TLoaderRun(std::string_view text) : Source(nullptr, ParseProject(text).release(), true, u"show.exe", &Random) {
    SetClock(&Clock);
    Queue.SetHandler([this](int, TMessageData* data) {
      Last = dynamic_cast<TSlideData&>(*data).Slides;
      std::string event = "list";
      for (const auto& slide : Last) event += " " + std::to_string(IndexOf(*slide));
      Record(event);
    });
    const TSlideLoaderParams params{&Source, 3, Timing, &Queue,
                                    [this](IKivSlideEntry& slide) { Record("preload " + std::to_string(IndexOf(slide))); }};
    Loader = MakeKivSlideLoader(params, TestKinds(), [this](TKivSlideHost&) { ++HostsPrepared; });
  }
  ~TLoaderRun() {
    // As the engine stops it: the thread may be waiting to hand over a list.
    Loader->Terminate();
    EXPECT_TRUE(PumpUntil([this] { Queue.Process(); }, [this] { return !Loader->IsRunning(); }));
    Loader.reset();
    SetClock(nullptr);
  }

  void Record(const std::string& event) {
    std::lock_guard lock(EventLock);
    Events.push_back(event);
  }
  bool WaitForEvents(size_t count) {
    return PumpUntil([this] { Queue.Process(); }, [this, count] {
      std::lock_guard lock(EventLock);
      return Events.size() >= count;
    });
  }

  TVirtualClock Clock{5000};
  TScriptedRandom Random;
  TKivSource Source;
  std::shared_ptr<TShowTiming> Timing = std::make_shared<TShowTiming>();
  TThreadEventList Queue;
  std::unique_ptr<IKivSlideLoader> Loader;
  int HostsPrepared = 0;
  TSlideList Last;
  std::mutex EventLock;
  std::vector<std::string> Events;  // preloads (loader thread) and lists taken (test thread)
};

TEST(KivSlideLoader, SendsTheCacheInOrderAfterPreloadingEachNewSlide) {
  TLoaderRun run(SlideShowText(5));
  EXPECT_EQ(run.HostsPrepared, 1);
  run.Loader->SetSize({1920, 1080});  // a 1440 × 1080 slide area from x = 240
  run.Timing->SetCurrent(6000);
  run.Loader->Start();
  ASSERT_TRUE(run.WaitForEvents(6));
  EXPECT_EQ(run.Loader->CachedCount(), 3);
  run.Timing->SetCurrent(10000);  // slide 1 has left the screen
  ASSERT_TRUE(run.WaitForEvents(8));
  EXPECT_EQ(run.Events, (std::vector<std::string>{"preload 1", "list 1", "preload 2", "list 1 2", "preload 3",
                                                   "list 1 2 3", "preload 4", "list 2 3 4"}));

  IKivSlideEntry& slide = *run.Last.front();  // slide 2: its box covers 760 … 1160 × 390 … 690
  EXPECT_EQ(slide.Timing().StartTime, 8000);
  const THitResult box = slide.Pointer({TMouseEvent::Press, 1, 960, 540, kStateLeftButton}, 10000, true);
  EXPECT_EQ(box.ClassName, "TKivBox");  // under the box that lets clicks through
  EXPECT_EQ(box.Action.Type, kActionGoToSlide);
  EXPECT_EQ(box.Action.Number, 3);  // "s3" is the third slide
  EXPECT_EQ(box.Fire.Type, kActionNone);  // a press runs nothing
  const THitResult released = slide.Pointer({TMouseEvent::Release, 1, 970, 545}, 10000, true);
  EXPECT_EQ(released.Fire, (TKivActionInfo{kActionGoToSlide, 3, u"s3"}));  // resolved by name
  EXPECT_EQ(slide.Pointer({TMouseEvent::Move, 0, 600, 540}, 10000, true).ClassName, "TKivSlide");
  EXPECT_EQ(slide.Pointer({TMouseEvent::Move, 0, 100, 540}, 10000, true).Kind, THitKind::None);  // the bar beside it
  EXPECT_EQ(slide.Pointer({TMouseEvent::Move, 0, 960, 540}, 10000, false).Kind, THitKind::None);  // covered
}

TEST(KivSlideLoader, AsksForTheWindowTheShowWants) {
  TLoaderRun full(SlideShowText(1));
  EXPECT_EQ(full.Loader->WindowMode(), 0);
  EXPECT_EQ(full.Loader->Size(), (TPixelSize{640, 480}));
  EXPECT_EQ(TLoaderRun(SlideShowText(1, "repeat", "opt_scr_full=0\nopt_withoutborder=0\n")).Loader->WindowMode(), 1);
  EXPECT_EQ(TLoaderRun(SlideShowText(1, "repeat", "opt_scr_full=0\n")).Loader->WindowMode(), 2);
}

TEST(KivSlideLoader, StopsWhileWaitingToHandOverAndIdlesWithoutSlides) {
  TLoaderRun run(SlideShowText(5));
  run.Loader->Start();
  ASSERT_TRUE(PumpUntil([] {}, [&run] { return run.Queue.Count() == 1; }));  // nobody takes the list
  run.Queue.Close();
  run.Loader->Stop();
  EXPECT_EQ(run.Events, (std::vector<std::string>{"preload -1"}));

  TLoaderRun empty("[main]\nopt_slidescount=0\n");
  empty.Loader->Start();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // a few turns of the loader
  empty.Queue.Process();
  EXPECT_TRUE(empty.Events.empty());
  EXPECT_EQ(empty.Clock.NowMs(), 5000u);  // polling is no show time
}

TEST(KivSlideLoader, TheEnginePlaysAShowToItsEndThroughIt) {
  TVirtualClock clock(1000);
  SetClock(&clock);
  TCollectingPoster poster;
  auto controller = std::make_unique<TNoDrawerController>(TPixelSize{800, 600});
  TNoDrawerController& drawer = *controller;
  TKivEngineParts parts;
  parts.Controller = std::move(controller);
  parts.MakeLoader = [](const TSlideLoaderParams& params) { return MakeKivSlideLoader(params, TestKinds(), {}); };
  bool finished = false;
  {
    TKivEngine engine(std::move(parts), poster);
    engine.OnPosition = [&finished](int32_t, bool end, int32_t) { finished = finished || end; };
    engine.OpenSource(nullptr, ParseProject(SlideShowText(4, "close")), 0);
    engine.Start();
    engine.RequestPause(false);
    const auto pump = [&] {
      while (std::unique_ptr<TKivEventData> message = poster.Take()) engine.HandleMainMessage(*message);
    };
    EXPECT_TRUE(PumpUntil(pump, [&finished] { return finished; }));
    // The show outruns a loader that polls in real time: only the first slides are sure.
    EXPECT_GE(drawer.SlidesPreloaded(), 1);
    EXPECT_GT(drawer.FramesDrawn(), 0);
  }
  SetClock(nullptr);
}

}  // namespace
}  // namespace kiv
