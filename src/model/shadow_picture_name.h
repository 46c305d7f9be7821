#pragma once
// The name under which a drop shadow is asked of the slide host: "Shadow: " and 18
// whole numbers and texts separated by ":", all that the shadow generator needs, so that
// equal shadows share one picture and a changed shadow gets a new one.
//
// The fields in order: format (1), width, height (the caster in pixels of the picture
// level in use), that level, blur radius in thousandths of a pixel, border (ceil(2.5 ×
// radius), a check), red, green, blue, alpha (0 … 255), spread index (-4 … 4), the
// caster's cell left, top, width, height (pixels of its full-size picture; all 0: the
// whole picture), the caster's own alpha (0 … 255), the halvings the generator applies
// (a check), and last the caster's picture name ("N\A" for a plain box shape), which
// may itself contain ":".
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kiv {

inline constexpr std::u16string_view kBoxShadowCaster = u"N\\A";
inline constexpr int32_t kMaxSpreadIndex = 4;

struct TShadowPictureKey {
  int32_t Width = 1;
  int32_t Height = 1;
  int32_t Level = 0;
  int32_t RadiusMilli = 1000;  // blur radius in 1/1000 pixel
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
  uint8_t Alpha = 150;
  int32_t SpreadIndex = 0;
  int32_t CellLeft = 0;
  int32_t CellTop = 0;
  int32_t CellWidth = 0;  // 0: the whole caster picture
  int32_t CellHeight = 0;
  uint8_t CasterAlpha = 255;
  std::u16string Caster{kBoxShadowCaster};
  bool operator==(const TShadowPictureKey&) const = default;
};

// How the generator lays the shadow out: large shadows are made at half size
// (repeatedly) and drawn scaled back up.
struct TShadowLayout {
  int32_t Halvings = 0;
  int32_t Width = 1;   // the caster's area in the shadow picture
  int32_t Height = 1;
  double Radius = 1;   // blur radius at that size
  int32_t Border = 3;  // pixels on each side of the caster's area
};

// The layout for key; the whole picture stays within 700000 pixels and 10000 a side.
TShadowLayout ShadowLayout(const TShadowPictureKey& key);

std::u16string ShadowPictureName(const TShadowPictureKey& key);
// The key of a name ShadowPictureName writes; none for any other text, including names
// whose check fields or ranges are wrong.
std::optional<TShadowPictureKey> ParseShadowPictureName(std::u16string_view name);

}  // namespace kiv
