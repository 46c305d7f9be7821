#pragma once
// A mask ("mask"): a shape picture ("Mask: " + "ImageName") that a viewport clips its
// other children by. It is never drawn as a picture of its own, never smoothed and
// never animated.
#include "model/kiv_image.h"

namespace kiv {

class TKivMask : public TKivImage {
 public:
  using TKivImage::TKivImage;

  // The picture keys with smoothing and animation off, then the common keys.
  void ReadProperties(const TIniIdentList& section) override;
  // Its own opacity, times its parent's / 100 when the parent is a viewport.
  float EffectiveOpacity() const override;
  // Only the children: the shape itself shows through the viewport that holds it.
  void Draw(TDeviceDrawer& drawer) override { TKivObject::Draw(drawer); }

 protected:
  std::u16string PictureName() const override;
};

}  // namespace kiv
