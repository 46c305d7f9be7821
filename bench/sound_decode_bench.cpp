// Decoding a 30-second stereo sound at 44.1 kHz of each format the player reads, from
// opening to the last sample in its own format, beside the format's reference decoder
// timed in the same run as a whole process writing nowhere (start-up included). Each
// reports ref_ms, the reference's best time of five, and ratio, the player's mean time
// over the reference's. The files are made once per run in a temporary folder.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/text.h"
#include "sound/converter_factory.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;
using TClock = std::chrono::steady_clock;

struct TFormat {
  const char* Name;
  const char* Encoder;    // %s the source WAV, %o the file
  const char* Reference;  // decodes %o to nowhere
};

const TFormat kFormats[] = {
    {"pcm16.wav", "cp %s %o", "sox %o -t null -"},
    {"adpcm.wav", "sox %s -e ms-adpcm %o", "sox %o -t null -"},
    {"cbr.mp3", "lame --quiet -b 192 %s %o", "mpg123 -q -w /dev/null %o"},
    {"vbr.mp3", "lame --quiet -V 2 %s %o", "mpg123 -q -w /dev/null %o"},
    {"q5.ogg", "oggenc -Q -q 5 %s -o %o", "oggdec -Q -o /dev/null %o"},
    {"wmav2.wma", "ffmpeg -v quiet -i %s -c:a wmav2 -b:a 160k %o", "ffmpeg -v quiet -i %o -f null -"},
};

const fs::path& Folder() {
  static const fs::path folder = fs::temp_directory_path() / ("kiv_sound_bench_" + std::to_string(::getpid()));
  return folder;
}

std::string Filled(std::string command, const fs::path& source, const fs::path& output) {
  if (const size_t at = command.find("%s"); at != std::string::npos) command.replace(at, 2, "'" + source.string() + "'");
  command.replace(command.find("%o"), 2, "'" + output.string() + "'");
  return command;
}

// The format's file, made on first use from a music-like source: chords, a beat and
// some noise; empty when an encoder failed.
fs::path SoundFile(const TFormat& format) {
  static const bool folder = [] {
    fs::create_directories(Folder());
    std::atexit([] { fs::remove_all(Folder()); });
    const fs::path source = Folder() / "source.wav";
    return std::system(("sox -D -n -r 44100 -c 2 -b 16 '" + source.string() +
                        "' synth 30 sine 220 sine 277 sine 330 sine 440 pinknoise tremolo 2 60 gain -6 >/dev/null 2>&1")
                           .c_str()) == 0;
  }();
  const fs::path file = Folder() / format.Name;
  if (!folder) return {};
  if (!fs::exists(file) &&
      std::system((Filled(format.Encoder, Folder() / "source.wav", file) + " >/dev/null 2>&1").c_str()) != 0)
    return {};
  return file;
}

// Opens the file as the player does and reads every sample; the bytes decoded.
size_t DecodeAll(const fs::path& file) {
  std::optional<TOpenedSound> sound = OpenSound(Utf8ToUtf16(file.string()), nullptr);
  if (!sound) return 0;
  size_t bytes = 0;
  while (sound->Converter->Read(16384)) {
    bytes += sound->Converter->Output().Size();
    sound->Converter->Output().Clear();
  }
  return bytes;
}

void BM_SoundDecode(benchmark::State& state, const TFormat& format) {
  const fs::path file = SoundFile(format);
  if (file.empty()) return state.SkipWithError("the encoder failed");
  const std::string reference = Filled(format.Reference, {}, file) + " >/dev/null 2>&1";
  double referenceSeconds = 1e9;
  for (int run = 0; run < 5; ++run) {
    const TClock::time_point start = TClock::now();
    if (std::system(reference.c_str()) != 0) return state.SkipWithError("the reference decoder failed");
    referenceSeconds = std::min(referenceSeconds, std::chrono::duration<double>(TClock::now() - start).count());
  }
  double ownSeconds = 0;
  size_t bytes = 0;
  for (auto _ : state) {
    const TClock::time_point start = TClock::now();
    bytes = DecodeAll(file);
    ownSeconds += std::chrono::duration<double>(TClock::now() - start).count();
    if (bytes == 0) return state.SkipWithError("decode failed");
  }
  state.counters["ref_ms"] = referenceSeconds * 1000;
  state.counters["ratio"] = ownSeconds / double(state.iterations()) / referenceSeconds;
  state.counters["decoded_s"] = double(bytes) / 176400;
}

BENCHMARK_CAPTURE(BM_SoundDecode, pcm16_wav, kFormats[0])->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SoundDecode, ms_adpcm_wav, kFormats[1])->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SoundDecode, mp3_cbr, kFormats[2])->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SoundDecode, mp3_vbr, kFormats[3])->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SoundDecode, ogg_vorbis, kFormats[4])->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SoundDecode, wma, kFormats[5])->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiv
