#pragma once
// The texts a show displays, stored with it: each text object's lines as its slide shows
// them (macros replaced) and each button caption, laid out from the fonts installed on
// the packing machine, with the outlines of every glyph they use, so that the show draws
// them the same on a machine that lacks the fonts.
#include <cstdint>
#include <string>
#include <vector>

#include "container/container_format.h"

namespace kiv {

class TKivSource;
class TKivPack;

struct TShowText {
  std::u16string FontName;
  uint8_t Style = 0;
  std::vector<std::u16string> Lines;
};

// Every text of every slide of source, in slide and tree order, each once.
std::vector<TShowText> ShowTexts(TKivSource& source);

struct TStoredTexts {
  int Texts = 0;  // "VectTxt2: " entries added
  int Fonts = 0;  // "VectTextCache: " entries added
};

// Adds the stored form of each text and the glyph caches of their fonts to pack. A text
// whose name differs only in case from one already stored is left to the installed fonts.
TStoredTexts StoreShowTexts(TKivPack& pack, const std::vector<TShowText>& texts, TPackMode mode);

}  // namespace kiv
