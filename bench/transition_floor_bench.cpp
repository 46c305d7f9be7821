// Slide changes drawn by the player's own path (engine, slide loader, drawing controller,
// drawer and device, offscreen, as kivshow render drives them) beside the bare program
// of floor_cross_fade.h drawing a frame of a cross-fade after each of them: each
// benchmark prints the player's frames per second, the floor's, and ratio_to_floor (the
// player's over the floor's; the goal is at least 0.8).
//
// The changes: a cross-fade between two full-window pictures, a wipe with a soft edge, a
// push, the page roll, the overturn, each from the landscape to the sunset of the demo,
// and the demo show's own first change (a circle opening on slide 2, over the demo's
// content). At 1280 × 720 and 1920 × 1080, with and without reading each frame back.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "floor_cross_fade.h"
#include "kivshow/opened_show.h"
#include "kivshow/show_renderer.h"
#include "model/kiv_source.h"
#include "packed_shows.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;
using TSeconds = std::chrono::duration<double>;

constexpr int kFrames = 40;

struct TChange {
  const char* Name;
  const char* Keys;  // the second slide's personal change; null for the demo show
};

// A change runs from 1000 to 4000 ms; the frames are spread over it.
constexpr double kChangeStart = 1000, kChangeLength = 3000;

const TChange kChanges[] = {
    {"cross_fade", "Effect_Class=2\nEffect_Type=1\n"},
    {"soft_wipe", "Effect_Class=9\nEffect_Type=1\nEffectUseSmoothline=1\nEffectSmoothline=100\n"},
    {"push", "Effect_Class=12\nEffect_Type=1\n"},
    {"page_roll", "Effect_Class=14\nEffect_Type=1\nEffectRollDiameter=120\nEffectRoll3D=1\nEffectRollCurving=0.5\n"},
    {"overturn", "Effect_Class=16\nEffect_Type=1\n"},
    {"demo_show", nullptr},
};

// Two slides of width × height, each one full-window picture, the second coming in
// with change.
std::string ChangeShow(const TChange& change, int width, int height) {
  static std::map<std::string, std::string> shows;
  const std::string name = std::string(change.Name) + "_" + std::to_string(height);
  if (auto known = shows.find(name); known != shows.end()) return known->second;
  const fs::path folder = fs::temp_directory_path() / ("kiv_change_bench_" + name + "_" + std::to_string(::getpid()));
  fs::create_directories(folder / "pictures");
  const fs::path pictures = fs::path(KIV_SOURCE_DIR) / "examples" / "demo" / "pictures";
  for (const char* picture : {"landscape.jpg", "sunset.jpg"})
    fs::copy_file(pictures / picture, folder / "pictures" / picture, fs::copy_options::overwrite_existing);
  std::ofstream(folder / "Project.kiv")
      << "[main]\nKivVersion=1.0\nopt_scr_width=" << width << "\nopt_scr_height=" << height
      << "\nopt_slidescount=2\nopt_synchpos1=" << kChangeStart << "\nopt_synchpos2=60000\nopt_fx_enable=1\n"
      << "opt_fx_time=" << kChangeLength << "\n\n"
      << "[Slide1]\nUsePersonal=1\nPers_Effect=1\nEffect_Class=0\nobject Picture: MainImage\n"
      << "  ImageName=pictures\\landscape.jpg\nend\n\n"
      << "[Slide2]\nUsePersonal=1\nPers_Effect=1\nEffectTime=" << kChangeLength << "\n"
      << change.Keys << "object Picture: MainImage\n  ImageName=pictures\\sunset.jpg\nend\n";
  const std::string show = PackedShow(folder, name);
  fs::remove_all(folder);
  return shows[name] = show;
}

// range(0): the change (index into kChanges); range(1): the height (720 or 1080);
// range(2): each frame read back.
void BM_ChangeToFloor(benchmark::State& state) {
  const TChange& change = kChanges[state.range(0)];
  const int height = int(state.range(1)), width = height * 16 / 9;
  const bool readBack = state.range(2) != 0;
  RenderGraphics();
  // The demo's first change, into slide 2, runs from 5000 to 6500 ms.
  const bool demo = change.Keys == nullptr;
  const std::string path = demo ? DemoShow() : ChangeShow(change, width, height);
  const double start = demo ? 5000 : kChangeStart, length = demo ? 1500 : kChangeLength;
  // The render's clock moves in whole milliseconds.
  const double step = std::floor(length / (kFrames + 2));

  std::unique_ptr<TKivShowLocator> located = OpenShowOrProject(path);
  const TKivSource& show = located->Source(u"");
  double time = start + std::floor(step / 2);
  TShowRenderer renderer(RenderGraphics(), show, TPixelSize{width, height}, time);
  renderer.DrawAt(time);

  // The floor draws one frame after each of the player's, so that whatever else the
  // machine does weighs on both alike.
  TFloorCrossFade floor(width, height, FloorPicture(width, height, 0), FloorPicture(width, height, 1));
  floor.DrawFrame(0, readBack);
  floor.Release();
  using TClock = std::chrono::steady_clock;
  TSeconds player{0}, bare{0};
  int frames = 0;
  for (auto _ : state) {
    time += step;
    const auto drawing = TClock::now();
    if (readBack)
      benchmark::DoNotOptimize(renderer.FrameAt(time));
    else
      renderer.DrawAt(time);
    const auto flooring = TClock::now();
    player += flooring - drawing;
    floor.DrawFrame(float(++frames) / float(kFrames + 1), readBack);
    bare += TClock::now() - flooring;
    floor.Release();
  }

  state.counters["fps"] = double(frames) / player.count();
  state.counters["floor_fps"] = double(frames) / bare.count();
  state.counters["ratio_to_floor"] = bare / player;
}
BENCHMARK(BM_ChangeToFloor)
    ->ArgNames({"change", "height", "read_back"})
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {720, 1080}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(kFrames);

}  // namespace
}  // namespace kiv
