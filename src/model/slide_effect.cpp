#include "model/slide_effect.h"

#include <algorithm>
#include <vector>

namespace kiv {

namespace {

// "Effect_Class" -1: the show's catalogue chooses, with the slide's own time.
constexpr int kCatalogueClass = -1;

bool HasPersonalEffect(const TIniIdentList* slide) {
  return slide && slide->ReadBool(u"UsePersonal", false) && slide->ReadBool(u"Pers_Effect", false);
}

std::u16string CustomEffectText(const TEffectOptions& options, int number) {
  return number >= 0 && size_t(number) < options.CustomEffects.size() ? options.CustomEffects[size_t(number)]
                                                                      : std::u16string();
}

// The personal class with its type; the catalogue's choice for class -1.
TEffectChoice PersonalChoice(const TIniIdentList& slide, int effectClass, int slideIndex, TEffectChooser& chooser) {
  if (effectClass == kCatalogueClass) return chooser.ChooseEffect(slideIndex);
  if (effectClass == kCustomEffectClass) return {effectClass, slide.ReadInteger(u"Effect_Type", 0)};
  return {effectClass, EffectTypeOf(slide.ReadString(u"Effect_Type", u""))};
}

}  // namespace

TSlideEffect SlideEffect(const TIniIdentList* slide, int slideIndex, const TEffectOptions& options,
                         TEffectChooser& chooser) {
  TEffectSettings settings = options.Settings;
  int32_t duration = options.Time;
  TEffectChoice choice;
  if (HasPersonalEffect(slide)) {
    const int effectClass = slide->ReadInteger(u"Effect_Class", kCatalogueClass);
    duration = slide->ReadInteger(u"EffectTime", options.Time);
    if (slide->ReadBool(u"EffectUseSmoothline", false))
      settings.SmoothLine = slide->ReadInteger(u"EffectSmoothline", settings.SmoothLine);
    if (effectClass != kCatalogueClass) ReadEffectSettings(*slide, kPersonalEffectKeys, settings);
    choice = PersonalChoice(*slide, effectClass, slideIndex, chooser);
  } else {
    choice = chooser.ChooseEffect(slideIndex);
  }
  if (choice.Class <= 0) return {};

  const bool rollVariants =
      settings.RollVariants == u"3" ? chooser.RollVariantsFor(slideIndex) : settings.RollVariants == u"1";
  const int32_t seed = chooser.RandomSeed(slideIndex);
  const std::u16string custom = choice.Class == kCustomEffectClass ? CustomEffectText(options, choice.Type) : u"";
  return {choice.Class, choice.Type, std::max(duration, 0),
          MakeEffectParams(settings, rollVariants, seed, custom)};
}

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
