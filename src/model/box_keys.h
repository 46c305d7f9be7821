#pragma once
// The keys of a filled rectangle. A frame reads the same keys and is drawn the same way.
#include <cstdint>

#include "ini/ini_ident_list.h"

namespace kiv {

// "FillMode", matched exactly: "Solid", "HGradient", "VGradient", "TLBRGradient",
// "TRBLGradient". Gradients run from colour 1 to colour 2 horizontally, vertically,
// top-left to bottom-right and top-right to bottom-left.
enum class TBoxFill : uint8_t { Solid = 0, HGradient = 1, VGradient = 2, TLBRGradient = 3, TRBLGradient = 4 };

struct TBoxKeys {
  TIniPoint Size;  // width and height: the object's own size
  TBoxFill Fill = TBoxFill::Solid;
  uint32_t Color1 = MakeColor(0, 0, 0);
  uint32_t Color2 = MakeColor(0, 0, 0);
  uint8_t Alpha1 = 255;
  uint8_t Alpha2 = 255;
  bool Antialiased = false;  // soften all four edges
};

TBoxKeys ReadBoxKeys(const TIniIdentList& section);

// What the drawer's box operation takes: its fill kind and the two colours with their
// alphas. A solid box is one colour.
struct TBoxPaint {
  uint8_t DrawerKind = 0;
  uint32_t Color1 = 0;
  uint32_t Color2 = 0;
  bool operator==(const TBoxPaint&) const = default;
};

TBoxPaint BoxPaint(const TBoxKeys& keys);

}  // namespace kiv
