#include "model/mask_keys.h"

namespace kiv {

TImageKeys ReadMaskKeys(const TIniIdentList& section) {
  TImageKeys keys = ReadImageKeys(section, u"mask");
  keys.Antialiased = false;
  keys.Anim = {};
  return keys;
}

std::u16string MaskPictureName(const TImageKeys& keys) { return u"Mask: " + keys.ImageName; }

}  // namespace kiv
