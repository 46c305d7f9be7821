#include "model/shadow_picture_name.h"

#include <cmath>
#include <vector>

#include "base/text.h"
#include "graphics/bitmap.h"
#include "ini/ini_values.h"

namespace kiv {

namespace {

constexpr std::u16string_view kPrefix = u"Shadow: ";
constexpr int32_t kFormat = 1;
constexpr int kNumberFields = 17;
constexpr int64_t kMaxArea = 700000;
constexpr int32_t kMaxSide = 10000;

int32_t BorderFor(double radius) { return int32_t(std::ceil(2.5 * radius)); }

bool TooLarge(int64_t width, int64_t height) {
  return width * height > kMaxArea || width > kMaxSide || height > kMaxSide;
}

bool IsByte(int32_t value) { return value >= 0 && value <= 255; }

bool InRange(const TShadowPictureKey& key) {
  return AllowedPictureSize(key.Width, key.Height) && key.Level >= 0 && key.Level < 31 && key.RadiusMilli >= 1 &&
         key.RadiusMilli <= 1000 * kMaxPictureSide && std::abs(key.SpreadIndex) <= kMaxSpreadIndex &&
         key.CellLeft >= 0 && key.CellTop >= 0 && key.CellWidth >= 0 && key.CellHeight >= 0 && !key.Caster.empty();
}

}  // namespace

TShadowLayout ShadowLayout(const TShadowPictureKey& key) {
  TShadowLayout layout;
  double width = key.Width, height = key.Height, radius = key.RadiusMilli / 1000.0;
  while (TooLarge(int64_t(std::ceil(width)) + 2 * BorderFor(radius), int64_t(std::ceil(height)) + 2 * BorderFor(radius))) {
    width /= 2, height /= 2, radius /= 2;
    ++layout.Halvings;
  }
  layout.Width = std::max(1, int32_t(std::ceil(width)));
  layout.Height = std::max(1, int32_t(std::ceil(height)));
  layout.Radius = radius;
  layout.Border = BorderFor(radius);
  return layout;
}

std::u16string ShadowPictureName(const TShadowPictureKey& key) {
  const TShadowLayout layout = ShadowLayout(key);
  const int64_t fields[kNumberFields] = {kFormat,        key.Width,       key.Height,     key.Level,
                                          key.RadiusMilli, layout.Border,  key.Red,        key.Green,
                                          key.Blue,        key.Alpha,       key.SpreadIndex, key.CellLeft,
                                          key.CellTop,     key.CellWidth,   key.CellHeight, key.CasterAlpha,
                                          layout.Halvings};
  std::u16string name(kPrefix);
  for (int64_t field : fields) name += IntToText(field) + u":";
  return name + key.Caster;
}

std::optional<TShadowPictureKey> ParseShadowPictureName(std::u16string_view name) {
  if (!name.starts_with(kPrefix)) return std::nullopt;
  std::u16string_view rest = name.substr(kPrefix.size());
  std::vector<int32_t> f;
  for (int i = 0; i < kNumberFields; ++i) {
    const size_t colon = rest.find(u':');
    int32_t value = 0;
    if (colon == std::u16string_view::npos || !ParseIniInteger(rest.substr(0, colon), value)) return std::nullopt;
    f.push_back(value);
    rest.remove_prefix(colon + 1);
  }
  if (f[0] != kFormat || !IsByte(f[6]) || !IsByte(f[7]) || !IsByte(f[8]) || !IsByte(f[9]) || !IsByte(f[15]))
    return std::nullopt;
  TShadowPictureKey key{f[1],          f[2],          f[3],  f[4],  uint8_t(f[6]), uint8_t(f[7]), uint8_t(f[8]),
                        uint8_t(f[9]), f[10],         f[11], f[12], f[13],         f[14],         uint8_t(f[15]),
                        std::u16string(rest)};
  // Writing the key again must give the very same text: this refuses other spellings of
  // the numbers and wrong check fields alike.
  if (!InRange(key) || ShadowPictureName(key) != name) return std::nullopt;
  return key;
}

}  // namespace kiv
