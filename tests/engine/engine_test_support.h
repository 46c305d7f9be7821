#pragma once
// The engine on virtual time with a slide loader that prepares nothing but timing, a
// window without drawer, and a main thread that is the test itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

#include "base/clock.h"
#include "base/text.h"
#include "base/kiv_thread.h"
#include "engine/engine_messages.h"
#include "engine/kiv_engine.h"
#include "engine/no_drawer_controller.h"
#include "model/kiv_source.h"
#include "support/project_text.h"

namespace kiv {

using THitRule = std::function<THitResult(int slideIndex, const TKivMouseRecord& mouse)>;

inline void PrintTo(const TKivActionInfo& action, std::ostream* out) {
  *out << "action " << int(action.Type) << " " << action.Number << " \"" << Utf16ToUtf8(action.Text) << "\"";
}

// An object of className with action under the pointer.
inline THitResult ObjectHit(std::string className, TKivActionInfo action = {}) {
  THitResult hit;
  hit.Kind = THitKind::Object;
  hit.Action = std::move(action);
  hit.ClassName = std::move(className);
  return hit;
}

class TTimingOnlySlide : public IKivSlideEntry {
 public:
  TTimingOnlySlide(int index, TSlideInfo timing, THitRule hitRule)
      : FIndex(index), FTiming(std::move(timing)), FHitRule(std::move(hitRule)) {}
  const TSlideInfo& Timing() const override { return FTiming; }
  // What the rule says is under the pointer; an object pressed reports its action when
  // released over the same object.
  THitResult Pointer(const TKivMouseRecord& mouse, double, bool enabled) override {
    THitResult hit = enabled && FHitRule ? FHitRule(FIndex, mouse) : THitResult{};
    if (mouse.Event == TMouseEvent::Press || mouse.Event == TMouseEvent::DoubleClick) {
      FPressed = hit.Kind == THitKind::Object ? std::optional<THitResult>(hit) : std::nullopt;
    } else if (mouse.Event == TMouseEvent::Release) {
      if (FPressed && hit.Kind == THitKind::Object && FPressed->ClassName == hit.ClassName && FPressed->Action == hit.Action)
        hit.Fire = hit.Action;
      FPressed.reset();
    }
    return hit;
  }
  void ReleaseDeviceObjects() override {}
  int Index() const { return FIndex; }

 private:
  int FIndex;
  TSlideInfo FTiming;
  THitRule FHitRule;
  std::optional<THitResult> FPressed;
};

// Keeps the slides around the shared show time, as many as its cache holds, and sends
// the list to the engine whenever it changes. It polls on real time so that only the
// engine moves the virtual clock.
class TTimingOnlyLoader : public TKivThread, public IKivSlideLoader {
 public:
  TTimingOnlyLoader(const TSlideLoaderParams& params, THitRule hitRule, const std::atomic<bool>* stalled = nullptr)
      : FParams(params), FHitRule(std::move(hitRule)), FStalled(stalled) {}
  ~TTimingOnlyLoader() override { TKivThread::Stop(); }

  void Start() override { TKivThread::Start(); }
  bool IsRunning() const override { return TKivThread::IsRunning(); }
  void Terminate() override { TKivThread::Terminate(); }
  void Stop() override { TKivThread::Stop(); }
  TPixelSize Size() const override { return FSize; }
  void SetSize(TPixelSize size) override { FSize = size; }
  int WindowMode() const override { return 2; }
  void SetCover(bool) override {}
  int CachedCount() const override { return FCached.load(); }

 protected:
  void Iteration() override {
    if (FStalled && *FStalled) {  // a loader that cannot make its slides yet
      std::this_thread::sleep_for(std::chrono::microseconds(100));
      return;
    }
    const TKivSource& source = *FParams.Source;
    const double time = FParams.Timing->Current();
    int first = std::max(0, source.SlideAt(time));
    if (first > 0 && time <= source.SlideTiming(first - 1).Info.TotalEnd) --first;  // still leaving the screen
    int last = first + FParams.CacheSize - 1;
    if (source.EndMode() != TEndMode::Repeat) last = std::min(last, source.SlideCount() - 1);
    if (source.SlideCount() > 0 && (first != FFirst || last != FLast)) {
      TSlideList slides;
      for (int i = first; i <= last; ++i) slides.push_back(std::make_shared<TTimingOnlySlide>(i, source.SlideTiming(i).Info, FHitRule));
      FCached = int(slides.size());
      TSlideData data(slides);
      if (FParams.EngineQueue->Send(kSlideListRequest, &data)) {
        FFirst = first;
        FLast = last;
        ++ListsSent;
      }
    }
    if (first == FFirst && last == FLast) ListTime = time;
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }

 public:
  std::atomic<int> ListsSent{0};
  std::atomic<double> ListTime{-1};  // the show time the engine's slide list was last made for

