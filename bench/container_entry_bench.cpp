// Reading a 32 MB entry of a show through the accessor (window with progress hook,
// cipher or inflate as stored) beside reading the same bytes from the file directly.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/file_stream.h"
#include "base/progress_hook.h"
#include "container/file_accessor.h"
#include "container/kiv_pack.h"

namespace kiv {
namespace {

constexpr int64_t kEntrySize = 32 << 20;
constexpr int64_t kReadPiece = 65536;

// A show file with one entry per pack mode, made once per process.
const std::string& ShowPath() {
  static const std::string path = [] {
    const std::string file =
        (std::filesystem::temp_directory_path() / ("kiv_entry_bench_" + std::to_string(::getpid()))).string();
    std::vector<uint8_t> bytes(kEntrySize);
    uint32_t seed = 1;
    for (size_t i = 0; i < bytes.size(); ++i) {
      seed = seed * 1103515245 + 12345;
      bytes[i] = uint8_t((seed >> 16) & 0x3F);  // compressible, like picture data is not quite
    }
    TFileStream out(file, TFileMode::Create);
    TKivPack pack(out);
    pack.AddBytes(u"stored", bytes, TPackMode::Stored);
    pack.AddBytes(u"deflated", bytes, TPackMode::Deflated);
    pack.AddBytes(u"enciphered", bytes, TPackMode::Enciphered);
    pack.Finish({u"bench", false, false});
    return file;
  }();
  return path;
}

void ReadToEnd(benchmark::State& state, TStream& stream) {
  std::vector<uint8_t> piece(kReadPiece);
  int64_t total = 0;
  for (int64_t n; (n = stream.Read(piece.data(), kReadPiece)) > 0;) total += n;
  if (total != kEntrySize) state.SkipWithError("short entry");
}

void BM_EntryThroughAccessor(benchmark::State& state, const char16_t* name) {
  auto container = std::make_unique<TKivUnpack>(ShowPath());
  TFileAccessor accessor(std::make_shared<TPackedFileSource>(std::move(container)), u"/");
  SetProgressMode(TProgressMode::Playing);  // the hook does its real work: yield every 5 ms
  for (auto _ : state) {
    std::unique_ptr<TStream> entry = accessor.OpenStream(name);
    ReadToEnd(state, *entry);
  }
  SetProgressMode(TProgressMode::None);
  state.SetBytesProcessed(int64_t(state.iterations()) * kEntrySize);
}
BENCHMARK_CAPTURE(BM_EntryThroughAccessor, stored, u"stored")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EntryThroughAccessor, deflated, u"deflated")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EntryThroughAccessor, enciphered, u"enciphered")->Unit(benchmark::kMillisecond);

void BM_PlainFileRead(benchmark::State& state) {
  const TKivUnpack container(ShowPath());
  const int64_t position = container.FindEntry(u"stored")->Position;
  for (auto _ : state) {
    TFileStream file(ShowPath(), TFileMode::OpenRead);
    file.SetPosition(position);
    std::vector<uint8_t> piece(kReadPiece);
    for (int64_t left = kEntrySize; left > 0;) left -= file.Read(piece.data(), std::min(left, kReadPiece));
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kEntrySize);
}
BENCHMARK(BM_PlainFileRead)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiv
