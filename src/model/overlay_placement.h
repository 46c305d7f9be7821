#pragma once
// Where the logo and the navigation panel go on the layer above the slides: one of nine
// positions (corners, edges and the centre), moved inward by an offset.
#include <cstdint>
#include <string_view>

#include "base/rect.h"

namespace kiv {

// Anchor and alignment, each in -100 … 100: the anchor is the point of the layer (its
// left or top edge at -100, its right or bottom edge at 100), the alignment the point of
// the item laid on it.
struct TOverlayPlacement {
  int32_t AnchorX = 0;
  int32_t AnchorY = 0;
  int32_t AlignX = 0;
  int32_t AlignY = 0;
  bool operator==(const TOverlayPlacement&) const = default;

  // The placement of position index (0 "Left-Top" … 8 "Center", clockwise from the top
  // left corner) with the item offset percent of the half size inward.
  static TOverlayPlacement At(int32_t index, int32_t offset);
  // An item of size placed in within.
  TRect Place(TPixelSize size, const TRect& within) const;
};

inline constexpr int32_t kCentrePosition = 8;

// The position index of a panel position name ("Left-Top" … "Center", case ignored);
// the centre for names not known.
int32_t PanelPositionIndex(std::u16string_view name);
// The position index of a logo position code.
int32_t LogoPositionIndex(int32_t code);

}  // namespace kiv
