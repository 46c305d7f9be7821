// Loading and saving a large generated project: 5,000 slides, each with nested
// animated objects, as a show author's tool would write it.
#include <benchmark/benchmark.h>

#include <string>

#include "base/memory_stream.h"
#include "base/text.h"
#include "ini/ini_file.h"

namespace kiv {
namespace {

std::string SlideSection(int n) {
  std::string s = "[Slide" + std::to_string(n) + "]\r\n";
  s += "slideid=" + std::to_string(100000 + n) + "\r\n";
  s += "picture=Pictures\\photo_" + std::to_string(n) + ".jpg\r\n";
  s += "Pers_Fon=0,0,0\r\nUsePersonal=1\r\nPers_EndAction=0\r\n";
  s += "; objects of slide " + std::to_string(n) + "\r\n";
  for (int i = 0; i < 3; ++i) {
    s += "  object Picture" + std::to_string(i) + ":image\r\n";
    s += "    FileName=Pictures\\photo_" + std::to_string(n) + "_" + std::to_string(i) + ".jpg\r\n";
    s += "    GUID={6F1A" + std::to_string(n * 10 + i) + "-0C3D-4E7B-9A55-2D1B0C7E44F1}\r\n";
    s += "    Position=" + std::to_string(i * 40) + ",25\r\n    Opacity=100\r\n    Angle=0.5\r\n";
    s += "    object Caption:text\r\n      Text=Caption \xC3\xA9t\xC3\xA9 " + std::to_string(n) +
         "\r\n      Color=255,255,255\r\n    end\r\n";
    s += "    KeyPoints=0;0;1000;1;0;1;0.25;0.75;\r\n";
    s += "  end\r\n";
  }
  return s + "\r\n";
}

std::string GeneratedProject(int slides) {
  std::string text = "\xEF\xBB\xBF[main]\r\nopt_slidescount=" + std::to_string(slides) +
                     "\r\nopt_repeat=repeat\r\nopt_scr_caption=Benchmark show\r\n\r\n";
  for (int n = 1; n <= slides; ++n) text += SlideSection(n);
  return text;
}

TMemoryStream ProjectStream() {
  std::string text = GeneratedProject(5000);
  return TMemoryStream(std::vector<uint8_t>(text.begin(), text.end()));
}

void BM_LoadProject(benchmark::State& state) {
  TMemoryStream source = ProjectStream();
  for (auto _ : state) {
    TIniFile ini;
    source.SetPosition(0);
    if (!ini.LoadFromStream(source)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(ini.ReadString(u"Slide4999", u"picture", u""));
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * source.GetSize());
}
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond);

void BM_SaveProject(benchmark::State& state) {
  TMemoryStream source = ProjectStream();
  TIniFile ini;
  ini.LoadFromStream(source);
  int64_t bytes = 0;
  for (auto _ : state) {
    TMemoryStream target;
    if (!ini.SaveToStream(target)) state.SkipWithError("save failed");
    bytes = target.GetSize();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond);

void BM_LookupEverySlide(benchmark::State& state) {
  TMemoryStream source = ProjectStream();
  TIniFile ini;
  ini.LoadFromStream(source);
  for (auto _ : state) {
    for (int n = 1; n <= 5000; ++n)
      benchmark::DoNotOptimize(ini.ReadInteger(u"slide" + IntToText(n), u"SLIDEID", 0));
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * 5000);
}
BENCHMARK(BM_LookupEverySlide)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kiv
