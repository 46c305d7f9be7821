// A 1080p H.264 clip on a slide of 1920 × 1080, played through the engine, slide loader
// and drawer offscreen (as kivshow render plays it, without reading frames back): each
// iteration decodes the clip's next frame, uploads its planes and draws the slide. Beside
// it, FFmpeg's own command-line decoder on the same file, decoding to nowhere, timed in
// the same run (best of three). Reports fps, ref_fps and ratio = fps ÷ ref_fps (the goal
// is at least 0.8). A second benchmark times the video source alone (decoding into the
// frame the drawer is handed), to tell the decoding from the engine's own frame cost.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "kivshow/opened_show.h"
#include "kivshow/show_packer.h"
#include "kivshow/show_renderer.h"
#include "model/kiv_source.h"
#include "model/win_video_source.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;
using TSeconds = std::chrono::duration<double>;

constexpr int kFrames = 150;  // 5 s at 30 fps
constexpr double kFrameMs = 1000.0 / 30;

const fs::path& Folder() {
  static const fs::path folder = [] {
    const fs::path path = fs::temp_directory_path() / ("kiv_video_bench_" + std::to_string(::getpid()));
    fs::create_directories(path);
    std::atexit([] { fs::remove_all(fs::temp_directory_path() / ("kiv_video_bench_" + std::to_string(::getpid()))); });
    return path;
  }();
  return folder;
}

// The clip and the show that holds it; empty when ffmpeg failed.
std::string ClipShow() {
  static const std::string show = []() -> std::string {
    const fs::path clip = Folder() / "clip.mp4";
    const std::string make = "ffmpeg -v error -y -f lavfi -i testsrc2=s=1920x1080:r=30:d=5 -c:v libx264 "
                             "-preset veryfast -pix_fmt yuv420p '" + clip.string() + "' >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0) return "";
    std::ofstream(Folder() / "Project.kiv")
        << "[main]\nopt_scr_width=1920\nopt_scr_height=1080\nopt_slidescount=1\nopt_synchpos1=6000\n"
           "opt_fx_enable=0\n\n[Slide1]\nobject Clip: Video\n  FileName=clip.mp4\nend\n";
    const fs::path previous = fs::current_path();
    fs::current_path(Folder());
    TShowPackRequest request;
    request.ProjectPath = "Project.kiv";
    request.OutputPath = (Folder() / "show.KvShow").string();
    request.DataFile = true;
    PackShow(request);
    fs::current_path(previous);
    return request.OutputPath;
  }();
  return show;
}

// FFmpeg's command-line decoder on the clip: frames per second, best of three; 0 when it
// fails.
double ReferenceFps() {
  const std::string reference = "ffmpeg -v error -i '" + (Folder() / "clip.mp4").string() + "' -f null - >/dev/null 2>&1";
  double referenceSeconds = 1e9;
  for (int run = 0; run < 3; ++run) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(reference.c_str()) != 0) return 0;
    referenceSeconds = std::min(referenceSeconds, TSeconds(std::chrono::steady_clock::now() - start).count());
  }
  return kFrames / referenceSeconds;
}

void BM_ClipDecodeAndDraw1080p(benchmark::State& state) {
  const std::string show = ClipShow();
  if (show.empty()) return state.SkipWithError("ffmpeg made no clip");
  const double referenceFps = ReferenceFps();
  if (referenceFps <= 0) return state.SkipWithError("ffmpeg failed to decode");
  static const std::unique_ptr<T3DEngineGL> graphics = StartRenderGraphics();
  std::unique_ptr<TKivShowLocator> located = OpenShowOrProject(show);
  const TKivSource& source = located->Source(u"");
  TShowRenderer renderer(*graphics, source, TPixelSize{1920, 1080}, 0);
  int frame = 0;
  renderer.DrawAt(0);
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    frame = frame + 1 < kFrames ? frame + 1 : 0;
    renderer.DrawAt(double(std::lround(frame * kFrameMs)));  // the render clock counts whole ms
  }
  const double fps = double(state.iterations()) / TSeconds(std::chrono::steady_clock::now() - start).count();
  state.counters["fps"] = fps;
  state.counters["ref_fps"] = referenceFps;
  state.counters["ratio"] = fps / referenceFps;
}
BENCHMARK(BM_ClipDecodeAndDraw1080p)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kFrames - 1);

void BM_ClipDecode1080p(benchmark::State& state) {
  if (ClipShow().empty()) return state.SkipWithError("ffmpeg made no clip");
  const double referenceFps = ReferenceFps();
  if (referenceFps <= 0) return state.SkipWithError("ffmpeg failed to decode");
  std::unique_ptr<TWinVideoSource> source = TWinVideoSource::OpenFile((Folder() / "clip.mp4").string());
  if (!source) return state.SkipWithError("the clip does not open");
  TVideoFrame frame;
  int64_t index = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    index = index + 1 < kFrames ? index + 1 : 0;
    benchmark::DoNotOptimize(source->GetFrame(index, frame));
  }
  const double fps = double(state.iterations()) / TSeconds(std::chrono::steady_clock::now() - start).count();
  state.counters["fps"] = fps;
  state.counters["ref_fps"] = referenceFps;
  state.counters["ratio"] = fps / referenceFps;
}
BENCHMARK(BM_ClipDecode1080p)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kFrames - 1);

}  // namespace
}  // namespace kiv
