#include "model/kiv_mask.h"

#include "model/kiv_viewport.h"
#include "model/mask_keys.h"

namespace kiv {

void TKivMask::ReadProperties(const TIniIdentList& section) {
  SetImageKeys(ReadMaskKeys(section));
  TKivObject::ReadProperties(section);
}

float TKivMask::EffectiveOpacity() const {
  const float own = TKivImage::EffectiveOpacity();
  if (const auto* viewport = dynamic_cast<const TKivViewPort*>(Parent())) return own * viewport->EffectiveOpacity() / 100;
  return own;
}

std::u16string TKivMask::PictureName() const { return MaskPictureName(ImageKeys()); }

}  // namespace kiv
