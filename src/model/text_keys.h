#pragma once
// The keys a text object reads: its own first, then the picture keys, whose smoothing a
// text never uses (its picture is rendered at the size it is shown).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/text_params.h"
#include "ini/ini_ident_list.h"
#include "model/image_keys.h"

namespace kiv {

// Alignment of the lines; "Left", "Center" or "Right" in any case.
enum class TTextAlign : uint8_t { Left = 0, Center = 1, Right = 2 };

struct TTextKeys {
  bool Caption = false;  // kind word "textcomment": the slide's caption
  std::vector<std::u16string> Lines{u"Text"};
  bool Empty = false;  // "Text" is given with an empty value
  uint32_t TextColor = MakeColor(255, 255, 255);
  uint32_t TextColorHover = MakeColor(255, 255, 255);  // the text colour unless given
  uint32_t TextColorClick = MakeColor(255, 255, 255);  // the text colour unless given
  std::u16string FontName = u"Arial";
  uint8_t FontStyle = 0;
  TTextAlign Align = TTextAlign::Center;
  int32_t LineSpacing = 0;
  bool Rasterize = false;
  std::u16string RasterizedGUID;
  TIniPoint BlackBoxSize;  // the text's box in pixels: the object's own size
  double ShiftX = 0;
  double ShiftY = 0;
  TImageKeys Image;
};

// kindWord: the kind in the object's header ("text" or "textcomment", any case).
TTextKeys ReadTextKeys(const TIniIdentList& section, std::u16string_view kindWord);

// A "Text" value as lines: one pair of surrounding quotes is dropped (from a value
// longer than one character), an empty result becomes one blank, "^&" ends a line, and
// "^" with any other character stays as written.
std::vector<std::u16string> DecodeTextLines(std::u16string_view value);

}  // namespace kiv
