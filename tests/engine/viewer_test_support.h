#pragma once
// The show viewer on virtual time with a fake window: one 1280 x 1024 monitor, and the
// engine's messages delivered by the test as the main loop would.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/engine_test_support.h"
#include "engine/kiv_show_viewer.h"
#include "engine/show_pointer.h"
#include "model/kiv_source.h"
#include "support/show_source.h"

namespace kiv {

// One 1280 x 1024 monitor with a task bar, and a caption frame of 16 x 39 pixels.
class TFakeShowWindow : public IShowWindow {
 public:
  bool IsShown() const override { return Shown; }
  void Show() override { Shown = true; }
  void Place(const TWindowPlacement& placement) override { Placements.push_back(placement); }
  void Close() override { ++Closes; }
  TScreenLayout Screens() const override { return {{{0, 0, 1280, 1024}}, {0, 0, 1280, 984}}; }
  TPixelSize FrameExtent(TWindowFrameStyle) const override { return {16, 39}; }
  void MakeRoomForLaunch() override { ++RoomsMade; }
  void LaunchFailed() override { ++LaunchFailures; }

  bool Shown = false;
  int RoomsMade = 0;
  int LaunchFailures = 0;
  std::vector<TWindowPlacement> Placements;
  int Closes = 0;
};

class TFakePointer : public IShowPointer {
 public:
  TPointerState Read() const override { return State; }
  void SetShape(TCursorShape shape) override { Shape = shape; }
  TPointerState State{100, 100, true};
  TCursorShape Shape = TCursorShape::Arrow;
};

// A loader whose show asks for a bordered window of 1600 x 1200 until the engine sizes it.
class TBorderedShowLoader : public TTimingOnlyLoader {
 public:
  using TTimingOnlyLoader::TTimingOnlyLoader;
  TPixelSize Size() const override { return FSized ? TTimingOnlyLoader::Size() : TPixelSize{1600, 1200}; }
  void SetSize(TPixelSize size) override {
    FSized = true;
    TTimingOnlyLoader::SetSize(size);
  }
  int WindowMode() const override { return kBorderedWindow; }

 private:
  bool FSized = false;
};

class TViewerHarness {
 public:
  // Slides have what hitRule says under the pointer.
  explicit TViewerHarness(bool borderedShow = false, THitRule hitRule = {}) {
    SetClock(&Clock);
    TShowViewerParts parts;
    parts.MakeLoader = [borderedShow, hitRule](const TSlideLoaderParams& params) -> std::unique_ptr<IKivSlideLoader> {
      if (borderedShow) return std::make_unique<TBorderedShowLoader>(params, hitRule);
      return std::make_unique<TTimingOnlyLoader>(params, hitRule);
    };
    parts.ProgramPath = u"/shows/show.exe";
    Viewer = std::make_unique<TKivShowViewer>(Window, Poster, std::move(parts));
  }
  ~TViewerHarness() {
    Viewer.reset();
    SetClock(nullptr);
  }

  void Open(const std::string& project, double startMs = 0) {
    Show = SourceOf(project, u"/shows/show.exe", nullptr);
    Viewer->OpenShowData(*Show, startMs);
  }

  // Delivers what the engine posted, as the main loop does; keeps the position reports.
  bool WaitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
      while (std::unique_ptr<TKivEventData> message = Poster.Take()) {
        if (message->Code == kPositionMessage) Reports.push_back(message->Values);
        Viewer->HandleMainMessage(*message);
      }
      if (condition()) return true;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
  }

  // The engine has published a status that meets condition.
  bool WaitForStatus(const std::function<bool(const TEngineStatus&)>& condition) {
    return WaitFor([&] { return condition(Viewer->Status()); });
  }

  // The engine has reported ms for the latest seek.
  bool WaitForReportAt(int32_t ms) {
    return WaitFor([&] {
      return !Reports.empty() && Reports.back()[0] == Viewer->Engine()->LatestRequestNumber() && Reports.back()[1] == ms;
    });
  }

  TVirtualClock Clock{1000};
  TCollectingPoster Poster;
  TFakeShowWindow Window;
  std::unique_ptr<TKivSource> Show;
  std::unique_ptr<TKivShowViewer> Viewer;
  std::vector<std::vector<int32_t>> Reports;
};

}  // namespace kiv