 private:
  TSlideLoaderParams FParams;
  THitRule FHitRule;
  const std::atomic<bool>* FStalled;
  TPixelSize FSize{800, 600};
  std::atomic<int> FCached{0};
  int FFirst = -1;
  int FLast = -1;
};

// What the engine posted to the main thread.
class TCollectingPoster : public IMainThreadPoster {
 public:
  void PostToMain(std::unique_ptr<TKivEventData> message) override {
    std::lock_guard lock(FLock);
    FMessages.push_back(std::move(message));
  }
  std::unique_ptr<TKivEventData> Take() {
    std::lock_guard lock(FLock);
    if (FMessages.empty()) return nullptr;
    auto message = std::move(FMessages.front());
    FMessages.pop_front();
    return message;
  }

 private:
  std::mutex FLock;
  std::deque<std::unique_ptr<TKivEventData>> FMessages;
};

struct TReport {
  int32_t Position;
  bool Finished;
  int32_t Length;
};

class TEngineHarness {
 public:
  explicit TEngineHarness(THitRule hitRule = {}, TThirdSlideFactory thirdSlide = {}) {
    SetClock(&Clock);
    auto controller = std::make_unique<TNoDrawerController>();
    Controller = controller.get();
    TKivEngineParts parts;
    parts.Controller = std::move(controller);
    parts.MakeLoader = [this, hitRule](const TSlideLoaderParams& params) {
      auto loader = std::make_unique<TTimingOnlyLoader>(params, hitRule, &LoaderStalled);
      Loader = loader.get();
      ++LoadersMade;
      return loader;
    };
    parts.MakeThirdSlide = std::move(thirdSlide);
    parts.ProgramPath = u"/shows/show.exe";
    Engine = std::make_unique<TKivEngine>(std::move(parts), Poster);
    Engine->OnFirstFrame = [this] { ++FirstFrames; };
    Engine->OnPosition = [this](int32_t position, bool finished, int32_t length) {
      Reports.push_back({position, finished, length});
    };
    Engine->OnEvent = [this](TKivEventData& message) {
      if (message.Code == kActionMessage)
        Actions.push_back({uint8_t(message.Values[0]), message.Values[1], message.Text});
      else if (message.Code == kWindowGeometryMessage)
        Geometries.push_back(message.Values);
    };
  }
  ~TEngineHarness() {
    Engine.reset();
    SetClock(nullptr);
  }

  // Opens the project text directly, as the viewer does before the engine runs.
  void Open(std::string_view project, double startMs = 0) { Engine->OpenSource(nullptr, ParseProject(project), startMs); }

  // Opens, starts the engine and lets the show play.
  void Play(std::string_view project, double startMs = 0) {
    Open(project, startMs);
    Engine->Start();
    Engine->RequestPause(false);
  }

  // Delivers what the engine posted, as the main thread would.
  void Pump() {
    while (std::unique_ptr<TKivEventData> message = Poster.Take()) {
      if (message->Code == kPositionMessage) RawPositions.push_back(message->Values);
      Engine->HandleMainMessage(*message);
    }
  }

  // Pumps until condition holds; false after 60 s of real time.
  bool WaitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
      Pump();
      if (condition()) return true;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    Pump();
    return condition();
  }

  // Waits until the show stands still at ms with its slides there in the engine's hands,
  // so that what happens next does not race the loader. The show must be paused at ms.
  bool WaitForSlidesAt(double ms) {
    return WaitFor([&] {
      TTimingOnlyLoader* loader = Loader.load();
      return !Engine->Status().Active && loader && loader->ListTime == ms;
    });
  }

  // Lets the engine run for ms of virtual time.
  void RunFor(uint32_t ms) {
    const uint32_t until = Clock.NowMs() + ms;
    EXPECT_TRUE(WaitFor([&] { return int32_t(Clock.NowMs() - until) >= 0; }));
  }

  int32_t LastPosition() const { return Reports.empty() ? -1 : Reports.back().Position; }
  int FinishedCount() const {
    return int(std::count_if(Reports.begin(), Reports.end(), [](const TReport& report) { return report.Finished; }));
  }

  TVirtualClock Clock{1000};
  std::atomic<bool> LoaderStalled{false};  // while set, the loader sends no slides
  TCollectingPoster Poster;
  TNoDrawerController* Controller = nullptr;
  std::atomic<TTimingOnlyLoader*> Loader{nullptr};
  std::atomic<int> LoadersMade{0};
  std::unique_ptr<TKivEngine> Engine;

  std::vector<TReport> Reports;  // the reports the main thread takes
  std::vector<std::vector<int32_t>> RawPositions;  // every position message, stale ones too
  std::vector<TKivActionInfo> Actions;
  std::vector<std::vector<int32_t>> Geometries;
  int FirstFrames = 0;
};

}  // namespace kiv
