// The demo show played through the engine, slide loader and drawer offscreen (as
// kivshow render plays it): the time from opening the show to its first frame beside
// decoding slide 1's picture alone (the goal is at most twice that), and the frames per
// second of one slide at 1920 × 1080, drawn alone and each read back from the device.
// The first frame of a show with one empty slide, through the same path, is what a new
// window and its device cost before any show content: the floor under the demo's.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "container/kiv_unpack.h"
#include "graphics/picture_loaders.h"
#include "kivshow/opened_show.h"
#include "kivshow/show_packer.h"
#include "kivshow/show_renderer.h"
#include "model/kiv_source.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;
using TSeconds = std::chrono::duration<double>;

// The project in folder packed as a data file named after name; extra files are packed
// under the names the project uses, from its own folder.
std::string PackedShow(const fs::path& folder, const std::string& name, std::vector<std::string> extraFiles = {}) {
  const std::string show =
      (fs::temp_directory_path() / ("kiv_render_bench_" + name + "_" + std::to_string(::getpid()))).string();
  const fs::path previous = fs::current_path();
  fs::current_path(folder);
  TShowPackRequest request;
  request.ProjectPath = "Project.kiv";
  request.OutputPath = show;
  request.DataFile = true;
  request.ExtraFiles = std::move(extraFiles);
  PackShow(request);
  fs::current_path(previous);
  return show;
}

const std::string& DemoShow() {
  static const std::string path = PackedShow(fs::path(KIV_SOURCE_DIR) / "examples" / "demo", "demo",
                                             {"buttons/aqua/btn.ini", "buttons/aqua/aqua.png"});
  return path;
}

// One slide of the demo's size with nothing on it.
const std::string& EmptyShow() {
  static const std::string path = [] {
    const fs::path folder =
        fs::temp_directory_path() / ("kiv_render_bench_empty_project_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "Project.kiv") << "[main]\nKivVersion=1.0\nopt_scr_width=1280\nopt_scr_height=720\n"
                                             "opt_slidescount=1\nopt_synchpos1=5000\nopt_fx_enable=0\n\n[Slide1]\n";
    const std::string show = PackedShow(folder, "empty");
    fs::remove_all(folder);
    return show;
  }();
  return path;
}

T3DEngineGL& Graphics() {
  static const std::unique_ptr<T3DEngineGL> graphics = StartRenderGraphics();
  return *graphics;
}

// Slide 1's picture read from the show and decoded at full size.
void DecodeSlideOnePicture() {
  TKivUnpack show(DemoShow());
  std::unique_ptr<TStream> entry = show.OpenEntry(u"pictures\\landscape.jpg");
  std::shared_ptr<TBitmapStore> picture = LoadBitmapStore(*entry, u"landscape.jpg");
  benchmark::DoNotOptimize(picture->GetMipLevel(0));
}

// The time from opening show (a new window included) to its first frame read back.
TSeconds FirstFrameOf(const std::string& path) {
  const auto opened = std::chrono::steady_clock::now();
  std::unique_ptr<TKivShowLocator> located = OpenShowOrProject(path);
  const TKivSource& show = located->Source(u"");
  TShowRenderer renderer(Graphics(), show, TPixelSize{1280, 720}, 0);
  benchmark::DoNotOptimize(renderer.FrameAt(0));
  return std::chrono::steady_clock::now() - opened;
}

void BM_DemoFirstFrame(benchmark::State& state) {
  Graphics();
  TSeconds firstFrames{0}, decodes{0};
  for (auto _ : state) {
    firstFrames += FirstFrameOf(DemoShow());
    state.PauseTiming();
    const auto decoding = std::chrono::steady_clock::now();
    DecodeSlideOnePicture();
    decodes += std::chrono::steady_clock::now() - decoding;
    state.ResumeTiming();
  }
  state.counters["picture_decode_ms"] = 1000 * decodes.count() / double(state.iterations());
  state.counters["times_decode"] = firstFrames / decodes;
}
BENCHMARK(BM_DemoFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);

void BM_EmptyShowFirstFrame(benchmark::State& state) {
  Graphics();
  for (auto _ : state) FirstFrameOf(EmptyShow());
}
BENCHMARK(BM_EmptyShowFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);

// state.range(0): each frame read back from the device too, as kivshow render does.
// state.range(1): the demo's slide 2 (5000 … 10000 ms: a rotating picture inside a
// frame) or slide 3 (10000 … 15000 ms: a moving picture seen through one mask).
void BM_SlideFramesAt1080p(benchmark::State& state) {
  const bool readBack = state.range(0) != 0;
  std::unique_ptr<TKivShowLocator> located = OpenShowOrProject(DemoShow());
  const TKivSource& show = located->Source(u"");
  double time = state.range(1) == 3 ? 10500 : 5500;
  TShowRenderer renderer(Graphics(), show, TPixelSize{1920, 1080}, time);
  renderer.DrawAt(time);
  for (auto _ : state) {
    time += 17;  // one frame at 60 Hz, on to the next animation step
    if (readBack)
      benchmark::DoNotOptimize(renderer.FrameAt(time));
    else
      renderer.DrawAt(time);
  }
  state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SlideFramesAt1080p)
    ->ArgNames({"read_back", "slide"})
    ->ArgsProduct({{0, 1}, {2, 3}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(200);

}  // namespace
}  // namespace kiv
