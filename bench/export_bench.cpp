// kivshow export of the demo show at 1280 × 720 and 25 frames per second, as a multiple
// of real time (20 s of show over the seconds the export takes), beside the command-line
// encoder turning the same frames and sound, handed over raw, into the same kind of file
// with the same settings: the encoder's own floor. The counters give both speeds and the
// export's share of the floor's, and the speed of drawing the frames alone (the same
// renderer reading them back and writing them raw, without encoding), which is the
// export's other floor.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "kivshow/export_timeline.h"
#include "kivshow/kivshow_command.h"
#include "kivshow/opened_show.h"
#include "kivshow/show_packer.h"
#include "kivshow/show_renderer.h"
#include "model/kiv_source.h"
#include "platform/video_file_writer.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;
using TSeconds = std::chrono::duration<double>;

constexpr int kWidth = 1280, kHeight = 720, kFps = 25;

fs::path Scratch(const std::string& name) {
  return fs::temp_directory_path() / ("kiv_export_bench_" + std::to_string(::getpid()) + "_" + name);
}

// The demo project packed as a data file, as the README packs it.
std::string PackedDemo() {
  const fs::path previous = fs::current_path();
  fs::current_path(fs::path(KIV_SOURCE_DIR) / "examples" / "demo");
  TShowPackRequest request;
  request.ProjectPath = "Project.kiv";
  request.OutputPath = Scratch("demo.KvShow").string();
  request.DataFile = true;
  request.ExtraFiles = {"buttons/aqua/btn.ini", "buttons/aqua/aqua.png"};
  PackShow(request);
  fs::current_path(previous);
  return request.OutputPath;
}

template <typename F>
TSeconds Timed(F work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::steady_clock::now() - start;
}

// The frames the export encodes, drawn by the same renderer, as raw BGR rows; the sound
// as raw samples (the show's track is silent for now). Answers the frame count.
int64_t WriteRawFrames(const std::string& show, const fs::path& pictures, const fs::path& sound) {
  std::unique_ptr<TKivShowLocator> located = OpenShowOrProject(show);
  const TKivSource& source = located->Source(u"");
  const TExportTimeline timeline({kFps, 1}, 0, int32_t(source.Duration()));
  const std::unique_ptr<T3DEngineGL> graphics = StartRenderGraphics();
  TShowRenderer renderer(*graphics, source, TPixelSize{kWidth, kHeight}, 0);
  std::ofstream raw(pictures, std::ios::binary);
  for (int64_t frame = 0; frame < timeline.FrameCount(); ++frame) {
    const std::unique_ptr<TBitmap> picture = renderer.FrameAt(timeline.FrameTime(frame));
    for (int y = 0; y < kHeight; ++y) raw.write(reinterpret_cast<const char*>(picture->Row(y)), kWidth * 3);
  }
  const std::vector<char> silence(size_t(timeline.SoundBefore(timeline.FrameCount())) * 4);
  std::ofstream(sound, std::ios::binary).write(silence.data(), std::streamsize(silence.size()));
  return timeline.FrameCount();
}

void BM_DemoExportAt720p(benchmark::State& state) {
  const std::string show = PackedDemo();
  const fs::path exported = Scratch("export.mp4"), floor = Scratch("floor.mp4");
  const fs::path pictures = Scratch("pictures.bgr"), sound = Scratch("sound.s16");
  TSeconds exporting{0}, encoding{0}, drawing{0};
  int64_t frames = 0;
  for (auto _ : state) {
    std::ostringstream out, err;
    exporting += Timed([&] {
      const std::vector<std::string> args = {"export", show, "-o", exported.string(), "--size", "1280x720"};
      if (RunKivShow(args, out, err) != 0) state.SkipWithError(("export failed: " + err.str()).c_str());
    });
    state.PauseTiming();
    drawing += Timed([&] { frames = WriteRawFrames(show, pictures, sound); });
    const std::string command =
        "ffmpeg -v error -y -f rawvideo -pix_fmt bgr24 -s 1280x720 -r 25 -i '" + pictures.string() +
        "' -f s16le -ar 44100 -ac 2 -i '" + sound.string() + "' -c:v libx264 -preset " + kH264Preset + " -crf " +
        std::to_string(kH264Quality) + " -pix_fmt yuv420p -c:a aac -b:a 192k -movflags +faststart '" +
        floor.string() + "'";
    encoding += Timed([&] {
      if (std::system(command.c_str()) != 0) state.SkipWithError("ffmpeg failed");
    });
    fs::remove(pictures);
    state.ResumeTiming();
  }
  const double showSeconds = double(frames) / kFps * double(state.iterations());
  state.counters["export_x_real_time"] = showSeconds / exporting.count();
  state.counters["ffmpeg_x_real_time"] = showSeconds / encoding.count();
  state.counters["export_share_of_ffmpeg"] = encoding / exporting;
  state.counters["drawing_x_real_time"] = showSeconds / drawing.count();
  for (const fs::path& path : {fs::path(show), exported, floor, sound}) fs::remove(path);
}
BENCHMARK(BM_DemoExportAt720p)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace kiv
