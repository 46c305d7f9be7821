// Decoding a 24-megapixel JPEG (baseline and progressive) at each level through the
// store, beside the library's own command-line decoder (djpeg -scale 1/2^level, timed as
// a whole process), and the peak memory of one store load at level 3 and at level 0.
// The test pictures are made once with cjpeg and kept in the temporary folder.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "base/memory_stream.h"
#include "graphics/jpeg_bitmap_store.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

const fs::path& PictureFolder() {
  static const fs::path folder = fs::temp_directory_path() / "kiv_jpeg_bench";
  return folder;
}

// A photo-like source: smooth gradients, some texture and hard edges.
void WriteSourcePicture(const fs::path& path) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << kWidth << " " << kHeight << "\n255\n";
  std::vector<char> row(size_t(kWidth) * 3);
  uint32_t noise = 12345;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      noise = noise * 1103515245 + 12345;
      const int grain = int((noise >> 16) & 15);
      const bool tile = ((x / 300) + (y / 300)) % 2 != 0;
      row[size_t(x) * 3] = char(x * 255 / kWidth);
      row[size_t(x) * 3 + 1] = char(y * 255 / kHeight);
      row[size_t(x) * 3 + 2] = char((tile ? 180 : 60) + grain);
    }
    out.write(row.data(), std::streamsize(row.size()));
  }
}

// The JPEG file (name "baseline" or "progressive"), made on first use.
const fs::path& JpegFile(const std::string& name) {
  static const fs::path baseline = PictureFolder() / "baseline.jpg";
  static const fs::path progressive = PictureFolder() / "progressive.jpg";
  static const bool made = [] {
    fs::create_directories(PictureFolder());
    const fs::path source = PictureFolder() / "source.ppm";
    if (fs::exists(baseline) && fs::exists(progressive)) return true;
    WriteSourcePicture(source);
    const std::string in = " '" + source.string() + "'";
    const bool ok = std::system(("cjpeg -quality 90 -outfile '" + baseline.string() + "'" + in).c_str()) == 0 &&
                    std::system(("cjpeg -quality 90 -progressive -outfile '" + progressive.string() + "'" + in).c_str()) == 0;
    fs::remove(source);
    return ok;
  }();
  static const fs::path none;
  if (!made) return none;
  return name == "progressive" ? progressive : baseline;
}

std::vector<uint8_t> FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Opens the JPEG bytes as the player does and decodes one level.
bool LoadLevel(const std::vector<uint8_t>& bytes, int level) {
  TMemoryStream stream(bytes);
  const std::shared_ptr<TBitmapStore> store = LoadJpegPicture(stream, u"bench.jpg");
  return store && store->GetMipLevel(level) != nullptr;
}

void BM_StoreDecode(benchmark::State& state, const std::string& name) {
  const int level = int(state.range(0));
  const std::vector<uint8_t> bytes = FileBytes(JpegFile(name));
  if (bytes.empty()) return state.SkipWithError("cjpeg could not make the picture");
  for (auto _ : state)
    if (!LoadLevel(bytes, level)) return state.SkipWithError("decode failed");
  state.counters["megapixels"] = double(kWidth) * kHeight / 1e6;
}
BENCHMARK_CAPTURE(BM_StoreDecode, baseline, std::string("baseline"))->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StoreDecode, progressive, std::string("progressive"))
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond);

// The whole djpeg process, start-up and writing the PPM to /dev/null included.
void BM_DjpegProcess(benchmark::State& state, const std::string& name) {
  const int level = int(state.range(0));
  const fs::path& file = JpegFile(name);
  if (file.empty()) return state.SkipWithError("cjpeg could not make the picture");
  const std::string command =
      "djpeg -scale 1/" + std::to_string(1 << level) + " -outfile /dev/null '" + file.string() + "'";
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) return state.SkipWithError("djpeg failed");
}
// The work happens in another process: iterations are counted by wall time.
BENCHMARK_CAPTURE(BM_DjpegProcess, baseline, std::string("baseline"))
    ->DenseRange(0, 3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DjpegProcess, progressive, std::string("progressive"))
    ->DenseRange(0, 3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

long ResidentKiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// One load in a child process, so that the high-water mark belongs to that load alone:
// the peak resident size of the child, and how far it rose above the size it started at.
void BM_PeakMemory(benchmark::State& state, const std::string& name) {
  const int level = int(state.range(0));
  const std::vector<uint8_t> bytes = FileBytes(JpegFile(name));
  if (bytes.empty()) return state.SkipWithError("cjpeg could not make the picture");
  long report[2] = {0, 0};
  for (auto _ : state) {
    int channel[2];
    if (pipe(channel) != 0) return state.SkipWithError("pipe failed");
    const pid_t child = fork();
    if (child == 0) {
      const long start = ResidentKiB();
      const bool loaded = LoadLevel(bytes, level);
      rusage usage{};
      getrusage(RUSAGE_SELF, &usage);
      const long answer[2] = {loaded ? usage.ru_maxrss : -1, usage.ru_maxrss - start};
      _exit(write(channel[1], answer, sizeof answer) == sizeof answer ? 0 : 1);
    }
    close(channel[1]);
    const bool answered = read(channel[0], report, sizeof report) == sizeof report;
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!answered || report[0] < 0) return state.SkipWithError("load in the child failed");
  }
  state.counters["peak_rss_MiB"] = double(report[0]) / 1024;
  state.counters["load_rise_MiB"] = double(report[1]) / 1024;
}
BENCHMARK_CAPTURE(BM_PeakMemory, baseline, std::string("baseline"))
    ->Arg(3)
    ->Arg(0)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PeakMemory, progressive, std::string("progressive"))
    ->Arg(3)
    ->Arg(0)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiv
