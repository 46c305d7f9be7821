#pragma once
// The keys a button object reads: its skin and colour settings around the picture keys.
#include <cstdint>
#include <optional>
#include <string>

#include "ini/ini_ident_list.h"
#include "model/image_keys.h"
#include "model/text_keys.h"

namespace kiv {

struct TButtonKeys {
  std::u16string Theme;     // name of the button skin
  double BtnOpacity = 100;  // % for the button body
  double TxtOpacity = 100;  // % for the caption
  int32_t Hue = 0;
  int32_t Saturation = 0;
  int32_t Lightness = 0;
  TImageKeys Image;
  double BtnMinWidth = 0;   // % of the skin width
  double BtnOffsetX = 100;  // horizontal caption offset, %
  // The caption: the text keys of the button's own section ("Text", "FontName",
  // "FontStyle", "LineSpacing"); none without a "Text" or with an empty one.
  std::optional<TTextKeys> Caption;
};

// currentMinWidth: the minimum width the button holds now (its skin's until the project
// gives one), kept when the section has none.
TButtonKeys ReadButtonKeys(const TIniIdentList& section, double currentMinWidth);

}  // namespace kiv
