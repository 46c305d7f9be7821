#pragma once
// A mask is a picture made from the shape named by "ImageName"; it is never smoothed
// nor animated.
#include <string>

#include "ini/ini_ident_list.h"
#include "model/image_keys.h"

namespace kiv {

// The picture keys with smoothing off and the animation keys at their defaults.
TImageKeys ReadMaskKeys(const TIniIdentList& section);

// The name the mask picture is asked for: "Mask: " + "ImageName".
std::u16string MaskPictureName(const TImageKeys& keys);

}  // namespace kiv
