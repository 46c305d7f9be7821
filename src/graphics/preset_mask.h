#pragma once
// Mask shapes made from a name instead of read from a file: "PresetedMask: " then
// width:height:kind:softness:radius. The picture is grey (all three channels equal),
// 255 inside the shape, falling to 0 across a soft band at its edge.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "graphics/bitmap.h"

namespace kiv {

inline constexpr std::u16string_view kPresetMaskPrefix = u"PresetedMask: ";

enum class TPresetMaskKind : int32_t {
  RoundedRectangle = 0,  // corners rounded by Radius
  Ellipse = 1,           // touching the four sides of the picture
};

// The fields as written; checking them is left to MakePresetMask, as a name that
// parses may still ask for a picture that cannot be made.
struct TPresetMaskRequest {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Kind = 0;      // a TPresetMaskKind
  int32_t Softness = 0;  // width of the soft band, % of half the smaller side
  int32_t Radius = 0;    // corner radius of the rectangle, % of the smaller side
  bool operator==(const TPresetMaskRequest&) const = default;
};

// The request of a "PresetedMask: " name with exactly five ":"-separated fields; none
// for another name. Each field is a decimal integer with optional sign and blanks
// around it; a field that does not read so (empty, other characters, beyond 32 bits)
// counts as 0, as show files carry such names typed by hand.
std::optional<TPresetMaskRequest> ParsePresetMaskName(std::u16string_view name);

// The mask of request in Bgr24. Softness and Radius are brought into 0 … 100 (a radius
// beyond 50 % rounds no further than a half circle). None when the kind is unknown, the
// size is not an allowed picture size, or cancel (asked before each row; may be empty)
// says to stop.
std::unique_ptr<TBitmap> MakePresetMask(const TPresetMaskRequest& request, const std::function<bool()>& cancel);

}  // namespace kiv
