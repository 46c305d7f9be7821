// A three-line caption in DejaVu Sans at about 40 pixels per line: laid out and filled
// into its picture from glyphs already gathered, and, apart, gathered from the installed
// font (shaping and outlines) as a text the show does not store.
#include <benchmark/benchmark.h>

#include "graphics/simple_vector_text.h"
#include "graphics/text_producer.h"

namespace kiv {
namespace {

TTextParams Caption() {
  TTextParams params;
  params.FontName = u"DejaVu Sans";
  params.Size = 40.0 / 2384;  // DejaVu Sans: ascent + descent = 2384 units
  params.Align = kAlignCentre;
  params.Lines = {u"Sunset over the harbour", u"Photographed from the old lighthouse",
                  u"Summer 2019 \u2014 \u00C5lesund, Norway"};
  return params;
}

void BM_LayOutAndFillCaption(benchmark::State& state) {
  const TTextParams params = Caption();
  const std::shared_ptr<TSimpleVectorText> text = TSimpleVectorText::Build(params.FontName, params.Style, params.Lines);
  if (!text) {
    state.SkipWithError("no installed font");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(RenderVectorText(*text, params));
}
BENCHMARK(BM_LayOutAndFillCaption)->Unit(benchmark::kMicrosecond);

void BM_GatherCaptionGlyphs(benchmark::State& state) {
  const TTextParams params = Caption();
  for (auto _ : state) benchmark::DoNotOptimize(TSimpleVectorText::Build(params.FontName, params.Style, params.Lines));
}
BENCHMARK(BM_GatherCaptionGlyphs)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kiv
