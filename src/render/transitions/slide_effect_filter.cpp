#include "render/transitions/slide_effect_filter.h"

#include <vector>

#include "render/drawer/drawer_3d.h"

namespace kiv {

TSlideEffectFilter::TSlideEffectFilter(int effectClass, int effectType, const TEffectParams& params, const TRect& rect,
                                       int softEdge, int32_t duration, std::unique_ptr<IEffectSlide> slide)
    : TTransitionFilter(effectClass, effectType, params, rect, softEdge, duration), FSlide(std::move(slide)) {}

void TSlideEffectFilter::SetTime(double t) {
  TTransitionFilter::SetTime(t);
  FSlide->SetProgress(Progress());
}

void TSlideEffectFilter::DrawEffect(T3DDrawer& drawer, TEffectSlide) { drawer.Draw(FSlide->Item()); }

std::u16string ChosenEffectFile(std::u16string_view text, uint32_t seed) {
  std::vector<std::u16string> names;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(u',', start), text.size());
    std::u16string_view name = text.substr(start, comma - start);
    while (!name.empty() && (name.front() == u' ' || name.front() == u'\t')) name.remove_prefix(1);
    if (!name.empty()) names.emplace_back(name);
    start = comma + 1;
  }
  if (names.empty()) return {};
  return names[seed % names.size()];
}

}  // namespace kiv
