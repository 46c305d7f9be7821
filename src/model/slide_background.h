#pragma once
// What lies behind a slide's objects: a solid colour, a picture or a gradient. It comes
// from the "opt_"-prefixed keys of "main", or from the slide's own keys (without the
// prefix) when the slide has "UsePersonal" = 1 and "Pers_Fon" = 1.
#include <cstdint>
#include <string>

#include "ini/ini_ident_list.h"
#include "model/object_placement.h"
#include "render/drawer/device_drawer.h"

namespace kiv {

enum class TBackgroundStyle : uint8_t { Solid = 1, Picture = 2, Gradient = 3 };

// Colours are the integers the project writes.
struct TSlideBackground {
  TBackgroundStyle Style = TBackgroundStyle::Solid;
  uint32_t Color = 0;  // solid: black unless told
  std::u16string PictureName;
  double SizePercent = 100;   // picture: of the slide, on its limiting side
  int GradientDirection = 1;  // 1 or 2
  uint32_t Color1 = 0;
  uint32_t Color2 = 0;
  bool operator==(const TSlideBackground&) const = default;
};

// "bstyle", "bname", "bsize", "bcolorstyle", "bcolor1", "bcolor2". A style other than
// 1 … 3, or a picture without name, keeps solid black; a size that is not positive is 100.
TSlideBackground ReadSlideBackground(const TIniIdentList& main, const TIniIdentList* slide);

// The box behind everything: the solid colour (black behind a picture), or the
// gradient from colour 1 to colour 2 downwards (direction 1) or to the right (2).
// The project writes colours as integers 0xRRGGBB; the background is opaque.
TBoxParams BackgroundBox(const TSlideBackground& background);

// A background picture fitted inside the slide at its size percent, and how often its
// bitmap can be halved (at most to mip level 3) while it stays at least twice that big,
// which saves memory without losing detail.
struct TBackgroundFit {
  TSizeF Size;
  int Halvings = 0;
};
TBackgroundFit FitBackground(TSizeF picture, TSizeF slide, double sizePercent);

}  // namespace kiv
