#include "graphics/hsl_adjust.h"

#include <algorithm>
#include <cmath>

namespace kiv {

namespace {

struct THsl {
  double H;  // 0 … 6: the sixth of the colour wheel
  double S;  // 0 … 1
  double L;  // 0 … 1
};

THsl ToHsl(double r, double g, double b) {
  const double high = std::max({r, g, b});
  const double low = std::min({r, g, b});
  const double lightness = (high + low) / 2;
  const double chroma = high - low;
  if (chroma <= 0) return {0, 0, lightness};
  const double saturation = chroma / (1 - std::abs(2 * lightness - 1));
  double hue;
  if (high == r)
    hue = std::fmod((g - b) / chroma + 6, 6);
  else if (high == g)
    hue = (b - r) / chroma + 2;
  else
    hue = (r - g) / chroma + 4;
  return {hue, std::min(saturation, 1.0), lightness};
}

// The red (n = 0), green (n = 8) or blue (n = 4) channel of a colour.
double Channel(const THsl& c, double n) {
  const double k = std::fmod(n + 2 * c.H, 12);
  const double a = c.S * std::min(c.L, 1 - c.L);
  return c.L - a * std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
}

uint8_t ToByte(double value) { return uint8_t(std::lround(std::clamp(value, 0.0, 1.0) * 255)); }

// value moved by percent of the way to 1 (percent > 0) or to 0 (percent < 0).
double Towards(double value, int32_t percent) {
  return percent >= 0 ? value + (1 - value) * percent / 100.0 : value * (1 + percent / 100.0);
}

}  // namespace

THslShift ClampedHslShift(const THslShift& shift) {
  return {std::clamp(shift.Hue, -180, 180), std::clamp(shift.Saturation, -100, 100),
          std::clamp(shift.Lightness, -100, 100)};
}

void AdjustHsl(TBitmap& picture, const THslShift& wanted) {
  const int size = picture.Format() == TPixelFormat::Bgra32 ? 4 : picture.Format() == TPixelFormat::Bgr24 ? 3 : 0;
  const THslShift shift = ClampedHslShift(wanted);
  if (size == 0 || shift.IsNone()) return;
  const double turn = shift.Hue / 60.0;
  const double saturationScale = 1 + shift.Saturation / 100.0;
  for (int y = 0; y < picture.Height(); ++y) {
    uint8_t* pixel = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x, pixel += size) {
      THsl c = ToHsl(pixel[2] / 255.0, pixel[1] / 255.0, pixel[0] / 255.0);
      c.H = std::fmod(c.H + turn + 6, 6);
      // Greys stay grey: saturation scales what colour there is.
      c.S = std::clamp(c.S * saturationScale, 0.0, 1.0);
      c.L = Towards(c.L, shift.Lightness);
      pixel[2] = ToByte(Channel(c, 0));
      pixel[1] = ToByte(Channel(c, 8));
      pixel[0] = ToByte(Channel(c, 4));
    }
  }
}

}  // namespace kiv
