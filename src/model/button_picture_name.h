#pragma once
// The virtual picture name a button asks the slide host for: everything the button
// picture provider needs to compose the picture without knowing the button.
#include <optional>
#include <string>
#include <string_view>

#include "model/button_picture.h"

namespace kiv {

struct TButtonPictureRequest {
  std::u16string Skin;  // the skin's folder prefix and theme: the skin file is Skin + "\btn.ini"
  TButtonState State = TButtonState::Normal;
  TPixelSize Size;
  bool operator==(const TButtonPictureRequest&) const = default;
};

// "Button: " + width + ":" + height + ":" + state (0 normal, 1 hover, 2 click) + ":" +
// skin; the skin comes last, so it may hold ":".
std::u16string ButtonPictureName(const TButtonPictureRequest& request);

// The request of a name made by ButtonPictureName; none for any other text, or for a
// size that is not positive or a state out of range.
std::optional<TButtonPictureRequest> ParseButtonPictureName(std::u16string_view name);

}  // namespace kiv
