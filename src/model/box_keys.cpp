#include "model/box_keys.h"

#include <algorithm>
#include <array>

namespace kiv {

namespace {

constexpr std::array<std::u16string_view, 5> kFillNames{u"Solid", u"HGradient", u"VGradient", u"TLBRGradient",
                                                        u"TRBLGradient"};
// The drawer's kind for each fill, in TBoxFill order.
constexpr std::array<uint8_t, 5> kDrawerKinds{8, 6, 5, 0, 1};

uint8_t ReadAlpha(const TIniIdentList& section, std::u16string_view name) {
  return uint8_t(std::clamp(section.ReadInteger(name, 255), 0, 255));
}

uint32_t WithAlpha(uint32_t color, uint8_t alpha) { return (color & 0x00FFFFFF) | uint32_t(alpha) << 24; }

}  // namespace

TBoxKeys ReadBoxKeys(const TIniIdentList& section) {
  TBoxKeys keys;
  keys.Size = section.ReadPoint(u"Size", keys.Size);
  keys.Fill = TBoxFill(section.ReadEnumExact(u"FillMode", kFillNames, int(keys.Fill)));
  keys.Color1 = section.ReadColor(u"Color1", keys.Color1);
  keys.Color2 = section.ReadColor(u"Color2", keys.Color2);
  keys.Alpha1 = ReadAlpha(section, u"Alpha1");
  keys.Alpha2 = ReadAlpha(section, u"Alpha2");
  keys.Antialiased = section.ReadBool(u"Antialiased", keys.Antialiased);
  return keys;
}

TBoxPaint BoxPaint(const TBoxKeys& keys) {
  const uint32_t color1 = WithAlpha(keys.Color1, keys.Alpha1);
  const uint32_t color2 = keys.Fill == TBoxFill::Solid ? color1 : WithAlpha(keys.Color2, keys.Alpha2);
  return {kDrawerKinds[size_t(keys.Fill)], color1, color2};
}

}  // namespace kiv
