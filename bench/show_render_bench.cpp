// The demo show played through the engine, slide loader and drawer offscreen (as
// kivshow render plays it): the time from opening the show to its first frame beside
// decoding slide 1's picture alone (the goal is at most twice that), and the frames per
// second of one slide at 1920 × 1080, drawn alone and each read back from the device.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

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

// The demo show packed as a data file, once per process.
const std::string& DemoShow() {
  static const std::string path = [] {
    const std::string show = (fs::temp_directory_path() / ("kiv_render_bench_" + std::to_string(::getpid()))).string();
    // The skin is packed under the names the project uses, from the show's own folder.
    const fs::path previous = fs::current_path();
    fs::current_path(fs::path(KIV_SOURCE_DIR) / "examples" / "demo");
    TShowPackRequest request;
    request.ProjectPath = "Project.kiv";
    request.OutputPath = show;
    request.DataFile = true;
    request.ExtraFiles = {"buttons/aqua/btn.ini", "buttons/aqua/aqua.png"};
    PackShow(request);
    fs::current_path(previous);
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

void BM_DemoFirstFrame(benchmark::State& state) {
  Graphics();
  TSeconds firstFrames{0}, decodes{0};
  for (auto _ : state) {
    const auto opened = std::chrono::steady_clock::now();
    std::unique_ptr<TKivShowLocator> located = OpenShowOrProject(DemoShow());
    const TKivSource& show = located->Source(u"");
    auto renderer = std::make_unique<TShowRenderer>(Graphics(), show, TPixelSize{1280, 720}, 0);
    benchmark::DoNotOptimize(renderer->FrameAt(0));
    firstFrames += std::chrono::steady_clock::now() - opened;

    state.PauseTiming();
    renderer.reset();
    const auto decoding = std::chrono::steady_clock::now();
    DecodeSlideOnePicture();
    decodes += std::chrono::steady_clock::now() - decoding;
    state.ResumeTiming();
  }
  state.counters["picture_decode_ms"] = 1000 * decodes.count() / double(state.iterations());
  state.counters["times_decode"] = firstFrames / decodes;
}
BENCHMARK(BM_DemoFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);

// state.range(0): each frame read back from the device too, as kivshow render does.
void BM_SlideFramesAt1080p(benchmark::State& state) {
  const bool readBack = state.range(0) != 0;
  std::unique_ptr<TKivShowLocator> located = OpenShowOrProject(DemoShow());
  const TKivSource& show = located->Source(u"");
  // Slide 2 (5000 … 10000 ms): a rotating picture inside a frame, no transition.
  double time = 5500;
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
BENCHMARK(BM_SlideFramesAt1080p)->ArgName("read_back")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(200);

}  // namespace
}  // namespace kiv
