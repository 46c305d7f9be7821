#pragma once
// The transition into one slide: the slide's personal transition when it has one,
// else a choice from the show's catalogue.
#include <cstdint>
#include <string>
#include <string_view>

#include "ini/ini_ident_list.h"
#include "model/effect_chooser.h"
#include "model/effect_options.h"
#include "render/drawer/effect_params.h"

namespace kiv {

// The transition into one slide; Duration 0 means a hard cut.
struct TSlideEffect {
  int Class = 0;
  int Type = 0;
  int32_t Duration = 0;  // ms
  TEffectParams Params;
};

// slide: the slide's section, or none; slideIndex: its position in the show (0-based,
// within the first round of slides). A class of 0 or below gives no transition.
TSlideEffect SlideEffect(const TIniIdentList* slide, int slideIndex, const TEffectOptions& options,
                         TEffectChooser& chooser);

// The effect file a custom transition's text names: the text holds one or more names
// separated by "," (blanks and tabs before a name do not count); of several, seed picks
// one. Empty when there is none.
std::u16string ChosenEffectFile(std::u16string_view text, uint32_t seed);

}  // namespace kiv
