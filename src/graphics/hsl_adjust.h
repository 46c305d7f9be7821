#pragma once
// Hue, saturation and lightness adjustment of a picture, as a skin is recoloured.
#include <cstdint>

#include "graphics/bitmap.h"

namespace kiv {

struct THslShift {
  int32_t Hue = 0;         // degrees the colours turn round the colour wheel, -180 … 180
  int32_t Saturation = 0;  // % more (up to 100) or less (down to -100: grey) colour
  int32_t Lightness = 0;   // % of the way towards white (up to 100) or black (down to -100)
  bool IsNone() const { return Hue == 0 && Saturation == 0 && Lightness == 0; }
  bool operator==(const THslShift&) const = default;
};

// The shift with each value brought into its range.
THslShift ClampedHslShift(const THslShift& shift);

// Adjusts every pixel of a Bgr24 or Bgra32 picture (alpha is kept); other formats stay
// as they are.
void AdjustHsl(TBitmap& picture, const THslShift& shift);

}  // namespace kiv
