#include "model/button_picture_name.h"

#include "base/text.h"
#include "ini/ini_values.h"

namespace kiv {

namespace {

constexpr std::u16string_view kPrefix = u"Button: ";

// The number before the next ":" of rest, which moves past it.
std::optional<int32_t> TakeNumber(std::u16string_view& rest) {
  const size_t colon = rest.find(u':');
  if (colon == std::u16string_view::npos) return std::nullopt;
  int32_t value = 0;
  if (!ParseIniInteger(rest.substr(0, colon), value)) return std::nullopt;
  rest.remove_prefix(colon + 1);
  return value;
}

}  // namespace

std::u16string ButtonPictureName(const TButtonPictureRequest& request) {
  return std::u16string(kPrefix) + IntToText(request.Size.Width) + u":" + IntToText(request.Size.Height) + u":" +
         IntToText(int(request.State)) + u":" + IntToText(request.Colours.Hue) + u":" +
         IntToText(request.Colours.Saturation) + u":" + IntToText(request.Colours.Lightness) + u":" + request.Skin;
}

std::optional<TButtonPictureRequest> ParseButtonPictureName(std::u16string_view name) {
  if (!name.starts_with(kPrefix)) return std::nullopt;
  std::u16string_view rest = name.substr(kPrefix.size());
  const std::optional<int32_t> width = TakeNumber(rest);
  const std::optional<int32_t> height = width ? TakeNumber(rest) : std::nullopt;
  const std::optional<int32_t> state = height ? TakeNumber(rest) : std::nullopt;
  const std::optional<int32_t> hue = state ? TakeNumber(rest) : std::nullopt;
  const std::optional<int32_t> saturation = hue ? TakeNumber(rest) : std::nullopt;
  const std::optional<int32_t> lightness = saturation ? TakeNumber(rest) : std::nullopt;
  if (!lightness || *width <= 0 || *height <= 0 || *state < 0 || *state > int(TButtonState::Click))
    return std::nullopt;
  return TButtonPictureRequest{std::u16string(rest), TButtonState(*state), {*width, *height},
                               ClampedHslShift({*hue, *saturation, *lightness})};
}

}  // namespace kiv
