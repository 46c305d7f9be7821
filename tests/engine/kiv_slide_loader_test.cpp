// The slide loader thread on virtual time: the slide lists it hands to a real queue, in
// order and each after the preload of its new slide; what its entries find under the
// pointer; the window it asks for; clean stops; and a whole show played through it.
#include "engine/kiv_slide_loader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/log.h"
#include "engine/engine_test_support.h"
#include "model/producer_test_support.h"

namespace kiv {
namespace {

using TIndexes = std::vector<int>;

int IndexOf(const IKivSlideEntry& slide) { return dynamic_cast<const TContainerSlideEntry&>(slide).Container().Index(); }

// Pumps until condition holds; false after 30 s of real time.
bool PumpUntil(const std::function<void()>& pump, const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    pump();
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

// A loader over a show, with the test as its engine: the queue is processed only when
// the test says so.
class TLoaderRun {
 public:
  explicit TLoaderRun(std::string_view text)
      : Source(nullptr, ParseProject(text).release(), true, u"show.exe", &Random) {
    SetClock(&Clock);
    Queue.SetHandler([this](int code, TMessageData* data) {
      if (auto* slides = dynamic_cast<TSlideData*>(data); slides && code == kSlideListRequest) Take(slides->Slides);
    });
    TSlideLoaderParams params{&Source, 3, Timing, &Queue, [this](IKivSlideEntry& slide) {
                                Record("preload " + std::to_string(IndexOf(slide)));
                              }};
    Loader = MakeKivSlideLoader(params, TestKinds(), [this](TKivSlideHost&) { ++HostsPrepared; });
  }
  ~TLoaderRun() {
    StopLoader();
    Loader.reset();
    SetClock(nullptr);
  }

  // As the engine stops it: the thread may be waiting to hand over a list.
  void StopLoader() {
    Loader->Terminate();
    EXPECT_TRUE(PumpUntil([this] { Queue.Process(); }, [this] { return !Loader->IsRunning(); }));
    Loader->Stop();
  }

  bool WaitForLists(size_t count) {
    return PumpUntil([this] { Queue.Process(); }, [this, count] { return Lists.size() >= count; });
  }

  std::vector<std::string> Events() {
    std::lock_guard lock(FLock);
    return FEvents;
  }

  TVirtualClock Clock{5000};
  TScriptedRandom Random;
  TKivSource Source;
  std::shared_ptr<TTiming> Timing = std::make_shared<TTiming>();
  TThreadEventList Queue;
  std::unique_ptr<IKivSlideLoader> Loader;
  int HostsPrepared = 0;
  std::vector<TIndexes> Lists;  // the indexes of every list taken
  TSlideList Last;

 private:
  void Take(const TSlideList& slides) {
    TIndexes indexes;
    std::string event = "list";
    for (const auto& slide : slides) {
      indexes.push_back(IndexOf(*slide));
      event += " " + std::to_string(indexes.back());
    }
    Lists.push_back(indexes);
    Last = slides;
    Record(event);
  }
  void Record(std::string event) {
    std::lock_guard lock(FLock);
    FEvents.push_back(std::move(event));
  }

  std::mutex FLock;
  std::vector<std::string> FEvents;  // preloads (loader thread) and lists taken (test thread)
};

TEST(KivSlideLoader, SendsTheCacheInOrderEachNewSlidePreloadedFirst) {
  TLoaderRun run(SlideShowText(5));
  EXPECT_EQ(run.HostsPrepared, 1);
  run.Loader->SetSize({1920, 1080});
  run.Timing->SetCurrent(6000);
  run.Loader->Start();
  ASSERT_TRUE(run.WaitForLists(3));
  EXPECT_EQ(run.Lists, (std::vector<TIndexes>{{1}, {1, 2}, {1, 2, 3}}));
  EXPECT_EQ(run.Loader->CachedCount(), 3);

  run.Timing->SetCurrent(10000);  // slide 1 has left the screen
  ASSERT_TRUE(run.WaitForLists(4));
  EXPECT_EQ(run.Lists.back(), (TIndexes{2, 3, 4}));
  EXPECT_EQ(run.Events(), (std::vector<std::string>{"preload 1", "list 1", "preload 2", "list 1 2", "preload 3",
                                                     "list 1 2 3", "preload 4", "list 2 3 4"}));
  EXPECT_EQ(run.Last.front()->Timing().StartTime, 8000);
}

TEST(KivSlideLoader, EntriesFindTheObjectUnderThePointerInOutputPixels) {
  TLoaderRun run(SlideShowText(5));
  run.Loader->SetSize({1920, 1080});  // a 1440 × 1080 slide area from x = 240
  run.Timing->SetCurrent(10000);
  run.Loader->Start();
  ASSERT_TRUE(run.WaitForLists(1));
  IKivSlideEntry& slide = *run.Last.front();  // slide 2, its box at 760 … 1160 × 390 … 690

  const THitResult box = slide.HitTest({TMouseEvent::Press, 1, 960, 540}, 10000);
  EXPECT_EQ(box.Kind, THitKind::Object);
  EXPECT_EQ(box.ClassName, "TKivBox");  // under the box that lets clicks through
  EXPECT_EQ(box.Action.Type, kActionGoToSlide);
  EXPECT_EQ(box.Action.Number, 3);  // "s3" is the third slide

  const THitResult beside = slide.HitTest({TMouseEvent::Move, 0, 600, 540}, 10000);
  EXPECT_EQ(beside.ClassName, "TKivSlide");
  EXPECT_EQ(beside.Action.Type, kActionNone);
  EXPECT_EQ(slide.HitTest({TMouseEvent::Move, 0, 100, 540}, 10000).Kind, THitKind::None);  // on the bar beside it

  // Covering the output, the slide reaches the edges.
  TLoaderRun cover(SlideShowText(5));
  cover.Loader->SetSize({1920, 1080});
  cover.Loader->SetCover(true);
  cover.Timing->SetCurrent(10000);
  cover.Loader->Start();
  ASSERT_TRUE(cover.WaitForLists(1));
  EXPECT_EQ(cover.Last.front()->HitTest({TMouseEvent::Move, 0, 100, 540}, 10000).ClassName, "TKivSlide");
}

TEST(KivSlideLoader, AsksForTheWindowTheShowWants) {
  TLoaderRun full(SlideShowText(1));
  EXPECT_EQ(full.Loader->WindowMode(), 0);
  EXPECT_EQ(full.Loader->Size(), (TPixelSize{640, 480}));
  full.Loader->SetSize({1024, 768});
  EXPECT_EQ(full.Loader->Size(), (TPixelSize{1024, 768}));

  TLoaderRun bordered(SlideShowText(1, "repeat", "opt_scr_full=0\nopt_withoutborder=0\n"));
  EXPECT_EQ(bordered.Loader->WindowMode(), 1);
  TLoaderRun borderless(SlideShowText(1, "repeat", "opt_scr_full=0\n"));
  EXPECT_EQ(borderless.Loader->WindowMode(), 2);
}

class TCapturingLog : public TLog {
 public:
  bool Enabled() const override { return true; }
  bool Contains(std::string_view text) {
    std::lock_guard lock(FLock);
    for (const std::string& line : FLines)
      if (line.find(text) != std::string::npos) return true;
    return false;
  }

 protected:
  void WriteRawLine(std::string_view line) override {
    std::lock_guard lock(FLock);
    FLines.emplace_back(line);
  }

 private:
  std::mutex FLock;
  std::vector<std::string> FLines;
};

TEST(KivSlideLoader, StopsCleanlyWhileWaitingToHandOverAndWithoutSlides) {
  {
    TLoaderRun run(SlideShowText(5));
    run.Timing->SetCurrent(6000);
    run.Loader->Start();
    // Nobody takes the first list; closing the queue releases the thread.
    ASSERT_TRUE(PumpUntil([] {}, [&run] { return run.Queue.Count() == 1; }));
    run.Queue.Close();
    run.Loader->Stop();
    EXPECT_FALSE(run.Loader->IsRunning());
    EXPECT_TRUE(run.Lists.empty());
  }

  auto capturing = std::make_unique<TCapturingLog>();
  TCapturingLog& log = *capturing;
  SetLog(std::move(capturing));
  {
    TLoaderRun empty("[main]\nopt_slidescount=0\n");
    empty.Loader->Start();
    const uint32_t started = empty.Clock.NowMs();
    for (int turn = 0; turn < 5; ++turn) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));  // the loader polls every 10 ms
      empty.Queue.Process();
    }
    EXPECT_EQ(empty.Clock.NowMs(), started);  // polling is no show time
    EXPECT_TRUE(empty.Lists.empty());
    EXPECT_EQ(empty.Loader->CachedCount(), 0);
  }
  EXPECT_TRUE(log.Contains("No Slides in Presentation"));
  SetLog(nullptr);
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
    EXPECT_TRUE(PumpUntil(
        [&] {
          while (std::unique_ptr<TKivEventData> message = poster.Take()) engine.HandleMainMessage(*message);
        },
        [&finished] { return finished; }));
    // The show runs ahead of a loader that polls in real time, so only some slides
    // are sure to have been made on the way.
    EXPECT_GE(drawer.SlidesPreloaded(), 1);
    EXPECT_GT(drawer.FramesDrawn(), 0);
  }
  SetClock(nullptr);
}

}  // namespace
}  // namespace kiv
