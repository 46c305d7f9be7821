#pragma once
// The virtual picture name a button asks the slide host for: everything the button
// picture provider needs to compose the picture without knowing the button.
#include <optional>
#include <string>
#include <string_view>

#include "graphics/hsl_adjust.h"
#include "model/button_picture.h"

namespace kiv {

struct TButtonPictureRequest {
  std::u16string Skin;  // the skin's folder prefix and theme: the skin file is Skin + "\btn.ini"
  TButtonState State = TButtonState::Normal;
  TPixelSize Size;
  THslShift Colours;  // how the skin is recoloured
  bool operator==(const TButtonPictureRequest&) const = default;
};

// "Button: " + width + ":" + height + ":" + state (0 normal, 1 hover, 2 click) + ":" +
// hue + ":" + saturation + ":" + lightness + ":" + skin; the skin comes last, so it may
// hold ":".
std::u16string ButtonPictureName(const TButtonPictureRequest& request);

// The request of a name made by ButtonPictureName; none for any other text, or for a
// size that is not positive or a state out of range. Colour values out of their ranges
// are brought into them.
std::optional<TButtonPictureRequest> ParseButtonPictureName(std::u16string_view name);

}  // namespace kiv
