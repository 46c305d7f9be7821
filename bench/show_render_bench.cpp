// The demo show played through the engine, slide loader and drawer offscreen (as
// kivshow render plays it): the time from opening the show to its first frame beside
// decoding slide 1's picture alone (the goal is at most twice that), and the frames per
// second of one slide at 1920 × 1080, drawn alone and each read back from the device.
// The first frame of a show with one empty slide, through the same path, is what a new
// window and its device cost before any show content; the bare program's first frame
// (floor_cross_fade.h) plus that decode is the floor under the demo's.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "container/kiv_unpack.h"
#include "floor_cross_fade.h"
#include "graphics/picture_loaders.h"
#include "kivshow/opened_show.h"
#include "kivshow/show_packer.h"
#include "kivshow/show_renderer.h"
#include "model/kiv_source.h"
#include "packed_shows.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;
using TSeconds = std::chrono::duration<double>;

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

T3DEngineGL& Graphics() { return RenderGraphics(); }

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

// The bare program's first frame at the demo's size: a new window and context, its
// program, the two pictures uploaded, one frame drawn and read back.
TSeconds FloorFirstFrame(const std::vector<uint8_t>& from, const std::vector<uint8_t>& to) {
  const auto opened = std::chrono::steady_clock::now();
  TFloorCrossFade floor(1280, 720, from, to);
  floor.DrawFrame(0, true);
  benchmark::DoNotOptimize(floor.Pixels().data());
  const TSeconds taken = std::chrono::steady_clock::now() - opened;
  floor.Release();
  return taken;
}

void BM_DemoFirstFrame(benchmark::State& state) {
  Graphics();
  const std::vector<uint8_t> from = FloorPicture(1280, 720, 0), to = FloorPicture(1280, 720, 1);
  TSeconds firstFrames{0}, decodes{0}, floors{0};
  for (auto _ : state) {
    firstFrames += FirstFrameOf(DemoShow());
    state.PauseTiming();
    const auto decoding = std::chrono::steady_clock::now();
    DecodeSlideOnePicture();
    decodes += std::chrono::steady_clock::now() - decoding;
    floors += FloorFirstFrame(from, to);
    state.ResumeTiming();
  }
  const double n = double(state.iterations());
  state.counters["picture_decode_ms"] = 1000 * decodes.count() / n;
  state.counters["floor_first_frame_ms"] = 1000 * floors.count() / n;
  state.counters["times_decode"] = firstFrames / decodes;
  // The goal: at most 1.2 × (the floor's first frame + the decode of slide 1's picture).
  state.counters["ratio_to_floor"] = firstFrames / (floors + decodes);
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
